#!/usr/bin/env python3
"""How well and how fast `vantrel-cli --charset detect` tells each page's charset.

Builds a labelled set of pages in a temporary folder from real sentences:
the translations in the machine's .mo catalogues (Arabic, French and Greek
msgstr texts, English msgids, and Russian, Hebrew, Czech, Chinese,
Japanese and Korean ones in their legacy charsets), at several lengths, markup weights, charsets
and meta declarations (none, true, lying). Runs vantrel-cli --charset detect
--separate --json over it, and counts a page right when its piece, read back
from the UTF-16LE output, is its text exactly. Prints the accuracy per cell
and per step of the order (the JSON's charset_reason), then times a detect
run against a run with the charset given on corpora A and C
(vantrel-make-corpus). The texts are not kept.

Usage: charset_detection_bench.py BUILD_DIR [--samples N] [--no-speed]
"""
import argparse
import collections
import gettext
import glob
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

LENGTHS = [10, 30, 100, 300, 3000]
MARKUPS = ["plain", "markup-1k", "script-30k"]
ENCODINGS = [
    # (cell name, Python codec, signature bytes)
    ("utf-8+sig", "utf-8", b"\xef\xbb\xbf"),
    ("utf-8", "utf-8", b""),
    ("utf-16le+sig", "utf-16-le", b"\xff\xfe"),
    ("utf-16le", "utf-16-le", b""),
    ("utf-16be+sig", "utf-16-be", b"\xfe\xff"),
    ("utf-16be", "utf-16-be", b""),
    ("windows-1256", "cp1256", b""),
    ("iso-8859-6", "iso8859_6", b""),
    ("windows-1252", "cp1252", b""),
    ("iso-8859-7", "iso8859_7", b""),
    ("windows-1251", "cp1251", b""),
    ("koi8-r", "koi8_r", b""),
    ("windows-1255", "cp1255", b""),
    ("windows-1250", "cp1250", b""),
    ("iso-8859-2", "iso8859_2", b""),
    ("gbk", "gbk", b""),
    ("gb18030", "gb18030", b""),
    ("big5", "big5", b""),
    ("shift_jis", "cp932", b""),
    ("euc-jp", "euc_jp", b""),
    ("euc-kr", "euc_kr", b""),
]
# The charsets each language's text may be saved in.
LANG_ENCODINGS = {
    "ar": {"windows-1256", "iso-8859-6"},
    "en": {"windows-1256", "iso-8859-6", "windows-1252"},
    "fr": {"windows-1256", "windows-1252"},
    "el": {"iso-8859-7"},
    "ru": {"windows-1251", "koi8-r"},
    "he": {"windows-1255"},
    "cs": {"windows-1250", "iso-8859-2"},
    "zh_CN": {"gbk", "gb18030"},
    "zh_TW": {"big5"},
    "ja": {"shift_jis", "euc-jp"},
    "ko": {"euc-kr"},
}
LANGS = list(LANG_ENCODINGS)
# The Python codec of each 8-bit or multi-byte charset.
CODECS = {name: codec for name, codec, sig in ENCODINGS if not sig}
# What a lying meta claims instead of the truth.
LIES = {
    "windows-1256": "iso-8859-6",
    "iso-8859-6": "windows-1256",
    "windows-1252": "windows-1256",
    "iso-8859-7": "windows-1252",
    "utf-8": "windows-1256",
}
# The other charsets' pages lie that they are UTF-8, which their bytes
# beyond ASCII cannot be: the statistics decide.
for _name in CODECS:
    LIES.setdefault(_name, "utf-8")
START, END = "[[[", "]]]"


def catalogue_texts(lang):
    """Sentences of one language from the machine's .mo catalogues."""
    texts = set()
    for path in glob.glob("/usr/share/locale/%s/LC_MESSAGES/*.mo" %
                          ("fr" if lang == "en" else lang)):
        try:
            with open(path, "rb") as f:
                catalog = gettext.GNUTranslations(f)._catalog
        except Exception:
            continue
        for msgid, msgstr in catalog.items():
            if isinstance(msgid, tuple):
                msgid = msgid[0]
            text = msgid if lang == "en" else msgstr
            if not isinstance(text, str) or not text or "\n" in text:
                continue
            if any(mark in text for mark in ("%", "[", "]", "<", "&", "_")):
                continue
            if lang != "en" and text == msgid:
                continue
            if lang == "en" and any(ord(c) > 127 for c in text):
                continue
            texts.add(text.strip())
    return sorted(t for t in texts if len(t) > 3)


def fits(text, lang):
    codecs = ["ascii"] if lang == "en" else [
        CODECS[name] for name in LANG_ENCODINGS[lang]]
    try:
        for codec in codecs:
            text.encode(codec)
    except UnicodeEncodeError:
        return False
    return True


