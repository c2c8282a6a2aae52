"""Chromium and Firefox ESR as Debian ships them, printing a page to a queue without a
dialog: the command line that does it, with a fresh profile in the world's folder
holding the saved print settings."""

import json
import os

BROWSER_FLAGS = ["--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync"]


def fresh_profile(world, name):
    folder = world.file(name)
    suffix = 1
    while os.path.exists(folder):
        suffix += 1
        folder = world.file(f"{name}-{suffix}")
    os.makedirs(folder)
    return folder


def chromium(world, queue, page, colour=True):
    """Kiosk printing: Chromium prints `page` with its print preview's saved settings (the
    queue, colour or black and white) and no preview."""
    profile = fresh_profile(world, "chromium")
    os.makedirs(os.path.join(profile, "Default"))
    app_state = {"version": 2, "isColorEnabled": colour, "recentDestinations": [
        {"id": queue, "origin": "local", "account": "", "capabilities": "",
         "displayName": queue, "extensionId": "", "extensionName": ""}]}
    with open(os.path.join(profile, "Default", "Preferences"), "w") as out:
        json.dump({"printing": {"print_preview_sticky_settings": {
            "appState": json.dumps(app_state)}}}, out)
    return ["chromium", *BROWSER_FLAGS, "--user-data-dir=" + profile, "--kiosk",
            "--kiosk-printing", "file://" + page]


def firefox(world, queue, page, colour=True):
    """Silent printing: Firefox prints `page` to the queue with the profile's settings for
    it (print_in_color) and no dialog."""
    profile = fresh_profile(world, "firefox")
    prefs = {"print.always_print_silent": True, "print.show_print_progress": False,
             "print_printer": queue, "print.print_printer": queue,
             f"print.printer_{queue}.print_in_color": colour,
             f"print.printer_{queue}.print_bgcolor": True,
             f"print.printer_{queue}.print_bgimages": True,
             "browser.shell.checkDefaultBrowser": False,
             "datareporting.policy.dataSubmissionEnabled": False,
             "toolkit.telemetry.reportingpolicy.firstRun": False,
             "browser.aboutwelcome.enabled": False, "app.update.auto": False}
    with open(os.path.join(profile, "user.js"), "w") as out:
        out.writelines(f'user_pref("{name}", {json.dumps(value)});\n'
                       for name, value in prefs.items())
    return ["firefox-esr", "--no-remote", "--profile", profile, "file://" + page]
