"""Made-up sites in the shapes users bring from the web, for scoring marker
suggestions; the same bytes for the same seed.

Five kinds, each a folder of pages from one template beside a few listing
pages of another (tag, section or category pages: no main content):
- blog: posts with comments, HTML5 landmarks (header, nav, main, article,
  aside, footer); the main content is the post's <article>: its title,
  byline and text. Comments, share links and the sidebar are not content.
- news: stories on a template of plain divs without landmarks, with share
  bars above and below the story (their counts differ per page), a
  related-articles list and a most-read box; the main content is the
  story's div: headline, standfirst, byline and text.
- forum: threads of posts by several users, with ARIA roles but no HTML5
  landmarks; the main content is the thread: its title and every post
  with the poster's card. Breadcrumbs, pagination, the reply form and the
  similar-threads box are not content.
- shop: product pages with a specs table and reviews, a <main> landmark
  around both the product and an also-bought strip; the main content is
  the product's div: name, price, description, specs and reviews.
- manual: a product manual's pages with a language switcher above each
  article, whose link to the page itself now and then carries one more
  attribute; plain divs, no landmarks; the main content is the article:
  its title heading and its sections.

Widgets vary per page: a sidebar box on some pages and not on others, ads
in different places, a cookie notice, numbers of comments, posts and
reviews from none to many, per-page ids and dates in attributes. write_site
gives each page's main content, so the truth is known, not guessed.

Used by suggest_bench.py; `python3 suggest_web_sites.py KIND FOLDER` writes
one site to look at.
"""
import datetime
import os
import random
import sys

from suggest_sites import AUTHORS, ENGLISH, paragraph, sentence, title_of

USERS = ["kestrel42", "ana.ruiz", "tberg", "lenao", "sami_h", "meilin", "quietfox",
         "harbourmaster", "ferryfan", "old_tom"]


def human_date(day):
    return day.strftime("%B %d, %Y").replace(" 0", " ")


def body_blocks(rng, low, high):
    """Paragraphs with the odd heading, list, quote or figure."""
    blocks = []
    for n in range(rng.randint(low, high)):
        kind = rng.random()
        if kind < 0.6 or n == 0:
            blocks.append("<p>%s</p>" % paragraph(rng, ENGLISH))
        elif kind < 0.72:
            blocks.append("<h2>%s</h2>" % title_of(rng, ENGLISH))
        elif kind < 0.82:
            blocks.append("<ul>%s</ul>" % "".join(
                "<li>%s</li>" % sentence(rng, ENGLISH, 3, 8) for _ in range(rng.randint(2, 5))))
        elif kind < 0.9:
            blocks.append("<blockquote><p>%s</p></blockquote>" % sentence(rng, ENGLISH))
        else:
            blocks.append('<figure><img src="/img/%d.jpg" alt=""><figcaption>%s</figcaption>'
                          "</figure>" % (rng.randint(1, 9999), sentence(rng, ENGLISH, 4, 9)))
    return "\n".join(blocks)


def ad(rng, where):
    return ('<div class="ad ad-%s" data-slot="%d"><span class="ad-label">Advertisement</span>'
            '<a href="https://ads.example.com/c?%d"><img src="/ads/%d.png" alt="%s"></a></div>\n'
            % (where, rng.randint(1000, 9999), rng.randint(10 ** 6, 10 ** 7),
               rng.randint(1, 40), title_of(rng, ENGLISH)))


def cookie_notice():
    return ('<div class="cookie-notice" role="dialog"><p>We use cookies to remember your '
            'settings.</p><button>Accept</button></div>\n')


def head(title, site, extra_class):
    return ('<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            '<meta name="viewport" content="width=device-width, initial-scale=1">\n'
            "<title>%s | %s</title>\n<link rel=\"stylesheet\" href=\"/assets/site.css\">\n"
            "<script>window.dataLayer = window.dataLayer || [];</script>\n</head>\n"
            '<body class="%s">\n' % (title, site, extra_class))


