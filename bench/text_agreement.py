#!/usr/bin/env python3
"""How closely vantrel-cli --text agrees with an independent converter.

Copies HTML pages written elsewhere (by default every *.html under
/usr/share/doc, which Debian's packages install) into a scratch folder, has
vantrel-cli --text take the body of each, converts the same body with
Python's own html.parser, and compares the two texts word by word: the F1
of the word multisets, over all pages together, with the words that most
often appear on one side only. Nothing here is committed but this script.

  text_agreement.py VANTREL_CLI [PAGES_FOLDER]
"""
import collections
import html.parser
import pathlib
import re
import subprocess
import sys
import tempfile

HIDDEN = {"script", "style", "template", "head", "title", "noscript",
          "iframe"}
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
        "meta", "source", "track", "wbr"}


class Reference(html.parser.HTMLParser):
    """The text of a page's body as html.parser sees it: character data
    outside hidden elements, and each image's alt text."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.hidden = 0
        self.parts = []

    def handle_starttag(self, tag, attrs):
        if tag == "img":
            self.parts.append(" " + (dict(attrs).get("alt") or "") + " ")
        if tag in HIDDEN:
            self.hidden += 1

    def handle_endtag(self, tag):
        if tag in HIDDEN and self.hidden > 0:
            self.hidden -= 1

    def handle_data(self, data):
        if self.hidden == 0:
            self.parts.append(data)


BODY = re.compile(r"<body[^>]*>(.*?)</body", re.S | re.I)


def reference_words(page):
    found = BODY.search(page)
    parser = Reference()
    parser.feed(found.group(1))
    parser.close()
    return "".join(parser.parts).split()


def f1_of(ours_total, theirs_total, both):
    precision = both / ours_total if ours_total else 1.0
    recall = both / theirs_total if theirs_total else 1.0
    f1 = 2 * precision * recall / (precision + recall) if both else 0.0
    return precision, recall, f1


def main():
    cli = sys.argv[1]
    root = pathlib.Path(sys.argv[2] if len(sys.argv) > 2 else "/usr/share/doc")
    pages = sorted(p for p in root.rglob("*.html") if p.is_file())
    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch)
        texts = {}
        for n, page in enumerate(pages):
            content = page.read_bytes().decode("utf-8", "replace")
            if not BODY.search(content):
                continue
            name = f"{n:05d}.htm"
            (folder / name).write_text(content, encoding="utf-8")
            texts[name] = content
        subprocess.run([cli, "--text", "--separate", "--quiet", "--charset",
                        "utf-8", "--ignore-case", "--start", "<body",
                        "--end", "</body", "--ext", "htm", str(folder)],
                       check=False, stdout=subprocess.DEVNULL)
        ours_total = theirs_total = both = 0
        only_ours = collections.Counter()
        only_theirs = collections.Counter()
        compared = 0
        bullets = 0
        for name, content in texts.items():
            out = folder / "Export1" / (name[:-4] + ".txt")
            if not out.exists():
                continue
            compared += 1
            ours = collections.Counter(out.read_text(encoding="utf-8").split())
            theirs = collections.Counter(reference_words(content))
            # A list item's "- " is ours alone: html.parser has no lists.
            bullets += max(0, ours["-"] - theirs["-"])
            common = ours & theirs
            ours_total += sum(ours.values())
            theirs_total += sum(theirs.values())
            both += sum(common.values())
            only_ours.update(ours - theirs)
            only_theirs.update(theirs - ours)
    precision, recall, f1 = f1_of(ours_total, theirs_total, both)
    print(f"pages compared: {compared}")
    print(f"words: ours {ours_total}, html.parser {theirs_total}, "
          f"in both {both}")
    print(f"precision {precision:.4f}  recall {recall:.4f}  F1 {f1:.4f}")
    # The same without our list items' "- ", which html.parser lacks.
    print("without list bullets: precision {:.4f}  recall {:.4f}  "
          "F1 {:.4f}".format(*f1_of(ours_total - bullets, theirs_total, both)))
    print("most frequent words only in ours:", only_ours.most_common(12))
    print("most frequent words only in html.parser's:",
          only_theirs.most_common(12))


if __name__ == "__main__":
    main()
