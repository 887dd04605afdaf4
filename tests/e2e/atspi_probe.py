"""Prints the accessible tree of one running application as JSON.

    atspi_probe.py APP_NAME [TIMEOUT_SECONDS]

Run with a python3 that has pyatspi, with DBUS_SESSION_BUS_ADDRESS and DISPLAY of the
application's session. Waits (up to the timeout) for the application to appear on the
accessibility bus. Each node is {role, name, text, states, children}, with extents [x, y, width, height] in
screen coordinates for buttons, menu items, windows and documents; the content of web
documents is left out (only the document node itself is given).
"""

import json
import sys
import time

import pyatspi


def describe(acc, depth=0):
    node = {"role": "", "name": "", "text": "", "states": [], "children": []}
    try:
        node["role"] = acc.getRoleName()
        node["name"] = acc.name or ""
    except Exception:
        return node
    try:
        node["states"] = sorted(pyatspi.stateToString(s) for s in acc.getState().getStates())
    except Exception:
        pass
    if node["role"] in ("push button", "menu item", "frame", "dialog", "document web"):
        try:
            e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            node["extents"] = [e.x, e.y, e.width, e.height]
        except Exception:
            pass
    if node["role"] in ("label", "text", "static"):
        try:
            t = acc.queryText()
            node["text"] = t.getText(0, t.characterCount)
        except Exception:
            pass
    if node["role"] == "document web" or depth > 40:
        return node
    try:
        count = acc.childCount
    except Exception:
        count = 0
    for i in range(count):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            node["children"].append(describe(child, depth + 1))
    return node


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        try:
            app = desktop.getChildAtIndex(i)
        except Exception:
            continue
        if app is not None and app.name == name:
            return app
    return None


def main():
    name = sys.argv[1]
    timeout = float(sys.argv[2]) if len(sys.argv) > 2 else 15.0
    deadline = time.monotonic() + timeout
    app = find_app(name)
    while app is None and time.monotonic() < deadline:
        time.sleep(0.2)
        app = find_app(name)
    if app is None:
        sys.stderr.write(f"application {name!r} not found on the accessibility bus\n")
        return 3
    json.dump(describe(app), sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main())
