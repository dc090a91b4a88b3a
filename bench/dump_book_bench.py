#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program's `--dump-book` of the generated book of 150,000 phrases beside
`cat` of the book's files, from the outside, and the start-up of the program
beside a C program that only starts.

    bench/dump_book_bench.py BUILD [--runs N]

BUILD is the bench build folder (build/bench): its korvin, bench/korvin_write_book
and bench/korvin_start_only. The script writes the book (3,000 headings) and a
book of one heading into a temporary folder and runs, in turns, after one round
that is not counted:

  dump       korvin --dump-book BOOK > /dev/null
  dump1      korvin --dump-book ONE-HEADING-BOOK > /dev/null  (the start-up)
  cat        cat BOOK/* > /dev/null
  version    korvin --version > /dev/null
  help       korvin --help > /dev/null
  start      korvin_start_only

Each run's wall time and its CPU time (user + system, as the system accounts
the finished child). Printed: the median of each, and the medians of the
rounds' ratios (dump - dump1) / cat, and version, help and dump1 over start.
"""
import argparse
import os
import pathlib
import resource
import statistics
import subprocess
import sys
import tempfile
import time


def run(command, stdin=subprocess.DEVNULL):
    """(wall seconds, CPU seconds) of one run of `command`, output thrown away."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    process = subprocess.Popen(command, stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    process.wait()
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if process.returncode != 0:
        sys.exit(f"{command[0]} failed with status {process.returncode}")
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=9)
    options = parser.parse_args()
    build = pathlib.Path(options.build).resolve()
    korvin = str(build / "korvin")
    writer = str(build / "bench" / "korvin_write_book")
    start_only = str(build / "bench" / "korvin_start_only")

    with tempfile.TemporaryDirectory(prefix="korvin-dump-bench-") as temporary:
        book = pathlib.Path(temporary) / "book"
        one = pathlib.Path(temporary) / "one"
        subprocess.run([writer, str(book)], check=True, stdout=subprocess.DEVNULL)
        subprocess.run([writer, str(one), "1"], check=True, stdout=subprocess.DEVNULL)
        files = sorted(str(path) for path in book.iterdir())
        commands = {
            "dump": [korvin, "--dump-book", str(book)],
            "dump1": [korvin, "--dump-book", str(one)],
            "cat": ["cat"] + files,
            "version": [korvin, "--version"],
            "help": [korvin, "--help"],
            "start": [start_only],
        }
        times = {name: [] for name in commands}
        for round_ in range(options.runs + 1):
            measured = {name: run(command) for name, command in commands.items()}
            if round_ == 0:
                continue  # warm-up: the page cache and the libraries
            for name, figures in measured.items():
                times[name].append(figures)

    print(f"{'':9} {'wall ms':>9} {'cpu ms':>9}   (medians of {options.runs} runs)")
    for name, figures in times.items():
        print(f"{name:9} {statistics.median(f[0] for f in figures) * 1e3:9.1f} "
              f"{statistics.median(f[1] for f in figures) * 1e3:9.1f}")

    def ratio(numerator, denominator, which):
        pairs = [(numerator(i), times[denominator][i][which]) for i in range(options.runs)]
        values = [a / b for a, b in pairs if b > 0]
        return f"{statistics.median(values):.2f}" if values else "-"

    for which, label in ((0, "wall"), (1, "cpu")):
        dump = ratio(lambda i: times["dump"][i][which] - times["dump1"][i][which], "cat", which)
        print(f"{label:4}: (dump - dump1) / cat = {dump}", end="")
        for name in ("version", "help", "dump1"):
            print(f"   {name} / start = {ratio(lambda i, n=name: times[n][i][which], 'start', which)}", end="")
        print()
    # The system accounts CPU time in steps of its clock tick: a start-up's
    # CPU time is too coarse to divide by; its wall time is the figure.
    return 0


if __name__ == "__main__":
    sys.exit(main())
