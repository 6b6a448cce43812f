#!/usr/bin/env python3
"""How well and how fast `vantrel-cli --suggest` finds the markers around
each page's main content.

Corpora: made-up template sites (suggest_sites.py: English UTF-8, Arabic
windows-1256 without signature, UTF-16LE with signature and CR LF), and real
documentation pages from Debian packages, each with a truth rule that marks
the main content of a page, or marks the page as having none (another
template: redirect stubs, indexes). Each corpus is copied flat into a work
folder under /tmp, since a run writes its output into the folder it reads.

For each corpus the benchmark times `--suggest --json` (wall clock and peak
memory of the child), then runs each of the up to three candidates, and the
naive pair <body...>...</body> as a baseline, as ordinary runs with
`--jsonl`, and scores every page: the bag-of-words F1 between the visible
text (tags, scripts and styles dropped, entities decoded) of the piece and
of the main content, 0 where the pair gives no piece. A speed row times
`--suggest` on 10,000 template pages of about 20 KB.

The sites and their truth rules are in suggest_corpora.py; the held-out
sites named there are scored only with --held-out. A site whose Debian
package is missing is named and skipped (bench/suggest_corpora.sh installs
them all).

Usage: suggest_bench.py [--cli PATH] [--run-child PATH] [--corpora synth,python,...]
                        [--held-out] [--json] [--speed-pages N] [--truth-only]
"""
import argparse
import collections
import hashlib
import html.parser
import json
import os
import pathlib
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# The site generator beside this file, without leaving compiled files in
# the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import suggest_sites  # noqa: E402
import suggest_web_sites  # noqa: E402
from suggest_corpora import CORPORA, HELD_OUT  # noqa: E402

HERE = pathlib.Path(__file__).resolve().parent
BASELINE = ("<body[^>]*>", "</body>", True)
GOOD = 0.99
# What the first candidate should reach on every corpus, and the speed row.
TARGET_MEAN, TARGET_SHARE, TARGET_SECONDS = 0.98, 0.90, 1.0


# ---------------------------------------------------------------- visible text

