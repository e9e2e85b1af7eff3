"""Chooses a menu item of a running Mirosta through the accessibility bus (AT-SPI), as assistive
technology would: python3 atspi_menu.py 删除过期数据"""
import sys
import time

import pyatspi


def find_item(node, name):
    try:
        if node.getRoleName() == "menu item" and node.name == name:
            return node
        for child in node:
            found = find_item(child, name)
            if found:
                return found
    except Exception:
        pass
    return None


def main():
    name = sys.argv[1]
    deadline = time.time() + 15
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != "mirosta":
                continue
            item = find_item(app, name)
            if item is None:
                continue
            action = item.queryAction()
            for i in range(action.nActions):
                if action.getName(i) in ("press", "click", "activate", "Press"):
                    action.doAction(i)
                    return 0
            action.doAction(0)
            return 0
        time.sleep(0.2)
    print("menu item not found:", name, file=sys.stderr)
    return 1


sys.exit(main())
