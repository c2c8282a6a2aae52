"""Times t48-print-dialog as a user meets it, in a real window read through AT-SPI:
from starting the program until its Color Options tab is in the dialog and its Quick
Color popup is showing, and from ticking Color as Grayscale until the window shows the
rules' result (Color Separation insensitive; unticking: sensitive again). Then beside
GTK's own print dialog on the same cupsd and printer, the two started in turn RUNS times
each: from the start until the dialog's first tab (General) shows, with the printer
answering and again with it switched off (its snmpd stopped), one line per program and
state and the ratio of the medians, t48-print-dialog / GTK's own.

    xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
        /usr/bin/python3 bench/dialog/dialog-bench.py BUILD_DIR [RUNS]

The figures include AT-SPI's own round trips (each look at the window is a D-Bus call
to the dialog), polled every millisecond: they are what a screen reader would see."""

import os
import signal
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

OURS = "dialog/t48-print-dialog"
GTK_OWN = "tests/dialog/gtk-own-print-dialog"


def until(probe):
    return wait_for("the window", probe, interval=0.001)


def start_until_tab(world, program, tab):
    """The start time and the dialog's tab list once it holds `tab`."""
    started = time.monotonic()
    dialog = world.start_dialog(program=program)
    app = until(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                              if a is not None and a.get_process_id() == dialog.popen.pid), None))
    tabs = until(lambda: next((t for t in find_all(app, "page tab list")
                               if tab in [c.name for c in t]), None))
    return started, tabs


def close_dialog(world):
    world.dialog.stop()
    world.processes.remove(world.dialog)


def open_dialog(world):
    started, tabs = start_until_tab(world, OURS, "Color Options")
    page = select_tab(tabs, "Color Options")
    until(lambda: showing(find(page, "combo box", "Quick Color")))
    return time.monotonic() - started, page


def first_tab_shown(world, program):
    started, tabs = start_until_tab(world, program, "General")
    until(lambda: showing(next(t for t in tabs if t.name == "General")))
    seconds = time.monotonic() - started
    close_dialog(world)
    return seconds


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


def in_turn(world):
    times = {OURS: [], GTK_OWN: []}
    for _ in range(runs):
        for program, values in times.items():
            values.append(first_tab_shown(world, program))
    return times


def switch_printer_off(world):
    snmpd = next(p for p in world.processes if p.popen.args[0] == "/usr/sbin/snmpd")
    snmpd.stop()
    world.processes.remove(snmpd)


def summary(values):
    return (f"median {statistics.median(values) * 1000:.1f} ms, "
            f"min {min(values) * 1000:.1f} ms, max {max(values) * 1000:.1f} ms "
            f"({len(values)} times)")


def main():
    # A bench stopped from outside still stops the world it started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    world = DialogWorld()
    opening, change, compared = [], [], {}
    try:
        for _ in range(runs):
            seconds, page = open_dialog(world)
            opening.append(seconds)
            change.extend(rules_round_trip(page))
            close_dialog(world)
        compared["printer answering"] = in_turn(world)
        switch_printer_off(world)
        compared["printer switched off"] = in_turn(world)
    finally:
        world.stop()
    for name, values in (("start until the tab is shown", opening),
                         ("a tick until the rules' result shows", change)):
        print(f"{name}: {summary(values)}")
    for state, times in compared.items():
        for program, values in times.items():
            print(f"{state}, {os.path.basename(program)} start until its first tab shows: "
                  f"{summary(values)}")
        ratio = statistics.median(times[OURS]) / statistics.median(times[GTK_OWN])
        print(f"{state}: t48-print-dialog / GTK's own = {ratio:.2f}")


main()