# ------------------------------------------------------------------------ blog

def blog_page(rng, n, titles, day):
    title = titles[n]
    tags = sorted(set(rng.choice(ENGLISH[:60]) for _ in range(rng.randint(1, 4))))
    article = ('<h1 class="post-title">%s</h1>\n<p class="post-meta">By <a href="/authors/%d">'
               '%s</a> on <time datetime="%s">%s</time></p>\n<div class="post-body">\n%s\n</div>\n'
               % (title, rng.randint(1, 9), rng.choice(AUTHORS), day.isoformat(),
                  human_date(day), body_blocks(rng, 3, 14)))
    parts = [head(title, "Tidewater Notes", "single post-%d" % (3000 + n))]
    if rng.random() < 0.25:
        parts.append(cookie_notice())
    parts.append('<header class="site-header"><a class="brand" href="/">Tidewater Notes</a>\n'
                 '<nav aria-label="Main"><ul><li><a href="/">Home</a></li><li><a href="/archive/">'
                 'Archive</a></li><li><a href="/about/">About</a></li></ul></nav></header>\n')
    parts.append('<div class="layout">\n<main id="main">\n<article id="post-%d" class="post">\n'
                 % (3000 + n))
    parts.append(article)
    parts.append("</article>\n")
    parts.append('<footer class="post-footer"><p>Tags: %s</p>\n<div class="share">Share: '
                 '<a href="/share?to=mastodon&amp;p=%d">Mastodon</a> <a href="/share?to=mail&amp;'
                 'p=%d">Email</a></div></footer>\n' % (
                     ", ".join('<a href="/tag/%s">%s</a>' % (t, t) for t in tags),
                     3000 + n, 3000 + n))
    if rng.random() < 0.4:
        parts.append(ad(rng, "inline"))
    count = rng.choice([0, 0, 1, 2, 3, 4, 7, 12])
    comments = "".join(
        '<li class="comment" id="comment-%d"><p class="comment-author">%s said on %s:</p>'
        "<p>%s</p></li>\n" % (rng.randint(10 ** 4, 10 ** 5), rng.choice(USERS),
                              human_date(day + datetime.timedelta(days=c + 1)),
                              sentence(rng, ENGLISH, 4, 20)) for c in range(count))
    parts.append('<section class="comments" id="comments"><h2>%d comments</h2>\n%s'
                 '<form class="comment-form"><label>Leave a reply</label><textarea></textarea>'
                 "<button>Post comment</button></form></section>\n" % (
                     count, "<ol>\n%s</ol>\n" % comments if comments else
                     "<p>Be the first to comment.</p>\n"))
    parts.append("</main>\n")
    if rng.random() < 0.6:
        recent = rng.sample(range(len(titles)), 5)
        parts.append('<aside class="sidebar"><h2>Recent posts</h2><ul>%s</ul>%s</aside>\n' % (
            "".join('<li><a href="/post/%d">%s</a></li>' % (r, titles[r]) for r in recent),
            ad(rng, "sidebar") if rng.random() < 0.5 else ""))
    parts.append('</div>\n<footer class="site-footer"><p>&copy; 2025 Tidewater Notes. '
                 'Powered by a static generator.</p></footer>\n</body>\n</html>\n')
    return "".join(parts), article


def blog_listing(rng, n, titles):
    picked = rng.sample(range(len(titles)), 8)
    return (head("Archive", "Tidewater Notes", "archive") +
            '<header class="site-header"><a class="brand" href="/">Tidewater Notes</a></header>\n'
            '<main id="main"><h1>Posts tagged %s</h1><ul class="post-list">%s</ul></main>\n'
            '<footer class="site-footer"><p>&copy; 2025 Tidewater Notes.</p></footer>\n'
            "</body>\n</html>\n" % (rng.choice(ENGLISH[:60]), "".join(
                '<li><a href="/post/%d">%s</a></li>' % (p, titles[p]) for p in picked)))


# ------------------------------------------------------------------------ news

