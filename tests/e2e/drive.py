"""Reads and drives a running Mirosta over the accessibility bus (AT-SPI), as assistive technology
does. A module, or a command for an action whose modal window would hold the caller:
drive.py menu ITEM | press BUTTON | set_text FIELD TEXT"""
import sys

import pyatspi

from e2e import wait_until


def app():
    return wait_until(lambda: next((a for a in pyatspi.Registry.getDesktop(0) if a is not None
                                    and a.name == "mirosta"), None), 15, 0.2) or sys.exit(
        "mirosta is not on the accessibility bus")


def find(node, test, deep=True):
    """The first node of the tree (depth first; only its root unless deep) that passes the test."""
    try:
        if test(node):
            return node
        for child in node if deep else ():
            if found := find(child, test):
                return found
    except Exception:  # a node gone meanwhile
        return None


def wait_for(test, what, top_level=False):
    """The first node (top-level window) that passes the test, once there is one."""
    return wait_until(lambda: next(filter(None, (find(top, test, not top_level) for top in app())),
                                   None), 15, 0.2) or sys.exit("not found: " + what)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def table(window=None, name=None):
    """The table named `name` (any) in the shown window whose caption starts with `window`."""
    def wanted(t):
        return t.getRoleName() in ("table", "tree table") and name in (None, t.name)

    def window_wanted(n):
        return (n.name.startswith(window) and showing(n) if window
                else n.getRoleName() == "frame") and find(n, wanted)
    return find(wait_for(window_wanted, f"{name} in {window}", True), wanted).queryTable()


def rows(window=None, name=None):
    """The rows of a table (see table()), each as [row heading, cell, ...]."""
    t = table(window, name)
    return [[node.name if node else None for node in [t.getRowHeader(r)] + [
        t.getAccessibleAt(r, c) for c in range(t.nColumns)]] for r in range(t.nRows)]


def read_texts(window):
    """The names of the shown nodes in each top-level window named `window`, in tree order."""
    def names(node, out):
        find(node, lambda n: out.append(n.name) if n.name and showing(n) else None)
        return out
    return [names(top, [])[1:] for top in app()
            if top is not None and top.name == window and showing(top)]


def act(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(next((names.index(n) for n in ("press", "click", "Press") if n in names), 0))


def menu(item):
    act(wait_for(lambda n: n.getRoleName() == "menu item" and n.name == item, item))


def press(name, role="push button"):
    act(wait_for(lambda n: n.getRoleName() == role and n.name == name and showing(n), name))


def set_text(name, text):
    wait_for(lambda n: n.name == name and showing(n) and n.getRoleName() in (
        "text", "entry", "combo box"), name).queryEditableText().setTextContents(text)


if __name__ == "__main__":
    {"menu": menu, "press": press, "set_text": set_text}[sys.argv[1]](*sys.argv[2:])
