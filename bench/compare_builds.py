#!/usr/bin/env python3
"""Runs the same benchmark of two builds in turn and sets their figures side by side.

    compare_builds.py [--runs N] OLD_PROGRAM NEW_PROGRAM -- ARGS...

Each program runs N times (3), old then new, with the same ARGS. Every line with
"cpu X ms  wall Y ms" is a figure; the medians of the runs are compared. A figure counts as slower
when the new median processor time is above 1.15 times the old one and above it by 2 ms: the
machine is shared, and smaller differences come and go from run to run.
"""
import re
import statistics
import subprocess
import sys

FIGURE = re.compile(r"^\s*(\S.*?)\s+cpu\s+([\d.]+) ms\s+wall\s+([\d.]+) ms")


def figures(cmd):
    out = subprocess.run(cmd, capture_output=True, text=True, check=False)
    if out.returncode not in (0, 1):
        sys.exit(f"{cmd[0]} ended with {out.returncode}:\n{out.stdout}\n{out.stderr}")
    found = {}
    for line in out.stdout.splitlines():
        m = FIGURE.match(line)
        if m:
            found[m.group(1).strip()] = (float(m.group(2)), float(m.group(3)))
    return found, out.stdout


def main():
    args = sys.argv[1:]
    runs = 3
    if args[:1] == ["--runs"]:
        runs, args = int(args[1]), args[2:]
    if "--" not in args or args.index("--") != 2:
        sys.exit(__doc__)
    old, new, rest = args[0], args[1], args[3:]
    seen = {"old": {}, "new": {}}
    order = []
    for i in range(runs):
        for which, program in (("old", old), ("new", new)):
            found, text = figures([program] + rest)
            if i == 0 and which == "new":
                print(text)
            for name, value in found.items():
                if name not in order:
                    order.append(name)
                seen[which].setdefault(name, []).append(value)
    print(f"{'figure':46} {'old cpu':>10} {'new cpu':>10} {'new/old':>8}   (medians of {runs} runs each, ms)")
    slower = 0
    for name in order:
        if name not in seen["old"] or name not in seen["new"]:
            print(f"{name:46} only in {'new' if name in seen['new'] else 'old'}")
            continue
        o = statistics.median(v[0] for v in seen["old"][name])
        n = statistics.median(v[0] for v in seen["new"][name])
        worse = n > 1.15 * o and n - o > 2
        slower += worse
        print(f"{name:46} {o:10.2f} {n:10.2f} {n / max(o, 1e-3):8.2f}   {'SLOWER' if worse else 'ok'}")
    print(f"{slower} figure(s) slower")
    return 1 if slower else 0


if __name__ == "__main__":
    sys.exit(main())