def text_of_letters(sentences, letters, rng):
    """Sentences joined until they hold `letters` letters, cut there."""
    out, count = [], 0
    while count < letters:
        sentence = rng.choice(sentences)
        out.append(sentence)
        count += sum(c.isalpha() for c in sentence)
    text = " ".join(out)
    seen = 0
    for i, c in enumerate(text):
        seen += c.isalpha()
        if seen == letters:
            return text[:i + 1]
    return text


def page(text, markup, meta):
    body = START + text + END
    if markup == "plain":
        return body
    head = "<!DOCTYPE html>\n<html>\n<head>\n"
    if meta:
        head += '<meta charset="%s">\n' % meta
    head += ("<title>Page</title>\n<link rel=\"stylesheet\" href=\"s.css\">\n"
             "<style>body { margin: 0 auto; max-width: 40em; }</style>\n"
             "</head>\n<body>\n<nav><ul>" +
             "".join('<li><a href="/p%d.html">Page %d</a></li>' % (i, i)
                     for i in range(12)) + "</ul></nav>\n")
    script = ""
    if markup == "script-30k":
        line = ("  var item%d = {name: 'entry', count: %d, seen: false};"
                " if (item%d.count > 3) { total += item%d.count; }\n")
        script = "<script>\nvar total = 0;\n"
        i = 0
        while len(script) < 30000:
            script += line % (i, i, i, i)
            i += 1
        script += "</script>\n"
    tail = ("<footer><p>Footer &copy; 2020</p></footer>\n</body>\n</html>\n")
    return head + script + '<div class="content"><p>' + body + "</p></div>\n" + tail


def build(folder, samples, rng):
    """Writes the pages; gives {file name: (cell, text)}."""
    labels = {}
    sentences = {lang: [s for s in catalogue_texts(lang) if fits(s, lang)]
                 for lang in LANGS}
    for lang, found in sentences.items():
        print("%s: %d sentences" % (lang, len(found)))
    n = 0
    for lang in LANGS:
        if not sentences[lang]:
            continue
        for length in LENGTHS:
            for enc_name, codec, signature in ENCODINGS:
                utf = enc_name.startswith("utf")
                if not utf and enc_name not in LANG_ENCODINGS[lang]:
                    continue
                true_label = "utf-8" if utf else enc_name
                for markup in MARKUPS:
                    metas = ["none"] if markup == "plain" else [
                        "none", "true", "lying"]
                    for meta in metas:
                        for _ in range(samples):
                            text = text_of_letters(sentences[lang], length, rng)
                            label = {"none": None, "true": true_label,
                                     "lying": LIES[true_label]}[meta]
                            data = signature + page(text, markup, label).encode(codec)
                            name = "p%06d.htm" % n
                            n += 1
                            with open(os.path.join(folder, name), "wb") as f:
                                f.write(data)
                            labels[name] = ((lang, enc_name, length, markup, meta), text)
    return labels


def run_detect(cli, folder):
    out = subprocess.run([cli, "--charset", "detect", "--separate", "--json",
                          "--quiet", "--start", START, "--end", END, folder],
                         capture_output=True)
    files = {}
    for line in out.stdout.decode("utf-8").splitlines():
        obj = json.loads(line)
        if obj["type"] == "file":
            files[obj["file"]] = obj
        if obj["type"] == "summary":
            output = obj["output"]
    return files, output


def accuracy(rows):
    right = sum(1 for r in rows if r)
    return "%5.1f%% (%d/%d)" % (100.0 * right / len(rows), right, len(rows)) if rows else "-"


