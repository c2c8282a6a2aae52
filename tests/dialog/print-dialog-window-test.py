"""t48-print-dialog in a real window under Xvfb, read and driven through AT-SPI: the
Color Options tab and its two panes, the rules' result in the widgets, the tab following
the selected queue (none for a printer that is no T48), each option shown once, the
profile window, the printed job's options, the dialog against a printer switched off,
the keyboard and a screen reader in English and German, and the dialog's life from its
start to each way of closing it. GTK's own dialog on the same queues, as every GTK
program shows them: the options on its Color tab, with the profiles stored on the
printer that t48-queue-profiles put into the queue's PPD."""

import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pyatspi  # noqa: E402

from gi.repository import GLib  # noqa: E402

from atspi_driver import (ESCAPE, SPACE, checked, choices, choose, chosen,  # noqa: E402
                          close_window, controls, find, find_all, find_labelled, focus_window,
                          focused, frame_of, mnemonic, press, press_alt, press_key, related,
                          screenshot, select_tab, sensitive, showing, state, table_rows, text_of,
                          toggle_cell, type_text)
from dialog_fixture import (BINARY, GENERIC_QUEUE, SOURCE, DialogWorld, read,  # noqa: E402
                            translator, wait_for)

ENGLISH = translator("")
SHOTS = os.path.join(BINARY, "screenshots")
os.makedirs(SHOTS, exist_ok=True)


def color_tabs(app, t):
    """The dialog's tab list that holds the Color Options tab, once it shows."""
    return wait_for("the Color Options tab", lambda: next(
        (x for x in find_all(app, "page tab list") if t("Color Options") in [c.name for c in x]),
        None))


class DialogTestCase(unittest.TestCase):
    """A world with a dialog started in `language`, its printer answering or switched off."""
    language = ""
    printer_on = True

    @classmethod
    def setUpClass(cls):
        cls.t = staticmethod(translator(cls.language))
        cls.world = DialogWorld()
        try:
            cls.world.switch_printer(cls.printer_on)
            cls.world.start_dialog(language=cls.language)
            cls.app = cls.world.app()
            cls.tabs = color_tabs(cls.app, cls.t)
            cls.frame = frame_of(cls.tabs)
        except BaseException:
            cls.world.stop()  # tearDownClass does not run after a failed setUpClass
            raise

    @classmethod
    def tearDownClass(cls):
        cls.world.stop()


class PrintDialogWindowTest(DialogTestCase):
    def panel(self):
        return select_tab(self.tabs, "Color Options")

    def combo(self, name, under=None):
        return find(under or self.panel(), "combo box", name)

    def select_queue(self, queue):
        printers = find(select_tab(self.tabs, "General"), "table", "")
        rows = table_rows(printers)
        printers.queryTable().addRowSelection(next(i for i, r in enumerate(rows) if queue in r))

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
        # Office, Lab, Office again: the printer of each queue walked once in the dialog.
        wait_for("the walks to end", lambda: not self.world.walks_running())
        walks = read(os.path.join(self.world.dir, "service.log")).count("mibwalk_XPC - iRet")
        self.assertEqual(walks, 2)

    def test_4_profile_window_changes_reach_the_popups(self):
        page = self.panel()
        press(find(page, "check box", "Color as Grayscale"))  # the source popups open again
        press(find(page, "push button", "Advanced Color Options"))
        press(find(page, "push button", "Management Profile"))
        window = wait_for("the profile window", lambda: next(
            (w for w in self.app if w is not None and w.name == ENGLISH("ProfileTitle") and showing(w)), None))
        table = find(window, "table", "Profiles")
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

    def test_5_gtks_own_tabs_show_none_of_the_panels_options(self):
        with open(os.path.join(SOURCE, "PDE", "Resources", "T48.ppd")) as ppd:
            # The panel's options, and ColorModel, which its Color as Grayscale stands for.
            panel_options = set(re.findall(r"^\*OpenUI \*(?:ZT\w+|ColorModel)/([^:]+):",
                                           ppd.read(), re.M))
        gtk_tabs = [t.name for t in self.tabs if showing(t) and t.name != "Color Options"]
        for name in gtk_tabs:
            page = select_tab(self.tabs, name)
            time.sleep(0.2)  # GTK makes a page's widgets as it shows it
            shown = {c.name.rstrip(":") for c in find_all(page, "label") + find_all(page, "check box")}
            self.assertFalse(shown & panel_options, f"GTK's {name} tab shows {shown & panel_options}")
        self.assertIn("Color", gtk_tabs, "GTK's own colour page is still there")

    def test_6_a_printer_that_is_no_t48_gets_no_tab_and_no_refresh(self):
        previous = self.world.profile_file("profile.prev")
        os.remove(previous)  # each T48 queue's refresh backed up the profile file here
        tab = next(t for t in self.tabs if t.name == "Color Options")
        self.select_queue(GENERIC_QUEUE)
        wait_for("the Color Options tab to go", lambda: not showing(tab))
        self.assertFalse(os.path.exists(previous), "a refresh ran for the generic queue")
        self.select_queue("T48_Office")
        wait_for("the tab again", lambda: showing(tab))

    def test_7_print_sends_the_choices(self):
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
            (w for w in app if w is not None and w.name == ENGLISH("ProfileTitle") and showing(w)), None))
        find(window, "table", "Profiles").queryTable().addRowSelection(0)  # a selection to tear down
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
            press_key(ESCAPE)
        self.session(escape, 1)


