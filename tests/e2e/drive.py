"""Reads and drives a running Mirosta the way assistive technology does, over the accessibility
bus (AT-SPI), and closes windows the way a window manager does (WM_DELETE_WINDOW).

  drive.py grid [WINDOW]       print the record grid (of the window whose name starts so) as JSON
  drive.py texts WINDOW        print the texts shown in each window of that name, as JSON lists
  drive.py menu ITEM           choose a menu item
  drive.py set FIELD TEXT      replace the text of the field with that accessible name
  drive.py press BUTTON        press a button
  drive.py close WINDOW_ID     ask an X window to close, as its close box does
"""
import json
import sys
import time

import pyatspi


def app():
    deadline = time.time() + 15
    while time.time() < deadline:
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == "mirosta":
                return a
        time.sleep(0.2)
    sys.exit("mirosta is not on the accessibility bus")


def find(node, test):
    try:
        if test(node):
            return node
        for child in node:
            found = find(child, test)
            if found:
                return found
    except Exception:
        pass
    return None


def wait_for(test, what):
    deadline = time.time() + 15
    while time.time() < deadline:
        found = find(app(), test)
        if found:
            return found
        time.sleep(0.2)
    sys.exit("not found: " + what)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def is_table(node):
    return node.getRoleName() in ("table", "tree table")


def read_grid(window=None):
    # The main window is the one frame; other windows are named by the start of their caption.
    def wanted(n):
        if window is None:
            return n.getRoleName() == "frame" and find(n, is_table) is not None
        return (n.getRoleName() in ("frame", "dialog", "window") and n.name.startswith(window)
                and showing(n) and find(n, is_table) is not None)
    top = wait_for(wanted, "window " + (window or "main"))
    table = find(top, is_table).queryTable()
    headers = [(h.name if h else None)
               for h in (table.getColumnHeader(c) for c in range(table.nColumns))]
    rows = []
    for r in range(table.nRows):
        h = table.getRowHeader(r)
        rows.append([h.name if h else None] +
                    [table.getAccessibleAt(r, c).name for c in range(table.nColumns)])
    return {"headers": headers, "rows": rows}


def read_texts(window):
    """The names of every showing node in each top-level window named `window`, in tree order."""
    def names(node, out):
        try:
            if node.name and showing(node):
                out.append(node.name)
            for child in node:
                names(child, out)
        except Exception:
            pass
        return out
    return [names(top, [])[1:] for top in app()
            if top is not None and top.name == window and showing(top)]


def act(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("press", "click", "activate", "Press"):
        if wanted in names:
            return action.doAction(names.index(wanted))
    return action.doAction(0)


def close(window_id):
    from Xlib import X, display, protocol
    d = display.Display()
    w = d.create_resource_object("window", int(window_id, 0))
    protocols = d.intern_atom("WM_PROTOCOLS")
    event = protocol.event.ClientMessage(
        window=w, client_type=protocols,
        data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
    w.send_event(event, event_mask=X.NoEventMask)
    d.flush()


def menu(item):
    act(wait_for(lambda n: n.getRoleName() == "menu item" and n.name == item, item))


def set_text(name, text):
    field = wait_for(lambda n: n.name == name and showing(n) and
                     n.getRoleName() in ("text", "entry", "combo box"), name)
    field.queryEditableText().setTextContents(text)


def press(button):
    act(wait_for(lambda n: n.getRoleName() == "push button" and n.name == button
                 and showing(n), button))


def main():
    command, args = sys.argv[1], sys.argv[2:]
    if command == "grid":
        print(json.dumps(read_grid(*args), ensure_ascii=False))
    elif command == "texts":
        print(json.dumps(read_texts(args[0]), ensure_ascii=False))
    elif command == "menu":
        menu(args[0])
    elif command == "set":
        set_text(args[0], args[1])
    elif command == "press":
        press(args[0])
    elif command == "close":
        close(args[0])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