class Visible(html.parser.HTMLParser):
    """The text a browser shows: character data outside scripts and styles,
    entities decoded."""

    HIDDEN = {"script", "style"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.hidden = 0
        self.parts = []

    def handle_starttag(self, tag, attrs):
        if tag in self.HIDDEN:
            self.hidden += 1

    def handle_endtag(self, tag):
        if tag in self.HIDDEN and self.hidden > 0:
            self.hidden -= 1

    def handle_data(self, data):
        if self.hidden == 0:
            self.parts.append(data)


# Words: runs of characters between spaces, except that each Han, kana and
# Hangul character counts as a word of its own (those scripts write no
# spaces between words).
WORD = re.compile(r"[\u3040-\u30ff\u3400-\u9fff\uac00-\ud7af\uf900-\ufaff\uff66-\uff9f]|"
                  r"[^\s\u3040-\u30ff\u3400-\u9fff\uac00-\ud7af\uf900-\ufaff\uff66-\uff9f]+")


def visible_words(fragment):
    parser = Visible()
    parser.feed(fragment)
    parser.close()
    return collections.Counter(WORD.findall(" ".join(parser.parts)))


def f1(piece, truth):
    """Bag-of-words F1 of two word counts."""
    both = sum((piece & truth).values())
    total = sum(piece.values()) + sum(truth.values())
    if total == 0:
        return 1.0
    return 2.0 * both / total


def have_pages(corpus):
    """True when the corpus's pages are there; otherwise names the package
    that holds them (bench/suggest_corpora.sh installs them all)."""
    if pathlib.Path(corpus.source).is_dir():
        return True
    print("%s: skipped, %s is missing (apt-get install %s, or bench/suggest_corpora.sh)" %
          (corpus.name, corpus.source, corpus.package), file=sys.stderr)
    return False


def prepare(corpus, folder, pages):
    """Writes the corpus's pages into folder; gives (extension, {file name:
    main content HTML or None})."""
    if corpus.site:
        truth = suggest_sites.write_site(folder, pages or 200, extension="htm",
                                         **corpus.site)
        return "htm", truth
    if corpus.web:
        return "html", suggest_web_sites.write_site(folder, corpus.web, pages or 150)
    truth = {}
    sources = sorted(p for p in pathlib.Path(corpus.source).glob(corpus.pattern)
                     if p.is_file())
    if pages:
        sources = sources[:pages]
    for source in sources:
        data = source.read_bytes()
        (pathlib.Path(folder) / source.name).write_bytes(data)
        truth[source.name] = corpus.rule(data.decode(corpus.decoding(), "replace"))
    return "html", truth


# ---------------------------------------------------------------- running it

# vantrel-run-child, built beside vantrel-cli: the measured program is
# started from it, not from this script, since Linux counts the memory of
# the process that forks (here, whole corpora) towards the child's peak.
RUN_CHILD = None


def run_measured(args):
    """Runs args; gives (exit status, stdout, stderr, seconds, peak KiB)."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err, \
            tempfile.NamedTemporaryFile(mode="r") as result:
        program = [os.path.abspath(shutil.which(args[0]) or args[0])] + list(args[1:])
        subprocess.run([RUN_CHILD, result.name] + program, stdout=out, stderr=err, check=True)
        seconds, peak, status = result.read().split()
        out.seek(0)
        err.seek(0)
        return (int(status), out.read().decode("utf-8", "replace"),
                err.read().decode("utf-8", "replace"), float(seconds), int(peak))


def suggest(cli, corpus, folder, extension, extra=()):
    """The candidates of `--suggest --json` (with extra options), with the
    call's figures."""
    status, out, err, seconds, peak = run_measured(
        [cli, "--suggest", "--json", "--ext", extension] + list(extra) +
        corpus.charset_args() + [folder])
    candidates, summary = [], None
    for line in out.splitlines():
        try:
            obj = json.loads(line)
        except ValueError:
            continue
        if obj.get("type") == "suggestion":
            candidates.append(obj)
        elif obj.get("type") == "summary":
            summary = obj
    candidates.sort(key=lambda c: c.get("rank", 0))
    return {"status": status, "candidates": candidates[:3], "summary": summary,
            "stderr": err.strip(), "seconds": seconds, "peak_kib": peak}


def pieces_of(cli, corpus, folder, extension, start, end, regex):
    """{file name: piece} of an ordinary run with the pair; the run's output
    is deleted."""
    args = [cli, "--jsonl", "--json", "--ext", extension, "--start=" + start,
            "--end=" + end] + corpus.charset_args()
    if regex:
        args.append("--regex")
    done = subprocess.run(args + [folder], capture_output=True)
    output = None
    for line in done.stdout.decode("utf-8", "replace").splitlines():
        obj = json.loads(line)
        if obj.get("type") == "summary":
            output = obj.get("output")
    if done.returncode not in (0, 1):
        raise RuntimeError("%s gave exit status %d: %s" % (
            " ".join(args), done.returncode, done.stderr.decode("utf-8", "replace")))
    pieces = {}
    if not output:  # no file gave a piece, so nothing was written
        return pieces
    path = pathlib.Path(output)
    if not path.is_absolute():
        path = pathlib.Path(folder) / path
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            obj = json.loads(line)
            pieces[obj["file"]] = obj["piece"]
    path.unlink()
    return pieces


def scores_of(pieces, truth_words):
    """Per page with main content its F1; and the pieces given on pages
    without main content."""
    scores, stray = {}, 0
    for name, words in truth_words.items():
        piece = pieces.get(name)
        if words is None:
            stray += piece is not None
        else:
            scores[name] = f1(visible_words(piece), words) if piece is not None else 0.0
    return scores, stray


def lowest(scores, count):
    """The `count` pages of lowest F1 below 0.99, lowest first."""
    return sorted((round(v, 4), n) for n, v in scores.items() if v < GOOD)[:count]


def figures(scores):
    values = list(scores.values())
    if not values:
        return None, None
    return statistics.mean(values), sum(v >= GOOD for v in values) / len(values)


def show_truth(corpus, truth, count):
    """The start and end of the main content's visible text on a few pages,
    spread over the corpus, and the pages without main content: to check
    the truth rule by eye."""
    names = sorted(truth)
    with_content = [n for n in names if truth[n] is not None]
    step = max(1, len(with_content) // max(1, count))
    print("\n%s: %d of %d pages without main content: %s" % (
        corpus.name, len(names) - len(with_content), len(names),
        " ".join(n for n in names if truth[n] is None)[:600]), file=sys.stderr)
    for name in with_content[::step][:count]:
        parser = Visible()
        parser.feed(truth[name])
        parser.close()
        text = " ".join(" ".join(parser.parts).split())
        print("  %s: %s ... %s" % (name, text[:90], text[-90:]), file=sys.stderr)


def score_candidates(cli, corpus, folder, extension, result, truth_words):
    """Runs each candidate of a --suggest call; gives (candidate rows, the
    first's per-page scores, per-page best of the three)."""
    rows, per_candidate = [], []
    for c in result["candidates"]:
        pieces = pieces_of(cli, corpus, folder, extension, c["start"], c["end"],
                           bool(c.get("regex")))
        scores, stray = scores_of(pieces, truth_words)
        per_candidate.append(scores)
        mean, share = figures(scores)
        # The pieces it promised beside those a run with it gives.
        rows.append({"rank": c.get("rank"), "start": c["start"], "end": c["end"],
                     "regex": bool(c.get("regex")), "pieces": c.get("pieces"),
                     "basis": c.get("basis"), "pieces_run": len(pieces), "mean_f1": mean,
                     "share_good": share, "stray": stray})
    content_pages = [n for n, w in truth_words.items() if w is not None]
    first = per_candidate[0] if per_candidate else {n: 0.0 for n in content_pages}
    best = {n: max((s[n] for s in per_candidate), default=0.0) for n in content_pages}
    return rows, first, best


def collapsed_text(fragment):
    parser = Visible()
    parser.feed(fragment)
    parser.close()
    return " ".join(" ".join(parser.parts).split())


BLOCK = re.compile(r"<(?:p|div|dl|dt|dd|ul|ol|li|table|h[1-6])\b", re.I)


def first_sentence(content):
    """The first sentence (six words or more) of the first paragraph of at
    least eight words, as a browser shows it, else its first 30 words; or
    None."""
    for m in re.finditer(r"<p\b[^>]*>(.*?)</p>", content, re.I | re.S):
        if BLOCK.search(m.group(1)):  # a paragraph left open, not one paragraph
            continue
        text = collapsed_text(m.group(1))
        words = text.split()
        if len(words) < 8:
            continue
        first = re.match(r"(.+?[.!?])\s", text + " ")
        if first and len(first.group(1).split()) >= 6:
            return first.group(1)
        return " ".join(words[:30])
    return None


def around_text(truth, at=0.5):
    """What a user would paste for --around: from the page with main content
    at `at` of the way through them in name order (0.5: the middle one), or
    the next after it that has one, the first
    sentence of a paragraph (first_sentence); where no page has one, 25
    words from the 20th word of the middle page's main content. Gives
    (page, text) or None."""
    pages = sorted(n for n, c in truth.items() if c is not None)
    if not pages:
        return None
    middle = min(int(len(pages) * at), len(pages) - 1)
    for page in pages[middle:] + pages[:middle]:
        text = first_sentence(truth[page])
        if text:
            return page, text
    page = pages[middle]
    words = collapsed_text(truth[page]).split()
    if not words:
        return None
    skip = 20 if len(words) > 45 else 0
    return page, " ".join(words[skip:skip + 25])


# The reader-view baseline: Mozilla's Readability through jsdom
# (readability_text.js), from the folder that --readability names.
READABILITY = {"dir": None, "missing": "not asked"}
READABILITY_SCRIPT = HERE / "readability_text.js"


def readability_setup(folder, wanted):
    """Where Readability runs from, or why it does not."""
    READABILITY["dir"] = pathlib.Path(folder)
    if not wanted:
        READABILITY["missing"] = "not asked"
    elif not shutil.which("node"):
        READABILITY["missing"] = "no node"
    elif not all((READABILITY["dir"] / "node_modules" / m / "package.json").is_file()
                 for m in ("jsdom", "@mozilla/readability")):
        READABILITY["missing"] = "not installed"
        print("Readability is not installed in %s: npm install @mozilla/readability jsdom "
              "there (npm %s)" % (folder, "is there" if shutil.which("npm") else "is missing"),
              file=sys.stderr)
    else:
        READABILITY["missing"] = None


def readability_articles(paths):
    """{path: the HTML of Readability's article, or None}; pages seen
    before come from a cache beside the modules, keyed by the page's
    bytes."""
    cache = READABILITY["dir"] / "articles"
    cache.mkdir(exist_ok=True)
    articles, keys, todo = {}, {}, []
    for path in paths:
        key = hashlib.sha1(pathlib.Path(path).read_bytes()).hexdigest()
        keys[str(path)] = key
        cached = cache / (key + ".json")
        if cached.is_file():
            articles[str(path)] = json.loads(cached.read_text(encoding="utf-8"))["html"]
        else:
            todo.append(str(path))
    if todo:
        done = subprocess.run(["node", str(READABILITY_SCRIPT), str(READABILITY["dir"])],
                              input="\n".join(todo) + "\n", capture_output=True, text=True)
        for line in done.stdout.splitlines():
            obj = json.loads(line)
            articles[obj["file"]] = obj["html"]
            # Written aside and renamed: other runs may share the cache.
            cached = cache / (keys[obj["file"]] + ".json")
            aside = cached.with_suffix(".%d.part" % os.getpid())
            aside.write_text(json.dumps({"html": obj["html"]}), encoding="utf-8")
            os.replace(aside, cached)
    return articles


def readability_row(folder, truth_words, sample):
    """Readability's word F1 against the truth on up to `sample` pages with
    main content, spread evenly over them in name order: the visible text of
    its article's HTML, the same as of a piece."""
    if READABILITY["missing"]:
        return {"missing": READABILITY["missing"]}
    pages = sorted(n for n, w in truth_words.items() if w is not None)
    if sample and len(pages) > sample:
        pages = [pages[k * len(pages) // sample] for k in range(sample)]
    started = time.monotonic()
    articles = readability_articles([os.path.join(folder, n) for n in pages])
    scores = {}
    for name in pages:
        article = articles.get(os.path.join(folder, name))
        scores[name] = 0.0 if article is None else f1(visible_words(article),
                                                      truth_words[name])
    mean, share = figures(scores)
    return {"missing": None, "pages": len(pages), "mean_f1": mean, "share_good": share,
            "seconds": time.monotonic() - started}


def score_corpus(cli, corpus, pages, have_suggest, worst, pairs=(), truth_shown=0,
                 readability_pages=100, around=True, around_at=0.5):
    with tempfile.TemporaryDirectory(prefix="vantrel-suggest-%s-" % corpus.name) as folder:
        extension, truth = prepare(corpus, folder, pages)
        truth_words = {name: None if content is None else visible_words(content)
                       for name, content in truth.items()}
        row = {"corpus": corpus.name, "title": corpus.title, "held_out": corpus.held_out,
               "files": len(truth),
               "without_content": sum(1 for w in truth_words.values() if w is None)}
        base_scores, base_stray = scores_of(
            pieces_of(cli, corpus, folder, extension, *BASELINE), truth_words)
        row["baseline"] = dict(zip(("mean_f1", "share_good"), figures(base_scores)),
                               stray=base_stray)
        row["readability"] = readability_row(folder, truth_words, readability_pages)
        if truth_shown:
            show_truth(corpus, truth, truth_shown)
        row["pairs"] = []
        for start, end, regex in pairs:
            scores, stray = scores_of(pieces_of(cli, corpus, folder, extension, start, end,
                                                regex), truth_words)
            row["pairs"].append(dict(zip(("mean_f1", "share_good"), figures(scores)),
                                     start=start, end=end, regex=regex, stray=stray,
                                     worst=lowest(scores, worst)))
        if not have_suggest:
            return row
        result = suggest(cli, corpus, folder, extension)
        row["suggest"] = {k: result[k] for k in ("status", "seconds", "peak_kib", "stderr")}
        row["candidates"], first, best = score_candidates(cli, corpus, folder, extension,
                                                          result, truth_words)
        row["top1"] = dict(zip(("mean_f1", "share_good"), figures(first)),
                           stray=row["candidates"][0]["stray"] if row["candidates"] else 0)
        row["best_of_3"] = dict(zip(("mean_f1", "share_good"), figures(best)))
        row["worst"] = lowest(first, worst)
        chosen = around_text(truth, around_at) if around else None
        if chosen:
            result = suggest(cli, corpus, folder, extension, ["--around=" + chosen[1]])
            candidates, first, best = score_candidates(cli, corpus, folder, extension,
                                                       result, truth_words)
            row["around"] = {"page": chosen[0], "text": chosen[1],
                             "status": result["status"], "stderr": result["stderr"],
                             "seconds": result["seconds"], "peak_kib": result["peak_kib"],
                             "candidates": candidates,
                             "top1": dict(zip(("mean_f1", "share_good"), figures(first))),
                             "best_of_3": dict(zip(("mean_f1", "share_good"), figures(best))),
                             "worst": lowest(first, worst)}
        return row


def speed_row(cli, pages, have_suggest, given_folder=None):
    """Time (median of 3, after one call to warm the cache) and peak memory
    of --suggest on `pages` template pages of about 20 KB, or on the *.htm
    pages of a given folder, beside an ordinary run with the baseline pair
    and --dry-run."""
    with tempfile.TemporaryDirectory(prefix="vantrel-suggest-speed-") as made:
        if given_folder:
            folder, charset = given_folder, []
            sizes = {p.name: p.stat().st_size for p in pathlib.Path(folder).glob("*.htm")}
            articles = list(sizes.values())
        else:
            folder, charset = made, ["--charset", "utf-8"]
            truth = suggest_sites.write_site(folder, pages, 21, page_bytes=20000)
            sizes = {p.name: p.stat().st_size for p in pathlib.Path(folder).iterdir()}
            articles = [sizes[n] for n, content in truth.items() if content is not None]
        row = {"corpus": "speed", "folder": given_folder, "files": len(sizes),
               "bytes": sum(sizes.values()),
               "article_bytes": statistics.mean(articles) if articles else 0}
        run = [cli, "--quiet", "--dry-run", "--ext", "htm", "--regex", "--start",
               BASELINE[0], "--end", BASELINE[1]] + charset + [folder]
        run_measured(run)
        times = [run_measured(run) for _ in range(3)]
        row["run_seconds"] = statistics.median(t[3] for t in times)
        row["run_peak_kib"] = max(t[4] for t in times)
        if have_suggest:
            call = [cli, "--suggest", "--json", "--ext", "htm"] + charset + [folder]
            run_measured(call)
            times = [run_measured(call) for _ in range(3)]
            row["suggest_status"] = times[0][0]
            row["suggest_seconds"] = statistics.median(t[3] for t in times)
            row["suggest_peak_kib"] = max(t[4] for t in times)
        return row


def around_speed_row(cli, pages):
    """Time (median of 3, after one call to warm the cache) and peak memory
    of --suggest --around on `pages` made-up pages whose articles are about
    300 KB, the text taken from one page as for the sites."""
    with tempfile.TemporaryDirectory(prefix="vantrel-around-speed-") as folder:
        truth = suggest_sites.write_site(folder, pages, 22, page_bytes=300000, other_share=0)
        sizes = [p.stat().st_size for p in pathlib.Path(folder).iterdir()]
        page, text = around_text(truth)
        call = [cli, "--suggest", "--json", "--ext", "htm", "--charset", "utf-8",
                "--around=" + text, folder]
        run_measured(call)
        times = [run_measured(call) for _ in range(3)]
        return {"corpus": "around-speed", "files": len(sizes), "bytes": sum(sizes),
                "page": page, "text": text, "status": times[0][0],
                "seconds": statistics.median(t[3] for t in times),
                "peak_kib": max(t[4] for t in times)}


# -------------------------------------------------------------------- output

def fmt(value, percent=False):
    if value is None:
        return "-"
    return "%.1f%%" % (100 * value) if percent else "%.4f" % value


def shorten(text, width=60):
    text = json.dumps(text, ensure_ascii=False)[1:-1]
    return text if len(text) <= width else text[:width - 3] + "..."


def pair_figures(figs):
    """"mean / share at >= 0.99" of a figures dict, or "-"."""
    if not figs or figs.get("mean_f1") is None:
        return "-"
    return "%s / %s" % (fmt(figs["mean_f1"]), fmt(figs["share_good"], True))


def readability_cell(r):
    if r is None:
        return "-"
    if r.get("missing"):
        return r["missing"]
    return pair_figures(r) + ("" if r["pages"] >= 100 else " (%d)" % r["pages"])


def print_candidates(candidates):
    for c in candidates:
        print("  %s. %s%s ... %s  pieces %s (a run gives %d), F1 %s, >= 0.99 %s, "
              "on no-content pages %d%s" % (
                  c["rank"], "regex " if c["regex"] else "", shorten(c["start"]),
                  shorten(c["end"]), c["pieces"], c["pieces_run"], fmt(c["mean_f1"]),
                  fmt(c["share_good"], True), c["stray"],
                  "; basis: " + c["basis"] if c.get("basis") else ""))


def print_table(rows, speed, around_speed=None):
    """The table (mean F1 / share of pages at F1 >= 0.99 in each cell), then
    each site's candidates, the --around text and the speed rows."""
    print("\n| site | pages | no content | first | best of 3 | body pair | Readability | "
          "--around first | --around best of 3 | suggest time | suggest peak |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    for row in rows:
        s = row.get("suggest")
        a = row.get("around")
        print("| %s%s | %d | %d | %s | %s | %s | %s | %s | %s | %s | %s |" % (
            row["corpus"], " (held out)" if row.get("held_out") else "", row["files"],
            row["without_content"], pair_figures(row.get("top1")),
            pair_figures(row.get("best_of_3")), pair_figures(row["baseline"]),
            readability_cell(row.get("readability")),
            pair_figures(a["top1"]) if a else "-", pair_figures(a["best_of_3"]) if a else "-",
            "%.3f s" % s["seconds"] if s else "-",
            "%.1f MiB" % (s["peak_kib"] / 1024.0) if s else "-"))
    for row in rows:
        for n, p in enumerate(row["pairs"], 1):
            print("\n%s, given pair %d: %s%s ... %s: F1 %s, >= 0.99 %s, on no-content pages %d" % (
                row["corpus"], n, "regex " if p["regex"] else "", shorten(p["start"]),
                shorten(p["end"]), fmt(p["mean_f1"]), fmt(p["share_good"], True), p["stray"]))
            if p["worst"]:
                print("  lowest F1: " + ", ".join("%s %.3f" % (m, v) for v, m in p["worst"]))
        if "top1" not in row:
            continue
        top1 = row["top1"]
        met = (top1["mean_f1"] or 0) >= TARGET_MEAN and (top1["share_good"] or 0) >= TARGET_SHARE
        print("\n%s (%s%s): --suggest exit status %d%s; target (mean F1 >= %.2f, %d%% of "
              "pages >= 0.99) %s; pieces on no-content pages %d" % (
                  row["corpus"], row["title"], ", held out" if row.get("held_out") else "",
                  row["suggest"]["status"],
                  (": " + row["suggest"]["stderr"].splitlines()[-1])
                  if row["suggest"]["stderr"] else "", TARGET_MEAN, 100 * TARGET_SHARE,
                  "met" if met else "not met", top1["stray"]))
        print_candidates(row["candidates"])
        if row["worst"]:
            print("  lowest F1 of the first: " + ", ".join(
                "%s %.3f" % (n, v) for v, n in row["worst"]))
        a = row.get("around")
        if a:
            print("  --around from %s: \"%s\": exit status %d%s, %.3f s, %.1f MiB" % (
                a["page"], shorten(a["text"], 100), a["status"],
                (": " + a["stderr"].splitlines()[-1]) if a["stderr"] else "", a["seconds"],
                a["peak_kib"] / 1024.0))
            print_candidates(a["candidates"])
            if a["worst"]:
                print("  lowest F1 of the first: " + ", ".join(
                    "%s %.3f" % (n, v) for v, n in a["worst"]))
        r = row.get("readability")
        if r and not r.get("missing"):
            print("  Readability on %d pages: %.1f s" % (r["pages"], r["seconds"]))
    if speed:
        print("\nSpeed: %d %s, %.1f MB (articles %.1f KB on average); a run "
              "with the body pair (--dry-run) %.3f s, peak %.1f MiB" % (
                  speed["files"], "pages of " + speed["folder"] if speed["folder"]
                  else "template pages", speed["bytes"] / 1e6, speed["article_bytes"] / 1e3,
                  speed["run_seconds"], speed["run_peak_kib"] / 1024.0))
        if "suggest_seconds" in speed:
            print("       --suggest: %.3f s (target %.0f s: %s), peak %.1f MiB (exit status %d)" % (
                speed["suggest_seconds"], TARGET_SECONDS,
                "met" if speed["suggest_seconds"] <= TARGET_SECONDS else "not met",
                speed["suggest_peak_kib"] / 1024.0, speed["suggest_status"]))
    if around_speed:
        print("\n--around speed: %d made-up pages, %.1f MB, text from %s: %.3f s (target "
              "%.0f s: %s), peak %.1f MiB (exit status %d)" % (
                  around_speed["files"], around_speed["bytes"] / 1e6, around_speed["page"],
                  around_speed["seconds"], TARGET_SECONDS,
                  "met" if around_speed["seconds"] <= TARGET_SECONDS else "not met",
                  around_speed["peak_kib"] / 1024.0, around_speed["status"]))


def default_cli():
    for candidate in ("build/cli/vantrel-cli", "build-release/cli/vantrel-cli"):
        path = HERE.parent / candidate
        if path.is_file():
            return str(path)
    return shutil.which("vantrel-cli") or "vantrel-cli"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cli", default=default_cli(), help="vantrel-cli to score")
    parser.add_argument("--corpora", default="",
                        help="comma-separated (default: every site but the held-out ones), "
                             "of: " + ", ".join(c.name for c in CORPORA))
    parser.add_argument("--held-out", action="store_true",
                        help="also score the held-out sites (%s); only at the end, "
                             "never while tuning" % ", ".join(HELD_OUT))
    parser.add_argument("--keep-aside", default="",
                        help="sites to leave out, comma-separated")
    parser.add_argument("--pages", type=int, default=0,
                        help="pages per corpus (0: 200 made-up, every real one)")
    parser.add_argument("--speed-pages", type=int, default=10000,
                        help="template pages of about 20 KB for the speed row (0: none)")
    parser.add_argument("--speed-folder", metavar="DIR",
                        help="time --suggest on this folder's *.htm pages instead "
                             "(for example corpus A of vantrel-make-corpus)")
    parser.add_argument("--worst", type=int, default=5,
                        help="list this many pages of lowest F1 per corpus")
    parser.add_argument("--pair", nargs=2, action="append", default=[],
                        metavar=("START", "END"), help="also score this literal pair")
    parser.add_argument("--regex-pair", nargs=2, action="append", default=[],
                        metavar=("START", "END"), help="also score this pattern pair")
    parser.add_argument("--show-truth", type=int, default=0, metavar="N",
                        help="show the main content's ends on N pages per corpus")
    parser.add_argument("--readability", metavar="DIR", default="/tmp/vantrel-readability",
                        help="where `npm install @mozilla/readability jsdom` ran, for the "
                             "reader-view column (default: %(default)s)")
    parser.add_argument("--no-readability", action="store_true",
                        help="leave out the reader-view column")
    parser.add_argument("--readability-pages", type=int, default=100, metavar="N",
                        help="score Readability on up to N pages per site, spread evenly "
                             "(0: all; default %(default)s)")
    parser.add_argument("--no-around", action="store_true",
                        help="leave out the --around columns")
    parser.add_argument("--around-at", type=float, default=0.5, metavar="F",
                        help="paste from the page F of the way through a site's pages "
                             "with content, in name order (default %(default)s: the "
                             "middle one); other values check that --around holds for "
                             "text from other pages")
    parser.add_argument("--around-speed-pages", type=int, default=100, metavar="N",
                        help="made-up pages of about 300 KB for the --around speed row "
                             "(0: none; default %(default)s)")
    parser.add_argument("--truth-only", action="store_true",
                        help="only show the truth rule's ends (--show-truth N, default 3) "
                             "and the pages without main content; run nothing")
    parser.add_argument("--json", action="store_true", help="JSON Lines, one per row")
    parser.add_argument("--run-child", metavar="PATH",
                        help="vantrel-run-child (default: the one built beside --cli)")
    args = parser.parse_args()

    global RUN_CHILD
    RUN_CHILD = args.run_child or str(
        pathlib.Path(shutil.which(args.cli) or args.cli).resolve().parent.parent
        / "bench" / "vantrel-run-child")
    if not os.access(RUN_CHILD, os.X_OK):
        parser.error("no vantrel-run-child at %s (build with -DVANTREL_BENCH=ON, "
                     "or give --run-child)" % RUN_CHILD)

    readability_setup(args.readability, not args.no_readability and not args.truth_only)
    known = {c.name: c for c in CORPORA}
    if args.corpora:
        wanted = [n for n in args.corpora.split(",") if n]
    else:
        wanted = [c.name for c in CORPORA if args.held_out or not c.held_out]
    aside = {n for n in args.keep_aside.split(",") if n}
    unknown = [n for n in wanted + sorted(aside) if n not in known]
    if unknown:
        parser.error("unknown corpus: " + ", ".join(unknown))
    help_text = subprocess.run([args.cli, "--help"], capture_output=True, text=True).stdout
    have_suggest = "--suggest" in help_text
    if not have_suggest:
        print("%s has no --suggest: scoring the body pair only" % args.cli, file=sys.stderr)
    held = [n for n in wanted if known[n].held_out and not args.held_out]
    if held:
        print("held out, not scored: %s (only with --held-out, at the end)" % ", ".join(held),
              file=sys.stderr)
    missing = []
    rows = []
    for name in wanted:
        corpus = known[name]
        if name in aside or name in held:
            continue
        if corpus.source and not have_pages(corpus):
            missing.append(corpus.package)
            continue
        if args.truth_only:
            with tempfile.TemporaryDirectory(prefix="vantrel-truth-") as folder:
                show_truth(corpus, prepare(corpus, folder, args.pages)[1], args.show_truth or 3)
            continue
        print("%s ..." % name, file=sys.stderr)
        pairs = ([(a, b, False) for a, b in args.pair] +
                 [(a, b, True) for a, b in args.regex_pair])
        rows.append(score_corpus(args.cli, corpus, args.pages, have_suggest, args.worst,
                                 pairs, args.show_truth, args.readability_pages,
                                 not args.no_around, args.around_at))
    if missing:
        print("missing packages (sites skipped): %s" % " ".join(sorted(set(missing))),
              file=sys.stderr)
    if args.truth_only:
        return 0
    speed = None
    if args.speed_pages or args.speed_folder:
        speed = speed_row(args.cli, args.speed_pages, have_suggest, args.speed_folder)
    around_speed = None
    if args.around_speed_pages and have_suggest and not args.no_around:
        around_speed = around_speed_row(args.cli, args.around_speed_pages)
    if args.json:
        for row in rows + [r for r in (speed, around_speed) if r]:
            print(json.dumps(row, ensure_ascii=False))
    else:
        print_table(rows, speed, around_speed)
    # 0 and 1 are --suggest's answers (a suggestion, none); anything else
    # means the call itself failed, which the figures alone would hide.
    failed = [r["corpus"] for r in rows if r.get("suggest", {}).get("status", 0) not in (0, 1)]
    failed += [r["corpus"] + " --around" for r in rows
               if r.get("around", {}).get("status", 0) not in (0, 1)]
    if speed and speed.get("suggest_status", 0) not in (0, 1):
        failed.append("speed")
    if around_speed and around_speed["status"] not in (0, 1):
        failed.append("around-speed")
    if failed:
        print("--suggest failed on: " + ", ".join(failed), file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
