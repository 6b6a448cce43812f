"""The sites the marker-suggestion benchmark scores, each with its truth rule.

A truth rule takes a page's text and gives its main content as HTML, or
None for a page that has none (a redirect stub, an index, a title page of
another template). Rules are kept simple: the inside of one element found
by its start tag, or the region between two template elements. Each was
checked by eye on a few pages (`suggest_bench.py --show-truth N`).

HELD-OUT sites were named here before any tuning of the suggestion. Their
truth rules were written from the pages' structure alone; the benchmark
scores them only when asked with --held-out, and nobody tunes on them or
looks at their scores until the end.

Used by suggest_bench.py.
"""
import re

# ----------------------------------------------------------------- truth rules


def balanced_end(page, start, tag):
    """Where the element whose start tag ends at `start` closes: the span of
    its balanced end tag, or None."""
    depth = 1
    for m in re.finditer(r"<(/?)%s\b[^>]*>" % tag, page[start:], re.I):
        depth += -1 if m.group(1) else 1
        if depth == 0:
            return start + m.start(), start + m.end()
    return None


def inside_element(start_tag, tag):
    """Truth: the inside of the first element whose start tag matches."""
    pattern = re.compile(start_tag, re.I)

    def rule(page):
        found = pattern.search(page)
        if not found:
            return None
        close = balanced_end(page, found.end(), tag)
        return page[found.end():close[0]] if close else None
    return rule


def between_elements(before_tag, tag, after):
    """Truth: from the end of the element whose start tag matches
    `before_tag` to the first match of `after`."""
    before_pattern = re.compile(before_tag, re.I)
    after_pattern = re.compile(after, re.I)

    def rule(page):
        found = before_pattern.search(page)
        if not found:
            return None
        close = balanced_end(page, found.end(), tag)
        if not close:
            return None
        end = after_pattern.search(page, close[1])
        return page[close[1]:end.start()] if end else None
    return rule


def from_to(start, end, to_end_of_page=False):
    """Truth: from the end of the first match of `start` to the first match
    of `end` after it; to the page's `</body>` (or its end) when `end` is
    missing and to_end_of_page is set."""
    start_pattern = re.compile(start, re.I)
    end_pattern = re.compile(end, re.I)
    body_end = re.compile(r"</body>", re.I)

    def rule(page):
        found = start_pattern.search(page)
        if not found:
            return None
        stop = end_pattern.search(page, found.end())
        if stop:
            return page[found.end():stop.start()]
        if not to_end_of_page:
            return None
        stop = body_end.search(page, found.end())
        return page[found.end():stop.start() if stop else len(page)]
    return rule


# Sphinx (basic, classic, alabaster, pydoctheme): the body element.
SPHINX = inside_element(r'<div class="body" role="main">', "div")
# DocBook XSL: between the navigation header and footer (the header's div
# may carry an xmlns attribute before its class); a book's title page has
# no navigation header, so no main content.
DOCBOOK = between_elements(r'<div[^>]* class="navheader">', "div",
                           r'<div[^>]* class="navfooter">')
# gtk-doc: between the top navigation table (the one that says it is the
# navigation header; a book's title page has another) and the footer.
GTKDOC = between_elements(r'<table class="navigation" id="top"[^>]*summary="Navigation header"[^>]*>',
                          "table", r'<div class="footer">')
# AsciiDoc: the #content element.
ASCIIDOC = inside_element(r'<div id="content">', "div")
# Node.js's API pages: the main element.
NODE_API = inside_element(r'<div role="main" id="apicontent">', "div")
# Valgrind's DocBook: between the navigation header table and the element
# that holds the footer table.
VALGRIND = between_elements(r'<table class="nav"[^>]*summary="Navigation header"[^>]*>', "table",
                            r'<div>\s*<br>\s*<table class="nav"[^>]*summary="Navigation footer"')