def quality(build_dir, samples):
    cli = os.path.join(build_dir, "cli", "vantrel-cli")
    rng = random.Random(20)
    with tempfile.TemporaryDirectory() as folder:
        labels = build(folder, samples, rng)
        files, output = run_detect(cli, folder)
        results = []  # (cell, reason, right)
        for name, (cell, text) in labels.items():
            report = files.get(name, {})
            reason = report.get("charset_reason", "none")
            right = False
            piece_path = os.path.join(output, name) if output else None
            if report.get("result") == "extracted" and piece_path and os.path.exists(piece_path):
                with open(piece_path, "rb") as f:
                    data = f.read()
                right = data.startswith(b"\xff\xfe") and data[2:].decode("utf-16-le", "replace") == text
            results.append((cell, reason, right))
    # Per cell: language, charset, length (markup and meta summed), with the
    # steps that answered.
    print("\n| language | charset | letters | accuracy | steps (right/answered) |")
    print("|---|---|---|---|---|")
    groups = collections.OrderedDict()
    for cell, reason, right in results:
        groups.setdefault(cell[:3], []).append((reason, right))
    for key, rows in groups.items():
        steps = collections.OrderedDict()
        for reason, right in rows:
            steps.setdefault(reason, []).append(right)
        step_text = ", ".join("%s %d/%d" % (r, sum(v), len(v)) for r, v in steps.items())
        print("| %s | %s | %d | %s | %s |" % (key + (accuracy([r for _, r in rows]), step_text)))
    for title, index in (("markup", 3), ("meta", 4)):
        print("\n| %s | accuracy |" % title)
        print("|---|---|")
        by = collections.OrderedDict()
        for cell, _, right in results:
            by.setdefault(cell[index], []).append(right)
        for key, rows in by.items():
            print("| %s | %s |" % (key, accuracy(rows)))
    print("\n| step | right when it answered |")
    print("|---|---|")
    by = collections.OrderedDict()
    for _, reason, right in results:
        by.setdefault(reason, []).append(right)
    for key, rows in by.items():
        print("| %s | %s |" % (key, accuracy(rows)))
    print("\nWhole order: %s" % accuracy([r for _, _, r in results]))
    # The targets.
    def pick(pred):
        return [r for c, _, r in results if pred(c)]
    print("\nTargets:")
    print("  signatures: %s" % accuracy(pick(lambda c: c[1].endswith("+sig"))))
    print("  UTF-8 without signature, non-ASCII text: %s" %
          accuracy(pick(lambda c: c[1] == "utf-8" and c[0] != "en")))
    for meta in ("none", "true", "lying"):
        print("  Arabic windows-1256/ISO-8859-6, >= 100 letters, meta %s: %s" % (
            meta, accuracy(pick(lambda c: c[0] == "ar" and c[1] in (
                "windows-1256", "iso-8859-6") and c[2] >= 100 and c[4] == meta))))
    for length in LENGTHS:
        print("  Arabic windows-1256/ISO-8859-6, %d letters, no lying meta: %s" % (
            length, accuracy(pick(lambda c: c[0] == "ar" and c[1] in (
                "windows-1256", "iso-8859-6") and c[2] == length and c[4] != "lying"))))
    print("\nPer charset (target: true meta 100%, no meta >= 95% from 100 letters):")
    print("| language | charset | true meta | no meta, >= 100 letters | no meta, < 100 letters |")
    print("|---|---|---|---|---|")
    for lang in LANGS:
        for name in sorted(LANG_ENCODINGS[lang]) + ["utf-16le", "utf-16be"]:
            cell = lambda c, meta: c[0] == lang and c[1] == name and c[4] == meta
            print("| %s | %s | %s | %s | %s |" % (
                lang, name, accuracy(pick(lambda c: cell(c, "true"))),
                accuracy(pick(lambda c: cell(c, "none") and c[2] >= 100)),
                accuracy(pick(lambda c: cell(c, "none") and c[2] < 100))))


def timed_once(args, folder):
    for entry in os.listdir(folder):
        if entry.startswith("Export"):
            path = os.path.join(folder, entry)
            shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
    os.sync()
    start = time.perf_counter()
    subprocess.run(args + [folder], capture_output=True)
    return time.perf_counter() - start


def timed_pair(first, second, folder, runs=7):
    """Medians of the two runs, taking turns so that both meet the same load."""
    a, b = [], []
    for _ in range(runs):
        a.append(timed_once(first, folder))
        b.append(timed_once(second, folder))
    return statistics.median(a), statistics.median(b)


def speed(build_dir):
    cli = os.path.join(build_dir, "cli", "vantrel-cli")
    make = os.path.join(build_dir, "bench", "vantrel-make-corpus")
    print("\n| corpus | charset given | detect | ratio (target <= 1.2) |")
    print("|---|---|---|---|")
    for title, encoding, given in (("A: 10,000 pages x 20 KB, UTF-8", "utf-8", "utf-8"),
                                   ("C: 10,000 pages x 20 KB, windows-1256", "windows-1256",
                                    "windows-1256")):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([make, "--count", "10000", "--size", "20000", "--encoding",
                            encoding, folder], check=True, capture_output=True)
            base = [cli, "--quiet"]
            timed_once(base + ["--charset", given], folder)  # warm the cache
            a, b = timed_pair(base + ["--charset", given],
                              base + ["--charset", "detect"], folder)
            print("| %s | %.3f s | %.3f s | %.2f |" % (title, a, b, b / a))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--samples", type=int, default=6)
    parser.add_argument("--no-speed", action="store_true")
    parser.add_argument("--no-quality", action="store_true")
    args = parser.parse_args()
    if not args.no_quality:
        quality(args.build_dir, args.samples)
    if not args.no_speed:
        speed(args.build_dir)


if __name__ == "__main__":
    sys.exit(main())
