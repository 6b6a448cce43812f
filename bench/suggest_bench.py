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


def suggest(cli, corpus, folder, extension):
    """The candidates of `--suggest --json`, with the call's figures."""
    status, out, err, seconds, peak = run_measured(
        [cli, "--suggest", "--json", "--ext", extension] + corpus.charset_args() + [folder])
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


def score_corpus(cli, corpus, pages, have_suggest, worst, pairs=(), truth_shown=0):
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
        row["candidates"] = []
        per_candidate = []
        for c in result["candidates"]:
            pieces = pieces_of(cli, corpus, folder, extension, c["start"], c["end"],
                               bool(c.get("regex")))
            scores, stray = scores_of(pieces, truth_words)
            per_candidate.append(scores)
            mean, share = figures(scores)
            # The pieces it promised beside those a run with it gives.
            row["candidates"].append({"rank": c.get("rank"), "start": c["start"],
                                      "end": c["end"], "regex": bool(c.get("regex")),
                                      "pieces": c.get("pieces"), "pieces_run": len(pieces),
                                      "mean_f1": mean, "share_good": share, "stray": stray})
        content_pages = [n for n, w in truth_words.items() if w is not None]
        first = per_candidate[0] if per_candidate else {n: 0.0 for n in content_pages}
        best = {n: max((s[n] for s in per_candidate), default=0.0) for n in content_pages}
        row["top1"] = dict(zip(("mean_f1", "share_good"), figures(first)),
                           stray=row["candidates"][0]["stray"] if row["candidates"] else 0)
        row["best_of_3"] = dict(zip(("mean_f1", "share_good"), figures(best)))
        row["worst"] = lowest(first, worst)
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


# -------------------------------------------------------------------- output

def fmt(value, percent=False):
    if value is None:
        return "-"
    return "%.1f%%" % (100 * value) if percent else "%.4f" % value


def shorten(text, width=60):
    text = json.dumps(text, ensure_ascii=False)[1:-1]
    return text if len(text) <= width else text[:width - 3] + "..."


def print_table(rows, speed):
    print("\n| corpus | files | no content | pair | mean F1 | F1 >= 0.99 | "
          "best-of-3 F1 | best-of-3 >= 0.99 | pieces on no-content pages | "
          "suggest time | suggest peak |")
    print("|---|---|---|---|---|---|---|---|---|---|---|")
    for row in rows:
        lead = "| %s | %d | %d " % (row["corpus"], row["files"], row["without_content"])
        if "top1" in row:
            s = row["suggest"]
            print(lead + "| suggested | %s | %s | %s | %s | %d | %.3f s | %.1f MiB |" % (
                fmt(row["top1"]["mean_f1"]), fmt(row["top1"]["share_good"], True),
                fmt(row["best_of_3"]["mean_f1"]), fmt(row["best_of_3"]["share_good"], True),
                row["top1"]["stray"], s["seconds"], s["peak_kib"] / 1024.0))
        b = row["baseline"]
        print(lead + "| body pair | %s | %s | - | - | %d | - | - |" % (
            fmt(b["mean_f1"]), fmt(b["share_good"], True), b["stray"]))
        for n, p in enumerate(row["pairs"], 1):
            print(lead + "| given pair %d | %s | %s | - | - | %d | - | - |" % (
                n, fmt(p["mean_f1"]), fmt(p["share_good"], True), p["stray"]))
    for row in rows:
        for n, p in enumerate(row["pairs"], 1):
            print("\n%s, given pair %d: %s%s ... %s" % (
                row["corpus"], n, "regex " if p["regex"] else "", shorten(p["start"]),
                shorten(p["end"])))
            if p["worst"]:
                print("  lowest F1: " + ", ".join("%s %.3f" % (m, v) for v, m in p["worst"]))
        if "top1" not in row:
            continue
        top1 = row["top1"]
        met = (top1["mean_f1"] or 0) >= TARGET_MEAN and (top1["share_good"] or 0) >= TARGET_SHARE
        print("\n%s (%s): --suggest exit status %d%s; target (mean F1 >= %.2f, %d%% of "
              "pages >= 0.99) %s" % (
                  row["corpus"], row["title"], row["suggest"]["status"],
                  (": " + row["suggest"]["stderr"].splitlines()[-1])
                  if row["suggest"]["stderr"] else "", TARGET_MEAN, 100 * TARGET_SHARE,
                  "met" if met else "not met"))
        for c in row["candidates"]:
            print("  %s. %s%s ... %s  pieces %s (a run gives %d), F1 %s, >= 0.99 %s, "
                  "on no-content pages %d" % (
                      c["rank"], "regex " if c["regex"] else "", shorten(c["start"]),
                      shorten(c["end"]), c["pieces"], c["pieces_run"], fmt(c["mean_f1"]),
                fmt(c["share_good"], True), c["stray"]))
        if row["worst"]:
            print("  lowest F1 of the first: " + ", ".join(
                "%s %.3f" % (n, v) for v, n in row["worst"]))
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
                                 pairs, args.show_truth))
    if missing:
        print("missing packages (sites skipped): %s" % " ".join(sorted(set(missing))),
              file=sys.stderr)
    if args.truth_only:
        return 0
    speed = None
    if args.speed_pages or args.speed_folder:
        speed = speed_row(args.cli, args.speed_pages, have_suggest, args.speed_folder)
    if args.json:
        for row in rows + ([speed] if speed else []):
            print(json.dumps(row, ensure_ascii=False))
    else:
        print_table(rows, speed)
    # 0 and 1 are --suggest's answers (a suggestion, none); anything else
    # means the call itself failed, which the figures alone would hide.
    failed = [r["corpus"] for r in rows if r.get("suggest", {}).get("status", 0) not in (0, 1)]
    if speed and speed.get("suggest_status", 0) not in (0, 1):
        failed.append("speed")
    if failed:
        print("--suggest failed on: " + ", ".join(failed), file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
