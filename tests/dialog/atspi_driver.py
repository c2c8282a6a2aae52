"""Reading and driving a GTK 3 window through AT-SPI, without coordinates."""

import ctypes

import pyatspi

from dialog_fixture import wait_for

CONTROL_ROLES = {"combo box", "check box", "label", "push button", "page tab list", "text",
                 "table"}


def descendants(node, depth=0):
    if depth > 60:
        return
    for child in node:
        if child is None:
            continue
        yield child
        # A combo box's menu items are its choices, not controls of their own.
        if child.getRoleName() not in ("combo box", "table"):
            yield from descendants(child, depth + 1)


def find_all(node, role, name=None):
    return [o for o in descendants(node)
            if o.getRoleName() == role and (name is None or o.name == name)]


def find(node, role, name):
    return wait_for(f"{role} {name!r}", lambda: next(iter(find_all(node, role, name)), None))


def find_labelled(node, role, label):
    """The control of `role` that the label `label` names (GTK's option widgets)."""
    def labelled(o):
        return any(r.getRelationType() == pyatspi.RELATION_LABELLED_BY and
                   label in [r.getTarget(i).name for i in range(r.getNTargets())]
                   for r in o.getRelationSet())
    return wait_for(f"{role} labelled {label!r}",
                    lambda: next((o for o in find_all(node, role) if labelled(o)), None))


def controls(node):
    return [o for o in descendants(node) if o.getRoleName() in CONTROL_ROLES]


def state(node, which):
    return node.getState().contains(which)


def sensitive(node):
    return state(node, pyatspi.STATE_SENSITIVE)


def showing(node):
    return state(node, pyatspi.STATE_SHOWING)


def press(node):
    node.queryAction().doAction(0)


def mnemonic(node):
    """The key of the control's mnemonic ("<Alt>p" gives "p"); "" without one."""
    try:
        action = node.queryAction()
    except NotImplementedError:
        return ""
    bindings = [action.getKeyBinding(i) for i in range(action.nActions)]
    return next((b.split(">")[-1].lower() for b in bindings if b.startswith("<Alt>")), "")


def press_alt(key):
    """`key` with Alt held, as a keyboard does (Alt is the X modifier Mod1)."""
    mod1 = 1 << 3
    pyatspi.Registry.generateKeyboardEvent(mod1, None, pyatspi.KEY_LOCKMODIFIERS)
    pyatspi.Registry.generateKeyboardEvent(ord(key), None, pyatspi.KEY_SYM)
    pyatspi.Registry.generateKeyboardEvent(mod1, None, pyatspi.KEY_UNLOCKMODIFIERS)


ESCAPE = 0xff1b
SPACE = 0x20


def press_key(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def focused(node):
    """The focused control under `node`, or None."""
    return next((o for o in descendants(node) if state(o, pyatspi.STATE_FOCUSED)), None)


def related(node, relation):
    """The names of the objects `node` has `relation` to (pyatspi.RELATION_LABELLED_BY...)."""
    return [r.getTarget(i).name for r in node.getRelationSet()
            if r.getRelationType() == relation for i in range(r.getNTargets())]


def frame_of(node):
    """The top-level window that holds `node`."""
    while node.parent.getRoleName() != "application":
        node = node.parent
    return node


def select_tab(tab_list, name):
    names = [tab.name for tab in tab_list]
    tab_list.querySelection().selectChild(names.index(name))
    return tab_list[names.index(name)]


def choices(combo):
    menu = combo[0]
    return [item.name for item in menu]


def choose(combo, name):
    combo.querySelection().selectChild(choices(combo).index(name))


def chosen(combo):
    selection = combo.querySelection()
    return selection.getSelectedChild(0).name if selection.nSelectedChildren else None


def type_text(entry, text):
    """One character at a time at the end, as keys would."""
    for character in text:
        length = entry.queryText().characterCount
        entry.queryEditableText().insertText(length, character, len(character.encode()))


def text_of(entry):
    return entry.queryText().getText(0, -1)


def cell_text(cell):
    """A cell's text; a column of several renderers is a cell holding one per renderer."""
    return cell.name or " ".join(part.name for part in cell if part is not None and part.name)


def table_rows(table):
    t = table.queryTable()
    return [[cell_text(t.getAccessibleAt(r, c)) for c in range(t.nColumns)] for r in range(t.nRows)]


def toggle_cell(table, row, column):
    """Toggles the check box of a cell (a column's toggle renderer)."""
    cell = table.queryTable().getAccessibleAt(row, column)
    for part in [cell, *[p for p in cell if p is not None]]:
        try:
            action = part.queryAction()
        except NotImplementedError:
            continue
        names = [action.getName(i) for i in range(action.nActions)]
        if "toggle" in names:
            # GTK's toggle action does not reach the renderer: the cursor goes to the
            # cell, and the space key activates it, as a user's keyboard does.
            part.queryComponent().grabFocus()
            pyatspi.Registry.generateKeyboardEvent(0x20, None, pyatspi.KEY_SYM)
            return
    raise AssertionError("no toggle in the cell")


def checked(table, row, column):
    cell = table.queryTable().getAccessibleAt(row, column)
    return any(state(part, pyatspi.STATE_CHECKED) for part in [cell, *[p for p in cell if p]])


def screenshot(path):
    import subprocess
    subprocess.run(["import", "-window", "root", path], check=True)


def _top_level_window(title, act):
    """Calls act(x, display, window) on the top-level X window titled `title`."""
    x = ctypes.CDLL("libX11.so.6")
    window_p = ctypes.POINTER(ctypes.c_ulong)
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, window_p, window_p,
                             ctypes.POINTER(window_p), ctypes.POINTER(ctypes.c_uint)]
    x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.c_void_p]
    x.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
    x.XFlush.argtypes = x.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = x.XOpenDisplay(None)
    assert display, "no X display"
    try:
        root, parent, children, count = (ctypes.c_ulong(), ctypes.c_ulong(), window_p(),
                                         ctypes.c_uint())
        x.XQueryTree(display, x.XDefaultRootWindow(display), ctypes.byref(root),
                     ctypes.byref(parent), ctypes.byref(children), ctypes.byref(count))
        for i in range(count.value):
            name = ctypes.c_char_p()
            if x.XFetchName(display, children[i], ctypes.byref(name)) and \
                    name.value == title.encode():
                act(x, display, children[i])
                x.XFlush(display)
                return
        raise AssertionError("no window titled " + title)
    finally:
        x.XCloseDisplay(display)


def close_window(title):
    """What a window manager's close button does (Xvfb runs none): the top-level window
    titled `title` gets WM_DELETE_WINDOW through its WM_PROTOCOLS."""

    class ClientMessage(ctypes.Structure):  # XClientMessageEvent, padded to an XEvent
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 12)]

    def send(x, display, window):
        event = ClientMessage(type=33, window=window, format=32,
                              message_type=x.XInternAtom(display, b"WM_PROTOCOLS", 0))
        event.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        x.XSendEvent(display, window, 0, 0, ctypes.byref(event))

    _top_level_window(title, send)


def focus_window(title):
    """What a window manager does when the user clicks a window (Xvfb runs none): the
    top-level window titled `title` gets the keyboard, so typed keys reach it."""
    revert_to_parent, current_time = 2, 0
    _top_level_window(title, lambda x, display, window: x.XSetInputFocus(
        display, window, revert_to_parent, current_time))