def share_bar(rng, where):
    return ('<div class="share-bar share-%s"><span class="share-count">%d shares</span>'
            '<a class="share-fb" href="#">Facebook</a><a class="share-x" href="#">X</a>'
            '<a class="share-mail" href="#">Email</a></div>\n' % (where, rng.randint(0, 5000)))


def news_page(rng, n, titles, day):
    title = titles[n]
    section = rng.choice(["Local", "Business", "Sport", "Culture", "Weather"])
    story = ('<h1 class="headline">%s</h1>\n<p class="standfirst">%s</p>\n'
             '<p class="byline">%s, %s correspondent &middot; %s</p>\n'
             '<div class="story-text">\n%s\n</div>\n' % (
                 title, sentence(rng, ENGLISH, 10, 22), rng.choice(AUTHORS), section,
                 human_date(day), body_blocks(rng, 4, 16)))
    parts = [head(title, "The Coastal Courier", "article-page")]
    parts.append('<div id="top-bar"><div class="logo"><a href="/">The Coastal Courier</a></div>\n'
                 '<div class="menu">%s</div></div>\n' % "".join(
                     '<a href="/%s/">%s</a>' % (s.lower(), s)
                     for s in ["Local", "Business", "Sport", "Culture", "Weather", "Opinion"]))
    if rng.random() < 0.5:
        parts.append(ad(rng, "leaderboard"))
    parts.append('<div id="wrapper">\n<div class="col-main">\n<div class="breadcrumb">'
                 '<a href="/">Home</a> &rsaquo; <a href="/%s/">%s</a></div>\n' % (
                     section.lower(), section))
    parts.append(share_bar(rng, "top"))
    parts.append('<div class="story" id="story-%d" data-published="%s">\n' % (
        50000 + n * 13, day.isoformat()))
    parts.append(story)
    parts.append("</div>\n")
    parts.append(share_bar(rng, "bottom"))
    related = rng.sample(range(len(titles)), rng.randint(3, 6))
    parts.append('<div class="related"><h3>Related stories</h3><ul>%s</ul></div>\n' % "".join(
        '<li><a href="/story/%d">%s</a> <span class="when">%d hours ago</span></li>' % (
            r, titles[r], rng.randint(1, 48)) for r in related))
    parts.append("</div>\n")
    if rng.random() < 0.7:
        most_read = rng.sample(range(len(titles)), 5)
        parts.append('<div class="col-side"><div class="box most-read"><h3>Most read</h3><ol>'
                     "%s</ol></div>%s</div>\n" % ("".join(
                         '<li><a href="/story/%d">%s</a></li>' % (r, titles[r])
                         for r in most_read), ad(rng, "side") if rng.random() < 0.5 else ""))
    parts.append('</div>\n<div id="bottom"><p>The Coastal Courier &middot; 1 Quay Street '
                 "&middot; Contact the newsroom</p></div>\n"
                 '<script src="/assets/analytics.js"></script>\n</body>\n</html>\n')
    return "".join(parts), story


def news_listing(rng, n, titles):
    picked = rng.sample(range(len(titles)), 10)
    return (head("Local", "The Coastal Courier", "section-page") +
            '<div id="top-bar"><div class="logo"><a href="/">The Coastal Courier</a></div></div>\n'
            '<div id="wrapper"><h2 class="section-title">Latest</h2><div class="teasers">%s</div>'
            '</div>\n<div id="bottom"><p>The Coastal Courier</p></div>\n</body>\n</html>\n' % "".join(
                '<div class="teaser"><a href="/story/%d">%s</a><p>%s</p></div>' % (
                    p, titles[p], sentence(rng, ENGLISH, 8, 14)) for p in picked))


# ----------------------------------------------------------------------- forum