def same(a, b):
    return a is not None and b is not None and (a.getRoleName(), a.name) == (b.getRoleName(), b.name)


def color_pane(app, t):
    """The Color Options tab showing its Color Options pane."""
    page = select_tab(color_tabs(app, t), t("Color Options"))
    for hide in find_all(page, "push button", t("Hide Advanced Options")):
        press(hide)
    find(page, "combo box", t("Quick Color"))
    return page


def profile_window(app, t):
    """The profile window, opened from the Color Options tab through the advanced pane."""
    page = color_pane(app, t)
    quick = find(page, "combo box", t("Quick Color"))
    choose(quick, choices(quick)[3])  # Custom: the advanced pane opens
    press(find(page, "push button", t("Advanced Color Options")))
    press(find(page, "push button", t("Management Profile")))
    return wait_for("the profile window", lambda: next(
        (w for w in app if w is not None and w.name == t("ProfileTitle") and showing(w)), None))


def window_buttons(window, t):
    """The window's own OK and Cancel (not those of its edit part)."""
    box = find(window, "panel", t("Profile"))
    inner = find_all(box, "push button")
    return [next(b for b in find_all(window, "push button", t(name)) if b not in inner)
            for name in ("OK", "Cancel")]


class SwitchedOffPrinterTest(DialogTestCase):
    """The dialog against a printer that does not answer: it shows and takes the user's
    choices while the walk waits; a profile window opened during a refresh waits for it,
    then shows the merged lists; closing the dialog waits for the walk it started."""
    printer_on = False

    def test_1_the_dialog_does_not_wait_for_the_walk(self):
        page = select_tab(self.tabs, "Color Options")
        quick = find(page, "combo box", "Quick Color")
        choose(quick, "Vivid")
        wait_for("the choice", lambda: chosen(quick) == "Vivid")
        wait_for("the walk, still waiting for the printer", self.world.walks_running)

    def test_2_the_profile_window_waits_for_the_refresh_then_shows_the_merged_lists(self):
        wait_for("the start's walk to give up", lambda: not self.world.walks_running())
        # The Lab queue's walk waits behind another walk of the user's until the printer
        # answers again, then merges its profiles.
        other = self.world.walk_waiting_for_the_printer()
        printers = find(select_tab(self.tabs, "General"), "table", "")
        lab = next(i for i, row in enumerate(table_rows(printers)) if "T48_Lab" in row)
        printers.queryTable().addRowSelection(lab)
        window = profile_window(self.app, ENGLISH)
        table = find(window, "table", "Profiles")
        ok, cancel = window_buttons(window, ENGLISH)
        find(window, "label", ENGLISH("Reading the printer's profiles..."))
        self.assertEqual((table.queryTable().nRows, sensitive(ok)), (0, False))
        screenshot(os.path.join(SHOTS, "profile-window-waiting.png"))
        self.world.switch_printer(True)
        wait_for("the merged lists", lambda: any("PROF1.ICC" in " ".join(r) for r in table_rows(table)))
        wait_for("OK", lambda: sensitive(ok))
        self.assertFalse(find_all(window, "label", ENGLISH("Reading the printer's profiles...")))
        press(cancel)
        wait_for("the window to close", lambda: not showing(window))
        self.assertEqual(other.popen.wait(20), 0)

    def test_3_closing_waits_for_the_walk(self):
        press(find(self.frame, "push button", "Cancel"))
        self.assertEqual(self.world.dialog.popen.wait(20), 1)
        self.world.switch_printer(False)
        dialog = self.world.start_dialog()
        app = self.world.app()
        color_tabs(app, ENGLISH)
        wait_for("the new dialog's walk", self.world.walks_running)
        press(find(app, "push button", "Cancel"))
        self.assertEqual(dialog.popen.wait(20), 1, read(dialog.log))
        self.assertEqual(self.world.walks_running(), [], "a walk outlived its dialog")


