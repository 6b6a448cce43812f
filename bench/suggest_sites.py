"""Made-up template sites for scoring marker suggestions, the same bytes for
the same seed.

A site is a folder of article pages made from one template, beside a few
pages of other templates (redirect stubs and archive indexes) that have no
main content. The template carries what makes suggesting hard: per-page ids
(in the body's class, the article's id and the content's own id), dates, a
notice box above the article on some pages, figures whose `</div>` sits
inside the content, a related-articles list, a comments section and a
sidebar. The main content of an article is its title, its byline and the
inside of its `<div class="entry-content" ...>`; write_site gives it per
page, so the truth is known, not guessed.

Used by suggest_bench.py; `python3 suggest_sites.py FOLDER` writes one
English UTF-8 site to look at.
"""
import datetime
import os
import random
import sys

ENGLISH = (
    "harbour council budget ferry weather market school river bridge road "
    "museum festival library station garden season winter summer report "
    "plan vote meeting street water power train island coast fishing boat "
    "storm lighthouse painter concert theatre history mayor teacher doctor "
    "village north south east west morning evening night week month year "
    "price rent house family children visitor tourist crowd team match "
    "goal record result study survey answer question letter reader editor "
    "opened closed rebuilt approved delayed announced expected reported "
    "said asked agreed planned finished started moved returned visited "
    "new old small large early late quiet busy local public final first "
    "the a of and to in on for with from by at after before under over "
    "about into through between during without again also still only"
).split()

# Common Arabic words, all in windows-1256.
ARABIC = (
    "في من على إلى عن مع هذا هذه ذلك التي الذي كان كانت يكون بعد قبل "
    "خلال بين حتى عند كل بعض أيضا قد لقد ثم لكن المدينة الميناء المجلس "
    "الميزانية العبارة الطقس السوق المدرسة النهر الجسر الطريق المتحف "
    "المهرجان المكتبة المحطة الحديقة الموسم الشتاء الصيف التقرير الخطة "
    "الاجتماع الشارع الماء القطار الجزيرة الساحل الصيد القارب العاصفة "
    "المنارة الحفل المسرح التاريخ العمدة المعلم الطبيب القرية الشمال "
    "الجنوب الصباح المساء الليل الأسبوع الشهر السنة السعر البيت الأسرة "
    "الأطفال الزائر الفريق المباراة النتيجة الدراسة السؤال الرسالة القارئ "
    "افتتح أغلق أعلن قال سأل وافق بدأ انتهى عاد زار جديد قديم صغير كبير"
).split()

SITE = {
    "en": {"name": "The Harbour Gazette", "related": "Related articles",
           "comments": "comments", "none": "No comments yet.",
           "by": "By", "updated": "Updated", "moved": "This page has moved to",
           "archive": "Archive", "most_read": "Most read",
           "sections": ["News", "Sport", "Culture", "Weather", "Letters"]},
    "ar": {"name": "جريدة الميناء", "related": "مقالات ذات صلة",
           "comments": "تعليقات", "none": "لا توجد تعليقات بعد.",
           "by": "بقلم", "updated": "تحديث", "moved": "نقلت هذه الصفحة إلى",
           "archive": "الأرشيف", "most_read": "الأكثر قراءة",
           "sections": ["أخبار", "رياضة", "ثقافة", "طقس", "رسائل"]},
}

AUTHORS = ["Ana Ruiz", "Tom Berg", "Lena Okafor", "Sami Haddad", "Mei Lin"]


def words(rng, vocabulary, low, high):
    return " ".join(rng.choice(vocabulary) for _ in range(rng.randint(low, high)))


def sentence(rng, vocabulary, low=6, high=16):
    text = words(rng, vocabulary, low, high)
    return text[0].upper() + text[1:] + "."


def paragraph(rng, vocabulary):
    return " ".join(sentence(rng, vocabulary) for _ in range(rng.randint(2, 5)))