# ikiwiki: the #content element (the page's title sits in the page header
# beside the parent links, which is template).
IKIWIKI = inside_element(r'<div id="content" role="main">', "div")
# Django's own Sphinx theme: the yui-g element, whose id is the page's.
DJANGO = inside_element(r'<div class="yui-g" id="[^"]*">', "div")
# SQLAlchemy's theme: the #docs-body element (its class names the page).
SQLALCHEMY = inside_element(r'<div id="docs-body" role="main"[^>]*>', "div")
# gi-docgen: the section#main, from the item's kind and name heading to
# its last section (the table of contents and search results are beside).
GIDOCGEN = inside_element(r'<section id="main" class="content">', "section")
# Erlang/OTP: the #content element up to its copyright footer.
ERLANG = from_to(r'<div id="content">', r'<div class="footer">')
# Read the Docs theme: the document element inside rst-content.
RTD = inside_element(r'<div role="main" class="document"[^>]*>', "div")
# Vim's help as HTML: the help file's own text, the <pre> after the page
# heading, without the closing "top - main help file" links.
VIM = from_to(r"<hr>\s*<pre>", r'<a href="#top">top</a> - <a href="index.html">main help file</a>\s*</pre>')
# SQLite's C interface pages: after the "SQLite C Interface" link heading
# to the closing "See also lists of" paragraph (list pages run to the end).
SQLITE_C = from_to(r'<a href="intro.html"><h2>SQLite C Interface</h2></a>',
                   r"<p>See also lists of", to_end_of_page=True)
# Haddock: the #content element (module header, description, synopsis,
# interface).
HADDOCK = inside_element(r'<div id="content">', "div")


# --------------------------------------------------------------------- corpora

class Corpus:
    def __init__(self, name, title, package=None, source=None, pattern="*.html",
                 rule=None, site=None, charset="utf-8", held_out=False, web=None,
                 encoding=None):
        self.name, self.title = name, title
        self.package, self.source, self.pattern = package, source, pattern
        self.rule, self.site, self.charset = rule, site, charset
        self.held_out, self.web = held_out, web
        self.encoding = encoding

    def charset_args(self):
        return ["--charset", self.charset] if self.charset else []

    def decoding(self):
        """How the truth rule reads the pages' bytes."""
        return self.encoding or self.charset or "utf-8"


DOC = "/usr/share/doc/"

