"""t48-print-dialog in a real window under Xvfb, read and driven through AT-SPI: the
Color Options tab and its two panes, the rules' result in the widgets, the tab following
the selected queue, the profile window, the printed job's options, and the dialog's life
from its start to each way of closing it. GTK's own dialog on the same queues, as every
GTK program shows them: the options on its Color tab, with the profiles stored on the
printer that t48-queue-profiles put into the queue's PPD."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402

from atspi_driver import (checked, choices, choose, chosen, close_window, controls, find,  # noqa: E402
                          find_all, find_labelled, focus_window, press, screenshot, select_tab,
                          sensitive, showing, state, table_rows, text_of, toggle_cell, type_text)
from dialog_fixture import BINARY, DialogWorld, read, wait_for  # noqa: E402

SHOTS = os.path.join(BINARY, "screenshots")
os.makedirs(SHOTS, exist_ok=True)


class PrintDialogWindowTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.world = DialogWorld()
        try:
            cls.world.start_dialog()
            cls.app = cls.world.app()
            cls.tabs = wait_for("the dialog's tabs", lambda: next(
                (t for t in find_all(cls.app, "page tab list")
                 if "Color Options" in [c.name for c in t]), None))
        except BaseException:
            cls.world.stop()  # tearDownClass does not run after a failed setUpClass
            raise

    @classmethod
    def tearDownClass(cls):
        cls.world.stop()

    def panel(self):
        return select_tab(self.tabs, "Color Options")

    def combo(self, name, under=None):
        return find(under or self.panel(), "combo box", name)

    def test_1_tab_holds_both_panes_controls(self):
        page = self.panel()
        quick = self.combo("Quick Color", page)
        wait_for("Quick Color showing", lambda: showing(quick))
        # What a screen reader reads: the control's name, then its value.
        self.assertEqual((quick.name, chosen(quick)), ("Quick Color", "Automatic"))
        color = controls(page)
        screenshot(os.path.join(SHOTS, "color-options.png"))
        choose(quick, "Custom")
        press(find(page, "push button", "Advanced Color Options"))
        wait_for("the advanced pane", lambda: find_all(page, "push button", "Hide Advanced Options"))
        advanced = controls(page)
        self.assertEqual((len(color), len(advanced)), (13, 46),
                         [(c.getRoleName(), c.name) for c in color + advanced])
        press(find(page, "push button", "Hide Advanced Options"))
        wait_for("the color pane again", lambda: find_all(page, "push button", "Advanced Color Options"))

    def test_2_grayscale_disables_the_advanced_popups(self):
        page = self.panel()
        choose(self.combo("Quick Color", page), "Custom")
        box = find(page, "check box", "Color as Grayscale")
        if not box.getState().contains(pyatspi.STATE_CHECKED):
            press(box)
        wait_for("the tick", lambda: box.getState().contains(pyatspi.STATE_CHECKED))
        press(find(page, "push button", "Advanced Color Options"))
        find(page, "push button", "Hide Advanced Options")
        popups = find_all(page, "combo box")
        self.assertEqual((len(popups), sum(not sensitive(p) for p in popups)), (21, 15))
        screenshot(os.path.join(SHOTS, "advanced-color-options.png"))
        press(find(page, "push button", "Hide Advanced Options"))

    def test_3_each_queue_keeps_its_choices(self):
        general = select_tab(self.tabs, "General")
        printers = find(general, "table", "")
        rows = table_rows(printers)
        lab = next(i for i, row in enumerate(rows) if "T48_Lab" in row)
        printers.queryTable().addRowSelection(lab)
        page = self.panel()
        wait_for("the Lab queue's panel", lambda: chosen(self.combo("Quick Color", page)) == "Automatic")
        choose(self.combo("Quick Color", page), "Vivid")
        office = next(i for i, row in enumerate(rows) if "T48_Office" in row)
        select_tab(self.tabs, "General")
        printers.queryTable().addRowSelection(office)
        page = self.panel()
        wait_for("the Office queue's choices", lambda: chosen(self.combo("Quick Color", page)) == "Custom")
        self.assertTrue(find(page, "check box", "Color as Grayscale").getState().contains(
            pyatspi.STATE_CHECKED))

    def test_4_profile_window_changes_reach_the_popups(self):
        page = self.panel()
        press(find(page, "check box", "Color as Grayscale"))  # the source popups open again
        press(find(page, "push button", "Advanced Color Options"))
        press(find(page, "push button", "Management Profile"))
        window = wait_for("the profile window", lambda: next(
            (w for w in self.app if w is not None and w.name == "ProfileTitle" and showing(w)), None))
        table = find(window, "table", "")
        rows = table_rows(table)
        self.assertTrue(any("PROF1.ICC" in " ".join(r) for r in rows), rows)
        toggle_cell(table, 0, 1)
        wait_for("the tick", lambda: checked(table, 0, 1))  # PROF1.ICC now in the menus
        press(find(window, "push button", "Add"))
        box = find(window, "panel", "Profile")
        file_name = find(box, "text", "File Name")
        type_text(file_name, "MY*PROF.ICC")
        self.assertEqual(text_of(file_name), "MYPROF.ICC", "the refused * never shows")
        type_text(find(box, "text", "Profile Name"), "My Profile")
        screenshot(os.path.join(SHOTS, "profile-window.png"))
        press(find(box, "push button", "OK"))
        wait_for("the new row", lambda: any("MYPROF.ICC" in " ".join(r) for r in table_rows(table)))
        ok = next(b for b in find_all(window, "push button", "OK")
                  if b not in find_all(box, "push button", "OK"))
        press(ok)
        wait_for("the window to close", lambda: not showing(window))
        source = self.combo("RGB Source", page)
        shown = " ".join(choices(source))
        self.assertTrue("(Profile 1)" in shown and "(My Profile)" in shown, shown)

    def test_5_print_sends_the_choices(self):
        press(find(self.app, "push button", "Print"))
        self.assertEqual(self.world.dialog.popen.wait(20), 0, read(self.world.dialog.log))
        jobs = wait_for("the job at the printer", self.world.printed_jobs)
        data = self.world.job_data(jobs[-1])
        self.assertIn("*ZTQuickColor UserDefined", data)
        self.assertIn("*ZTColorAsGray False", data)


class DialogLifecycleTest(unittest.TestCase):
    """Each way a user closes the dialog, after the profile window was opened and closed
    and the tab followed the queues back and forth (each panel read through AT-SPI before
    it goes): the program ends with its status, and its output has no GTK critical (nor,
    in the sanitizer build, a sanitizer's report)."""

    @classmethod
    def setUpClass(cls):
        cls.world = DialogWorld()

    @classmethod
    def tearDownClass(cls):
        cls.world.stop()

    def session(self, close, status, close_buttons=False):
        dialog = self.world.start_dialog()
        app = self.world.app()
        tabs = wait_for("the dialog's tabs", lambda: next(
            (t for t in find_all(app, "page tab list")
             if "Color Options" in [c.name for c in t]), None))
        frame = tabs
        while frame.parent.getRoleName() != "application":
            frame = frame.parent
        printers = find(select_tab(tabs, "General"), "table", "")
        rows = table_rows(printers)
        page = select_tab(tabs, "Color Options")
        choose(find(page, "combo box", "Quick Color"), "Custom")  # on T48_Office, the default
        press(find(page, "push button", "Advanced Color Options"))
        press(find(page, "push button", "Management Profile"))
        window = wait_for("the profile window", lambda: next(
            (w for w in app if w is not None and w.name == "ProfileTitle" and showing(w)), None))
        find(window, "table", "").queryTable().addRowSelection(0)  # a selection to tear down
        if close_buttons:
            close_window(window.name)
        else:
            box = find(window, "panel", "Profile")
            press(next(b for b in find_all(window, "push button", "Cancel")
                       if b not in find_all(box, "push button", "Cancel")))
        wait_for("the profile window to close", lambda: not showing(window))
        for queue, quick_color in (("T48_Lab", "Automatic"), ("T48_Office", "Custom")):
            select_tab(tabs, "General")
            printers.queryTable().addRowSelection(
                next(i for i, row in enumerate(rows) if queue in row))
            page = select_tab(tabs, "Color Options")
            wait_for(queue + "'s panel", lambda: chosen(
                find(page, "combo box", "Quick Color")) == quick_color)
        close(frame)
        self.assertEqual(dialog.popen.wait(60), status, read(dialog.log))
        self.assertNotRegex(read(dialog.log), "Gtk-CRITICAL|AddressSanitizer|runtime error")

    def test_print(self):
        self.session(lambda frame: press(find(frame, "push button", "Print")), 0)

    def test_cancel(self):
        self.session(lambda frame: press(find(frame, "push button", "Cancel")), 1)

    def test_close_button(self):
        self.session(lambda frame: close_window(frame.name), 1, close_buttons=True)

    def test_escape(self):
        def escape(frame):
            focus_window(frame.name)
            wait_for("the dialog to hold the keyboard", lambda: state(frame, pyatspi.STATE_ACTIVE))
            pyatspi.Registry.generateKeyboardEvent(0xff1b, None, pyatspi.KEY_SYM)
        self.session(escape, 1)


class GtkOwnDialogTest(unittest.TestCase):
    def test_color_tab_holds_the_options_and_warns_of_the_conflict(self):
        world = DialogWorld()
        try:
            world.offer_printer_profiles("T48_Office")
            world.start_dialog(program="tests/dialog/gtk-own-print-dialog")
            app = world.app()
            tabs = wait_for("the dialog's tabs", lambda: next(
                (t for t in find_all(app, "page tab list") if "Color" in [c.name for c in t]), None))
            page = select_tab(tabs, "Color")
            find(page, "check box", "Color as Grayscale")  # once GTK has read the queue's PPD
            boxes = {box.name: box for box in find_all(page, "check box")}
            self.assertEqual((sorted(boxes), len(find_all(page, "combo box"))),
                             (["AutoTrapping", "Color Separation", "Color as Grayscale",
                               "EconoMode"], 25))
            # The profiles stored on the printer, by name, after the PPD's own choices.
            source = find_labelled(page, "combo box", "Image RGB Source:")
            self.assertEqual(choices(source)[4:], ["Profile 1 (Disk)", "Profile 2 (Disk)",
                                                   "Profile 4 (Disk)", "Profile 5 (Disk)"])
            choose(source, "Profile 2 (Disk)")
            wait_for("the profile chosen", lambda: chosen(source) == "Profile 2 (Disk)")
            warning = find(app, "label", "Some of the settings in the dialog conflict")
            press(boxes["Color as Grayscale"])
            wait_for("the tick", lambda: state(boxes["Color as Grayscale"], pyatspi.STATE_CHECKED))
            self.assertFalse(showing(warning))
            press(boxes["Color Separation"])
            wait_for("GTK's conflict warning", lambda: showing(warning))
            time.sleep(1)  # GTK animates the tick and makes room for the warning
            screenshot(os.path.join(SHOTS, "gtk-color-tab-conflict.png"))
        finally:
            world.stop()


class NoDisplayTest(unittest.TestCase):
    def test_without_a_display_one_line_and_status_2(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        run = subprocess.run([os.path.join(BINARY, "dialog", "t48-print-dialog")], env=env,
                             capture_output=True, text=True, timeout=20)
        self.assertEqual((run.returncode, len(run.stderr.splitlines())), (2, 1), run.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