def forum_page(rng, n, titles, day):
    title = titles[n]
    count = rng.choice([1, 2, 3, 4, 6, 9, 15])
    posters = [rng.choice(USERS) for _ in range(count)]
    posts = []
    for p in range(count):
        when = day + datetime.timedelta(hours=7 * p + rng.randint(0, 6))
        quote = ""
        if p > 0 and rng.random() < 0.3:
            quote = '<blockquote class="quote"><cite>%s wrote:</cite> %s</blockquote>' % (
                posters[p - 1], sentence(rng, ENGLISH, 4, 10))
        posts.append(
            '<div class="post" id="p%d">\n<div class="user-card"><a class="username" '
            'href="/u/%s">%s</a><span class="rank">%s</span><span class="joined">Joined %s'
            '</span><span class="post-count">%d posts</span></div>\n<div class="post-body">'
            '<p class="post-date">%s</p>%s%s</div>\n</div>\n' % (
                700000 + n * 40 + p, posters[p], posters[p],
                rng.choice(["Member", "Regular", "Moderator", "New member"]),
                human_date(day - datetime.timedelta(days=rng.randint(30, 2000))),
                rng.randint(1, 4000), human_date(when), quote,
                "".join("<p>%s</p>" % paragraph(rng, ENGLISH)
                        for _ in range(rng.randint(1, 3)))))
    thread = '<h1 class="thread-title">%s</h1>\n%s' % (title, "".join(posts))
    parts = [head(title, "Harbour Forums", "thread-view")]
    parts.append('<div class="navbar" role="navigation"><a href="/">Harbour Forums</a> '
                 '<a href="/search">Search</a> <a href="/login">Log in</a></div>\n')
    parts.append('<div class="breadcrumbs"><a href="/">Forums</a> &raquo; <a href="/f/%d">%s'
                 '</a></div>\n' % (rng.randint(1, 9), rng.choice(["Boats", "Weather", "Fishing",
                                                                   "Off topic"])))
    if count > 6:
        parts.append('<div class="pagination">Page 1 of %d</div>\n' % (1 + count // 6))
    parts.append('<div class="thread" role="main" data-thread="%d">\n' % (9000 + n))
    parts.append(thread)
    parts.append("</div>\n")
    if rng.random() < 0.5:
        parts.append(ad(rng, "between"))
    parts.append('<div class="reply-box"><h3>Reply to this thread</h3><textarea></textarea>'
                 "<button>Post reply</button></div>\n")
    if rng.random() < 0.6:
        similar = rng.sample(range(len(titles)), 4)
        parts.append('<div class="similar" role="complementary"><h3>Similar threads</h3><ul>%s'
                     "</ul></div>\n" % "".join('<li><a href="/t/%d">%s</a> (%d replies)</li>' % (
                         s, titles[s], rng.randint(0, 80)) for s in similar))
    parts.append('<div class="foot" role="contentinfo">Harbour Forums &middot; Rules &middot; '
                 "Privacy</div>\n</body>\n</html>\n")
    return "".join(parts), thread


def forum_listing(rng, n, titles):
    picked = rng.sample(range(len(titles)), 12)
    return (head("Boats", "Harbour Forums", "forum-view") +
            '<div class="navbar" role="navigation"><a href="/">Harbour Forums</a></div>\n'
            '<table class="threads">%s</table>\n<div class="foot" role="contentinfo">Harbour '
            "Forums</div>\n</body>\n</html>\n" % "".join(
                '<tr><td><a href="/t/%d">%s</a></td><td>%d</td></tr>' % (
                    p, titles[p], rng.randint(0, 90)) for p in picked))


# ------------------------------------------------------------------------ shop

def shop_page(rng, n, titles, day):
    name = titles[n]
    specs = "".join("<tr><th>%s</th><td>%s</td></tr>" % (k, v) for k, v in [
        ("Weight", "%.1f kg" % rng.uniform(0.2, 30)),
        ("Size", "%d x %d x %d cm" % (rng.randint(5, 90), rng.randint(5, 90), rng.randint(2, 40))),
        ("Colour", rng.choice(["Red", "Navy", "Grey", "Green", "Sand"])),
        ("Material", rng.choice(["Steel", "Oak", "Cotton", "Aluminium", "Nylon"])),
    ][:rng.randint(2, 4)])
    count = rng.choice([0, 1, 2, 3, 5, 8])
    reviews = "".join(
        '<div class="review"><p class="stars">%d of 5 stars</p><p class="reviewer">%s, %s</p>'
        "<p>%s</p></div>\n" % (rng.randint(1, 5), rng.choice(USERS),
                               human_date(day + datetime.timedelta(days=r * 9)),
                               sentence(rng, ENGLISH, 6, 24)) for r in range(count))
    product = (
        '<h1 class="product-name">%s</h1>\n<p class="price">&euro;%d.%02d</p>\n'
        '<div class="description">%s</div>\n<h2>Technical details</h2>\n'
        '<table class="specs">%s</table>\n<h2>Reviews (%d)</h2>\n%s' % (
            name, rng.randint(3, 900), rng.randint(0, 99), body_blocks(rng, 1, 5), specs, count,
            reviews or '<p class="no-reviews">No reviews yet.</p>\n'))
    parts = [head(name, "Quayside Supply", "product-template")]
    if rng.random() < 0.3:
        parts.append('<div class="promo-banner">Free delivery on orders over &euro;50 this '
                     "week</div>\n")
    parts.append('<header><a class="logo" href="/">Quayside Supply</a><form class="search">'
                 '<input name="q"></form><a class="cart" href="/cart">Cart (0)</a></header>\n')
    parts.append('<main>\n<div class="product" itemscope data-sku="QS-%05d">\n' % (n * 7))
    parts.append(product)
    parts.append("</div>\n")
    parts.append('<div class="buy-box"><button>Add to cart</button><p class="stock">%s</p>'
                 "</div>\n" % rng.choice(["In stock", "Only a few left", "Ships in 2 weeks"]))
    also = rng.sample(range(len(titles)), rng.randint(3, 6))
    parts.append('<div class="also-bought"><h2>Customers also bought</h2>%s</div>\n' % "".join(
        '<div class="tile"><a href="/p/%d">%s</a><span>&euro;%d</span></div>' % (
            a, titles[a], rng.randint(3, 900)) for a in also))
    parts.append("</main>\n")
    if rng.random() < 0.4:
        parts.append(ad(rng, "footer"))
    parts.append('<footer><div class="newsletter">Sign up for our newsletter</div><p>Quayside '
                 "Supply Ltd &middot; Returns &middot; Shipping</p></footer>\n</body>\n</html>\n")
    return "".join(parts), product


def shop_listing(rng, n, titles):
    picked = rng.sample(range(len(titles)), 9)
    return (head("Category", "Quayside Supply", "category-template") +
            '<header><a class="logo" href="/">Quayside Supply</a></header>\n<main><h1>%s</h1>'
            '<div class="grid">%s</div></main>\n<footer><p>Quayside Supply Ltd</p></footer>\n'
            "</body>\n</html>\n" % (rng.choice(["Rope", "Tools", "Clothing"]), "".join(
                '<div class="tile"><a href="/p/%d">%s</a></div>' % (p, titles[p])
                for p in picked)))


# ---------------------------------------------------------------------- manual

LANGUAGES = [("de", "Deutsch"), ("fr", "Fran&ccedil;ais"), ("es", "Espa&ntilde;ol"),
             ("en", "English"), ("ja", "&#26085;&#26412;&#35486;")]


def language_switcher(rng, n):
    """The switcher above each article: a link per language, the page's own
    marked current, and now and then with one more attribute."""
    links = []
    for code, label in LANGUAGES:
        if code == "en":
            extra = ' aria-current="page"' if rng.random() < 0.06 else ""
            links.append('<li><a href="page-%04d.html" class="current-lang"%s>%s</a></li>'
                         % (n, extra, label))
        else:
            links.append('<li><a href="../%s/page-%04d.html" hreflang="%s">%s</a></li>'
                         % (code, n, code, label))
    return '<ul class="languages">%s</ul>\n' % "".join(links)


def manual_page(rng, n, titles, day):
    title = titles[n]
    sections = []
    for _ in range(rng.randint(1, 4)):
        sections.append("<h2>%s</h2>\n%s" % (title_of(rng, ENGLISH), body_blocks(rng, 2, 7)))
        if rng.random() < 0.3:
            sections.append('<div class="note"><p class="note-title">Note</p><p>%s</p></div>'
                            % sentence(rng, ENGLISH))
    slug = title.lower().replace(" ", "-")
    article = '<h1 id="%s">%s<a class="headerlink" href="#%s">&para;</a></h1>\n%s\n' % (
        slug, title, slug, "\n".join(sections))
    chapters = ["Getting started", "Installing", "Daily use", "Maintenance",
                "Troubleshooting", "Reference"]
    current = n % len(chapters)
    parts = [head(title, "Harbour Crane Manual", "manual-page")]
    parts.append('<div class="masthead"><a href="index.html">Harbour Crane Manual</a>'
                 '<form class="search"><input name="q"></form></div>\n')
    parts.append('<div class="sidebar"><ul>%s</ul></div>\n' % "".join(
        '<li%s><a href="ch%d.html">%s</a></li>' % (' class="active"' if c == current else "",
                                                   c, name)
        for c, name in enumerate(chapters)))
    parts.append('<div class="article-wrap">\n')
    parts.append(language_switcher(rng, n))
    parts.append(article)
    parts.append('<div class="feedback"><p>Was this page helpful?</p><button>Yes</button>'
                 "<button>No</button></div>\n")
    parts.append('<div class="pager"><a href="page-%04d.html">Previous</a> '
                 '<a href="page-%04d.html">Next</a></div>\n</div>\n' % (
                     max(n - 1, 0), n + 1))
    parts.append('<div class="footer"><p>Last updated %s &middot; Harbour Cranes Ltd</p></div>\n'
                 "</body>\n</html>\n" % human_date(day))
    return "".join(parts), article


def manual_listing(rng, n, titles):
    picked = rng.sample(range(len(titles)), 8)
    return (head("Chapter", "Harbour Crane Manual", "chapter-index") +
            '<div class="masthead"><a href="index.html">Harbour Crane Manual</a></div>\n'
            '<div class="article-wrap">\n%s<ul class="chapter-pages">%s</ul>\n</div>\n'
            "</body>\n</html>\n" % (language_switcher(rng, n), "".join(
                '<li><a href="page-%04d.html">%s</a></li>' % (p, titles[p]) for p in picked)))


KINDS = {"blog": (blog_page, blog_listing), "news": (news_page, news_listing),
         "forum": (forum_page, forum_listing), "shop": (shop_page, shop_listing),
         "manual": (manual_page, manual_listing)}
SEEDS = {"blog": 31, "news": 32, "forum": 33, "shop": 34, "manual": 35}


def write_site(folder, kind, pages, extension="html", listing_share=0.08):
    """Writes `pages` pages of the kind into folder; gives {file name: main
    content HTML, or None for a listing page}."""
    rng = random.Random(SEEDS[kind])
    page, listing = KINDS[kind]
    titles = [title_of(rng, ENGLISH) for _ in range(max(pages, 30))]
    first_day = datetime.date(2021, 3, 1)
    truth = {}
    os.makedirs(folder, exist_ok=True)
    for n in range(pages):
        name = "%s-%04d.%s" % (kind, n, extension)
        if rng.random() < listing_share:
            text, content = listing(rng, n, titles), None
        else:
            day = first_day + datetime.timedelta(days=rng.randint(0, 1400))
            text, content = page(rng, n % len(titles), titles, day)
        with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
            f.write(text)
        truth[name] = content
    return truth


if __name__ == "__main__":
    sys.dont_write_bytecode = True
    made = write_site(sys.argv[2], sys.argv[1], 20)
    print("%d pages, %d without main content, in %s" % (
        len(made), sum(1 for c in made.values() if c is None), sys.argv[2]))