CORPORA = [
    # Made-up sites (suggest_sites.py).
    Corpus("synth", "made-up site, UTF-8",
           site=dict(seed=11, lang="en", encoding="utf-8")),
    Corpus("synth-ar", "made-up site, Arabic, windows-1256",
           site=dict(seed=12, lang="ar", encoding="cp1256"), charset="windows-1256"),
    Corpus("synth-u16", "made-up site, UTF-16LE signature, CR LF",
           site=dict(seed=13, lang="en", encoding="utf-16-le", signature=b"\xff\xfe",
                     newline="\r\n"), charset=None),
    # Made-up sites in the shapes users bring from the web
    # (suggest_web_sites.py).
    Corpus("web-blog", "made-up blog with comments, HTML5 landmarks", web="blog"),
    Corpus("web-news", "made-up news site, related articles and share bars, no landmarks",
           web="news"),
    Corpus("web-forum", "made-up forum threads, posts by several users, ARIA roles", web="forum"),
    Corpus("web-shop", "made-up product pages, specs tables and reviews, a main landmark", web="shop"),
    Corpus("web-manual", "made-up manual, a language switcher above each article",
           web="manual"),
    # The first nine real corpora.
    Corpus("python", "Sphinx: python3.11-doc library", "python3.11-doc",
           DOC + "python3.11/html/library", rule=SPHINX),
    Corpus("cmake", "Sphinx: cmake-doc commands", "cmake-doc",
           DOC + "cmake-data/html/command", rule=SPHINX),
    Corpus("postgres", "DocBook: postgresql-doc-15", "postgresql-doc-15",
           DOC + "postgresql-doc-15/html", rule=DOCBOOK),
    Corpus("glib", "gtk-doc: libglib2.0-doc", "libglib2.0-doc",
           "/usr/share/gtk-doc/html/glib", rule=GTKDOC),
    Corpus("gtk3", "gtk-doc: libgtk-3-doc", "libgtk-3-doc",
           "/usr/share/gtk-doc/html/gtk3", rule=GTKDOC),
    Corpus("git", "AsciiDoc: git-doc", "git-doc", DOC + "git-doc", rule=ASCIIDOC),
    Corpus("node", "Node.js API pages: nodejs", "nodejs", DOC + "nodejs/api",
           rule=NODE_API),
    Corpus("fish", "Sphinx: fish-common commands", "fish-common", DOC + "fish/cmds",
           rule=SPHINX),
    Corpus("valgrind", "DocBook: valgrind manual", "valgrind", DOC + "valgrind/html",
           rule=VALGRIND),
    # Debian documentation packages, tuning.
    Corpus("ikiwiki", "ikiwiki: its plugin pages", "ikiwiki", DOC + "ikiwiki/html/plugins",
           rule=IKIWIKI),
    Corpus("django", "Django's Sphinx theme: release notes", "python-django-doc",
           DOC + "python-django-doc/html/releases", rule=DJANGO),
    Corpus("sqlalchemy", "SQLAlchemy's Sphinx theme: ORM", "python-sqlalchemy-doc",
           DOC + "python-sqlalchemy-doc/html/orm", rule=SQLALCHEMY),
    Corpus("sphinx", "Sphinx (sphinx13 theme): extensions", "sphinx-doc",
           DOC + "sphinx-doc/html/usage/extensions", rule=SPHINX),
    Corpus("policy", "Sphinx: debian-policy", "debian-policy",
           DOC + "debian-policy/policy.html", rule=SPHINX),
    Corpus("gsk4", "gi-docgen: libgtk-4-doc, GSK", "libgtk-4-doc",
           DOC + "libgtk-4-doc/gsk4", rule=GIDOCGEN),
    Corpus("gnucash", "DocBook: gnucash-docs, English guide", "gnucash-docs",
           DOC + "gnucash-docs/gnucash-guide-en", rule=DOCBOOK),
    # HELD OUT: named before tuning, scored only with --held-out.
    Corpus("erlang", "Erlang/OTP: erlang-doc, stdlib", "erlang-doc",
           DOC + "erlang-doc/lib/stdlib-4.2/doc/html", rule=ERLANG, held_out=True),
    Corpus("scrapy", "Read the Docs theme: python-scrapy-doc topics", "python-scrapy-doc",
           DOC + "python-scrapy-doc/html/topics", rule=RTD, held_out=True),
    Corpus("pam", "DocBook: libpam-doc", "libpam-doc", DOC + "libpam-doc/html",
           rule=DOCBOOK, held_out=True),
    Corpus("soup", "gi-docgen: libsoup-3.0-doc", "libsoup-3.0-doc", DOC + "libsoup-3.0",
           rule=GIDOCGEN, held_out=True),
    Corpus("vim", "Vim help as HTML: vim-doc", "vim-doc", DOC + "vim/html", rule=VIM,
           charset=None, encoding="latin-1", held_out=True),
    Corpus("sqlite", "SQLite: sqlite3-doc, C interface", "sqlite3-doc", DOC + "sqlite3/c3ref",
           rule=SQLITE_C, held_out=True),
    Corpus("ghc", "Haddock: ghc-doc, base", "ghc-doc",
           DOC + "ghc-doc/html/libraries/base-4.15.1.0", rule=HADDOCK, held_out=True),
    Corpus("gnucash-ja", "DocBook: gnucash-docs, Japanese guide", "gnucash-docs",
           DOC + "gnucash-docs/gnucash-guide-ja", rule=DOCBOOK, held_out=True),
]

HELD_OUT = [c.name for c in CORPORA if c.held_out]