def title_of(rng, vocabulary):
    text = words(rng, vocabulary, 3, 7)
    return text[0].upper() + text[1:]


def content_block(rng, vocabulary, n):
    """One block of an article's body; figures and boxes hold a </div>."""
    kind = rng.random()
    if kind < 0.55:
        return "<p>%s</p>" % paragraph(rng, vocabulary)
    if kind < 0.68:
        return "<h2>%s</h2>" % title_of(rng, vocabulary)
    if kind < 0.80:
        return ('<div class="figure"><img src="/img/%d.jpg" alt="">\n'
                '<p class="caption">%s</p></div>' % (n, sentence(rng, vocabulary)))
    if kind < 0.90:
        return "<ul>\n%s\n</ul>" % "\n".join(
            "<li>%s</li>" % sentence(rng, vocabulary, 3, 8)
            for _ in range(rng.randint(2, 5)))
    return ('<div class="box"><p><strong>%s</strong> %s</p></div>' %
            (title_of(rng, vocabulary), sentence(rng, vocabulary)))


def human_date(day, lang):
    if lang == "ar":
        return "%d/%d/%d" % (day.day, day.month, day.year)
    return day.strftime("%B %d, %Y").replace(" 0", " ")


def header(site, lang, charset, title, body_class):
    nav = "".join('<li><a href="/%s/">%s</a></li>' % (s.lower(), s)
                  for s in site["sections"])
    return ('<!DOCTYPE html>\n<html lang="%s">\n<head>\n<meta charset="%s">\n'
            "<title>%s – %s</title>\n"
            '<link rel="stylesheet" href="/css/site.css">\n</head>\n'
            '<body class="%s">\n<header class="site-header">'
            '<a class="logo" href="/">%s</a>\n<nav><ul>%s</ul></nav>'
            "</header>\n" % (lang, charset, title, site["name"], body_class,
                             site["name"], nav))


def footer(site, titles, built):
    most_read = "".join('<li><a href="/post-%d.html">%s</a></li>' % (
        post_of(k), titles[k]) for k in range(5))
    return ('<aside class="sidebar"><h3>%s</h3><ul>%s</ul></aside>\n'
            "<footer><p>&copy; 2024 %s &middot; %s</p></footer>\n"
            "<script>var built = '%s';</script>\n</body>\n</html>\n" %
            (site["most_read"], most_read, site["name"], built, built))


def post_of(k):
    return 1000 + 7 * k


def article(rng, vocabulary, site, lang, charset, k, titles, day, page_bytes):
    """An article page and its main content."""
    blocks = []
    size = 0
    target = page_bytes if page_bytes else rng.randint(1500, 9000)
    while size < target or len(blocks) < 2:
        block = content_block(rng, vocabulary, len(blocks))
        blocks.append(block)
        size += len(block.encode("utf-8")) + 1
        if page_bytes and size > target - 2200:
            break
    content = "\n" + "\n".join(blocks) + "\n"
    post = post_of(k)
    parts = [header(site, lang, charset, titles[k], "post-template postid-%d" % post)]
    if rng.random() < 0.3:
        parts.append('<div class="notice"><p>%s %s: %s</p></div>\n' % (
            site["updated"], human_date(day + datetime.timedelta(days=rng.randint(1, 90)), lang),
            sentence(rng, vocabulary)))
    opening = ('<h1 class="entry-title">%s</h1>\n'
               '<p class="byline">%s %s &middot; <time datetime="%s">%s</time></p>\n'
               '<div class="entry-content" id="entry-%d">' % (
                   titles[k], site["by"], rng.choice(AUTHORS),
                   day.isoformat(), human_date(day, lang), post))
    parts.append('<main id="main">\n<article id="post-%d" class="post">\n' % post)
    parts.append(opening)
    parts.append(content)
    parts.append("</div>\n")
    # The article's title and byline are its content too.
    content = opening + content + "</div>\n"
    related = rng.sample(range(len(titles)), 4)
    parts.append('<div class="related"><h3>%s</h3><ul>%s</ul></div>\n' % (
        site["related"], "".join('<li><a href="/post-%d.html">%s</a></li>' % (
            post_of(r), titles[r]) for r in related)))
    count = rng.choice([0, 0, 1, 2, 3, 5])
    comments = "".join(
        '<div class="comment"><p class="who">%s &middot; %s</p><p>%s</p></div>\n' % (
            rng.choice(AUTHORS), human_date(day + datetime.timedelta(days=k + 1), lang),
            sentence(rng, vocabulary)) for k in range(count))
    parts.append('<section id="comments"><h3>%d %s</h3>\n%s</section>\n' % (
        count, site["comments"], comments or "<p>%s</p>\n" % site["none"]))
    parts.append("</article>\n</main>\n")
    parts.append(footer(site, titles, (day + datetime.timedelta(days=400)).isoformat()))
    return "".join(parts), content


