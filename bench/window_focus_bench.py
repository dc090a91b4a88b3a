#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The time from the start of the program to the first focus event a screen
reader gets from its window, beside a plain Qt window started the same way.

    bench/window_focus_bench.py KORVIN YARDSTICK [--runs N] [--book BOOK]

KORVIN is build/bench/korvin, YARDSTICK build/bench/bench/korvin_qt_window
(a main window with one focused text field). Runs on a private desktop
(tests/listener/desktop.sh: Xvfb, a session bus with the accessibility bus,
openbox), which it starts itself. Each run starts the program, listens on the
accessibility bus for "object:state-changed:focused" from the program's
process, and ends the program; the two programs take turns, after one run of
each that is not counted. Prints the median, minimum and maximum of each and
the median of the pairs' ratios. Needs /usr/bin/python3 with python3-pyatspi.
"""
import argparse
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
INSIDE = "KORVIN_FOCUS_BENCH_INSIDE"


def first_focus(command, timeout):
    """Seconds from the start of `command` to the first focus event of its
    process; None when none came within `timeout` seconds."""
    import pyatspi
    from gi.repository import GLib

    process = None
    seen = {}

    def on_focus(event):
        if event.detail1 != 1 or process is None or "at" in seen:
            return
        try:
            pid = event.source.get_process_id()
        except Exception:
            return
        if pid == process.pid:
            seen["at"] = time.monotonic()
            pyatspi.Registry.stop()

    def give_up():
        pyatspi.Registry.stop()
        return False

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    timer = GLib.timeout_add(int(timeout * 1000), give_up)
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        pyatspi.Registry.start()
    finally:
        pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
        if "at" not in seen:
            GLib.source_remove(timer)
        process.terminate()
        try:
            process.wait(20)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    return seen["at"] - start if "at" in seen else None


def report(name, times):
    ms = [t * 1000 for t in times]
    print(f"{name:10} median {statistics.median(ms):7.1f} ms   min {min(ms):7.1f}   max {max(ms):7.1f}   "
          f"({len(ms)} runs)")


def inside(options):
    korvin_times, yardstick_times, ratios = [], [], []
    with tempfile.TemporaryDirectory(prefix="korvin-focus-") as temporary:
        for run in range(options.runs + 1):
            home = pathlib.Path(temporary) / f"home{run}"
            korvin = [options.korvin, "--home", str(home)] + ([options.book] if options.book else [])
            a = first_focus(korvin, 30)
            b = first_focus([options.yardstick], 30)
            if a is None or b is None:
                print(f"run {run}: no focus event from {'korvin' if a is None else 'the yardstick'}")
                continue
            if run == 0:
                continue  # warm-up: caches of fonts, libraries and the bus
            korvin_times.append(a)
            yardstick_times.append(b)
            ratios.append(a / b)
    if not korvin_times:
        return 1
    report("korvin", korvin_times)
    report("yardstick", yardstick_times)
    print(f"korvin / yardstick: median of the pairs' ratios {statistics.median(ratios):.2f}")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("korvin")
    parser.add_argument("yardstick")
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--book", help="a book to open at the start")
    options = parser.parse_args()
    options.korvin = os.path.abspath(options.korvin)
    options.yardstick = os.path.abspath(options.yardstick)
    if options.book:
        options.book = os.path.abspath(options.book)
    if os.environ.get(INSIDE):
        return inside(options)
    environment = dict(os.environ, **{INSIDE: "1"})
    return subprocess.run([str(HERE.parent / "tests" / "listener" / "desktop.sh"), "/usr/bin/python3",
                           str(pathlib.Path(__file__).resolve())] + sys.argv[1:], env=environment).returncode


if __name__ == "__main__":
    sys.exit(main())
