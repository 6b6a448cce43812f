#!/usr/bin/env python3
"""How long `vantrel-cli --text` takes on pages of deeply nested elements.

Each page is one piece between <article> and </article>: nested <div>s 10,000,
40,000 and 200,000 deep (the last 2.2 MB), and three pages of about 4 MB:
nested <span>s with a word in each, 350,000 <div>a</div> side by side, and
the same side by side at the deepest level still parsed as elements (the
depth bound less one), where each tag costs the parser most. Each page is
run --rounds times; the best wall clock, with its user and system time, and
the peak memory are printed.

Usage: text_depth_bench.py [--cli PATH] [--old-cli PATH] [--rounds N]
                           [--bound N]
"""
import argparse
import os
import pathlib
import resource
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent


def pages(bound):
    yield "nested div 10,000", "<div>" * 10000 + "x" + "</div>" * 10000
    yield "nested div 40,000", "<div>" * 40000 + "x" + "</div>" * 40000
    yield "nested div 200,000", "<div>" * 200000 + "x" + "</div>" * 200000
    yield "nested span, a word each", "<span>w " * 500000
    yield "350,000 div side by side", "<div>a</div>" * 350000
    deep = bound - 1
    yield (f"350,000 div side by side at depth {bound}",
           "<div>" * deep + "<div>a</div>" * 350000 + "</div>" * deep)


def run(cli, folder):
    for old in folder.glob("Export*"):
        old.unlink()
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run([cli, "--text", "--quiet", "--ext", "htm", "--start",
                    "<article>", "--end", "</article>", str(folder)],
                   check=True, stdout=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (wall, after.ru_utime - before.ru_utime,
            after.ru_stime - before.ru_stime, after.ru_maxrss)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cli", default=str(HERE.parent / "build" / "cli" /
                                             "vantrel-cli"))
    parser.add_argument("--old-cli", help="an older vantrel-cli beside it")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--bound", type=int, default=256,
                        help="the depth bound of the build (kMaxHtmlDepth)")
    args = parser.parse_args()
    clis = [("new", args.cli)] + ([("old", args.old_cli)]
                                  if args.old_cli else [])
    print(f"load average {os.getloadavg()[0]:.1f}")
    with tempfile.TemporaryDirectory() as work:
        folder = pathlib.Path(work)
        for name, body in pages(args.bound):
            page = "<html><body><article>" + body + "</article></body></html>"
            (folder / "a.htm").write_text(page)
            for label, cli in clis:
                best = min((run(cli, folder) for _ in range(args.rounds)),
                           key=lambda r: r[0])
                wall, user, system, _ = best
                print(f"{name} ({len(page) / 1e6:.1f} MB), {label}: "
                      f"{wall:.3f} s (user {user:.3f} s, system "
                      f"{system:.3f} s)")
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    print(f"peak memory of a run: {peak / 1024:.1f} MiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