def redirect_stub(site, lang, charset, target):
    return ('<!DOCTYPE html>\n<html lang="%s">\n<head>\n<meta charset="%s">\n'
            '<meta http-equiv="refresh" content="0; url=/post-%d.html">\n'
            "<title>%s</title>\n</head>\n<body>\n<p>%s "
            '<a href="/post-%d.html">/post-%d.html</a>.</p>\n</body>\n</html>\n' % (
                lang, charset, target, site["name"], site["moved"], target, target))


def archive_index(rng, site, lang, charset, titles, month):
    links = "".join('<li><a href="/post-%d.html">%s</a></li>\n' % (
        post_of(k), titles[k]) for k in sorted(rng.sample(range(len(titles)), 20)))
    return (header(site, lang, charset, site["archive"], "archive") +
            '<main id="main">\n<h1 class="archive-title">%s %s</h1>\n'
            '<ul class="archive">\n%s</ul>\n</main>\n' % (site["archive"], month, links) +
            footer(site, titles, "2024-01-01"))


def write_site(folder, pages, seed, lang="en", encoding="utf-8", signature=b"",
               newline="\n", extension="htm", other_share=0.12, page_bytes=0):
    """Writes `pages` pages into folder; gives {file name: main content HTML,
    or None for a page without main content}."""
    rng = random.Random(seed)
    vocabulary = ARABIC if lang == "ar" else ENGLISH
    site = SITE[lang]
    charset = {"utf-8": "utf-8", "cp1256": "windows-1256",
               "utf-16-le": "utf-16"}[encoding]
    titles = [title_of(rng, vocabulary) for _ in range(max(pages, 30))]
    first_day = datetime.date(2019, 1, 1)
    truth = {}
    os.makedirs(folder, exist_ok=True)
    for n in range(pages):
        name = "page-%05d.%s" % (n, extension)
        if rng.random() < other_share:
            if rng.random() < 0.5:
                text = redirect_stub(site, lang, charset,
                                     post_of(rng.randrange(len(titles))))
            else:
                text = archive_index(rng, site, lang, charset, titles,
                                     "%d-%02d" % (2019 + n % 5, 1 + n % 12))
            content = None
        else:
            day = first_day + datetime.timedelta(days=rng.randint(0, 1800))
            text, content = article(rng, vocabulary, site, lang, charset,
                                    n % len(titles), titles, day, page_bytes)
        if newline != "\n":
            text = text.replace("\n", newline)
            content = content.replace("\n", newline) if content is not None else None
        with open(os.path.join(folder, name), "wb") as f:
            f.write(signature + text.encode(encoding))
        truth[name] = content
    return truth


if __name__ == "__main__":
    made = write_site(sys.argv[1], 20, 1)
    print("%d pages, %d without main content, in %s" % (
        len(made), sum(1 for c in made.values() if c is None), sys.argv[1]))