class AccessibilityTest(DialogTestCase):
    """The keyboard and a screen reader in the Color Options tab and the profile window,
    in English; GermanAccessibilityTest runs the same in German."""

    def shot(self, name):
        screenshot(os.path.join(SHOTS, f"{name}-{self.language or 'en'}.png"))

    def panel(self):
        return color_pane(self.app, self.t)

    def open_window(self):
        window = profile_window(self.app, self.t)
        self.addCleanup(lambda: showing(window) and press(window_buttons(window, self.t)[1]))
        return window

    def assert_unique_mnemonics(self, *roots):
        keys = [mnemonic(c) for root in roots for c in controls(root) if showing(c)]
        keys = [k for k in keys if k]
        self.assertEqual(len(keys), len(set(keys)), sorted(keys))

    def test_controls_are_named_by_their_own_text_or_the_label_that_points_at_them(self):
        page = self.panel()
        shown = controls(page)
        window = self.open_window()  # through the advanced pane
        shown += controls(page) + controls(window)
        for control in shown:
            with self.subTest(control=(control.getRoleName(), control.name)):
                role, name = control.getRoleName(), control.name
                if role == "label" and name.endswith(":"):
                    self.assertEqual(related(control, pyatspi.RELATION_LABEL_FOR), [name[:-1]])
                elif role in ("combo box", "text", "table"):
                    self.assertEqual(related(control, pyatspi.RELATION_LABELLED_BY), [name + ":"])
                elif role in ("push button", "check box"):
                    self.assertTrue(name)
                    self.assertEqual(related(control, pyatspi.RELATION_LABELLED_BY), [])

    def test_a_labels_mnemonic_moves_to_its_field(self):
        window = self.open_window()
        press(find(window, "push button", self.t("Add")))
        field = find(window, "text", self.t("File Name"))
        find(window, "push button", self.t("Browse...")).queryComponent().grabFocus()
        press_alt(mnemonic(field))
        wait_for("the file name field to have the focus", lambda: same(focused(window), field))
        self.assertEqual([w.name for w in self.app if w is not None and showing(w)],
                         [self.frame.name, window.name], "no file chooser opened")

    def test_the_file_chooser_has_a_title(self):
        window = self.open_window()
        press(find(window, "push button", self.t("Add")))
        # By the keyboard: the chooser runs a main loop of its own, in which the dialog
        # answers AT-SPI only when that loop did not start inside an AT-SPI request.
        find(window, "push button", self.t("Browse...")).queryComponent().grabFocus()
        press_key(SPACE)
        chooser = wait_for("the file chooser", lambda: next(
            (w for w in self.app if w is not None and showing(w)
             and w not in (self.frame, window)), None))
        self.assertEqual(chooser.name, self.t("Choose a Profile File"))
        wait_for("the chooser's buttons", lambda: next(
            b for b in find_all(chooser, "push button") if showing(b))).queryComponent().grabFocus()
        press_key(ESCAPE)
        wait_for("the chooser to close", lambda: not showing(chooser))

    def test_the_windows_ok_and_cancel_have_mnemonics_and_escape_cancels(self):
        window = self.open_window()
        self.assertEqual(window.name, self.t("ProfileTitle"))
        self.assertNotEqual(window.name, "ProfileTitle")
        ok, cancel = window_buttons(window, self.t)
        self.assertTrue(mnemonic(ok) and mnemonic(cancel), (mnemonic(ok), mnemonic(cancel)))
        cancel.queryComponent().grabFocus()
        press_key(ESCAPE)
        wait_for("Escape to close the window", lambda: not showing(window))
        self.assertTrue(showing(self.frame))

    def test_mnemonics_are_unique_counting_gtks_own_buttons(self):
        page = self.panel()
        self.assert_unique_mnemonics(self.frame)
        self.shot("color-options")
        quick = find(page, "combo box", self.t("Quick Color"))
        choose(quick, choices(quick)[3])
        press(find(page, "push button", self.t("Advanced Color Options")))
        groups = find_all(page, "page tab list")[0]
        for group in [tab.name for tab in groups]:
            select_tab(groups, group)
            self.assert_unique_mnemonics(self.frame)
        self.shot("advanced-color-options")
        window = self.open_window()
        press(find(window, "push button", self.t("Add")))
        self.assert_unique_mnemonics(window)
        self.shot("profile-window")

    def test_a_pane_switch_by_mnemonic_moves_the_focus_into_the_shown_pane(self):
        page = self.panel()
        quick = find(page, "combo box", self.t("Quick Color"))
        choose(quick, choices(quick)[3])
        box = find(page, "check box", self.t("EconoMode"))
        box.queryComponent().grabFocus()
        wait_for("the focus", lambda: same(focused(page), box))
        press_alt(mnemonic(find(page, "push button", self.t("Advanced Color Options"))))
        find(page, "push button", self.t("Hide Advanced Options"))
        wait_for("the focus in the advanced pane", lambda: focused(page) is not None and not same(
            focused(page), box))
        self.assertTrue(showing(focused(page)), focused(page).name)

    def test_a_restricted_field_reports_the_users_edit(self):
        window = self.open_window()
        press(find(window, "push button", self.t("Add")))
        field = find(window, "text", self.t("File Name"))
        heard = []

        def hear(event):
            if event.source == field:
                heard.append((event.type.minor, event.detail1, event.detail2, event.any_data))

        pyatspi.Registry.registerEventListener(hear, "object:text-changed")
        try:
            type_text(field, "A*B")
            context = GLib.MainContext.default()
            wait_for("the edits", lambda: (context.iteration(False), len(heard) >= 2)[1])
            deadline = time.monotonic() + 0.5  # time for a report that should not come
            while time.monotonic() < deadline:
                context.iteration(False)
        finally:
            pyatspi.Registry.deregisterEventListener(hear, "object:text-changed")
        self.assertEqual(heard, [("insert", 0, 1, "A"), ("insert", 1, 1, "B")])


class GermanAccessibilityTest(AccessibilityTest):
    language = "de"


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
                               "EconoMode"], 26))
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
