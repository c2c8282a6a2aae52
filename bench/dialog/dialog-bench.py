"""Times t48-print-dialog as a user meets it, in a real window read through AT-SPI:
from starting the program until its Color Options tab is in the dialog and its Quick
Color popup is showing, and from ticking Color as Grayscale until the window shows the
rules' result (Color Separation insensitive; unticking: sensitive again).

    xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
        /usr/bin/python3 bench/dialog/dialog-bench.py BUILD_DIR [RUNS]

The figures include AT-SPI's own round trips (each look at the window is a D-Bus call
to the dialog), polled every millisecond: they are what a screen reader would see."""

import os
import statistics
import sys
import time

here = os.path.dirname(os.path.abspath(__file__))
source = os.path.dirname(os.path.dirname(here))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
os.environ.update(T48_SOURCE_DIR=source, T48_BINARY_DIR=build)
sys.path.insert(0, os.path.join(source, "tests", "dialog"))

import pyatspi  # noqa: E402

from atspi_driver import find, find_all, press, select_tab, sensitive, showing  # noqa: E402
from dialog_fixture import DialogWorld, wait_for  # noqa: E402


def until(probe):
    return wait_for("the window", probe, interval=0.001)


def open_dialog(world):
    started = time.monotonic()
    dialog = world.start_dialog()
    app = until(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                              if a is not None and a.get_process_id() == dialog.popen.pid), None))
    tabs = until(lambda: next((t for t in find_all(app, "page tab list")
                               if "Color Options" in [c.name for c in t]), None))
    page = select_tab(tabs, "Color Options")
    until(lambda: showing(find(page, "combo box", "Quick Color")))
    return time.monotonic() - started, page


def rules_round_trip(page):
    grey = find(page, "check box", "Color as Grayscale")
    separation = find(page, "check box", "Color Separation")
    times = []
    for wanted in (False, True):
        started = time.monotonic()
        press(grey)
        until(lambda: sensitive(separation) == wanted)
        times.append(time.monotonic() - started)
    return times


def main():
    world = DialogWorld()
    opening, change = [], []
    try:
        for _ in range(runs):
            seconds, page = open_dialog(world)
            opening.append(seconds)
            change.extend(rules_round_trip(page))
            world.dialog.stop()
            world.processes.remove(world.dialog)
    finally:
        world.stop()
    for name, values in (("start until the tab is shown", opening),
                         ("a tick until the rules' result shows", change)):
        print(f"{name}: median {statistics.median(values) * 1000:.1f} ms, "
              f"min {min(values) * 1000:.1f} ms, max {max(values) * 1000:.1f} ms "
              f"({len(values)} times)")


main()
