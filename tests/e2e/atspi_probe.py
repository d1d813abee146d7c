#!/usr/bin/python3
"""Reads the running game the way a screen reader does, over AT-SPI.

    atspi_probe.py PID tree           every object of the game's application,
                                      one JSON array
    atspi_probe.py PID press NAME     the Press action of the push button
                                      named NAME
    atspi_probe.py PID watch          one JSON object a line for each name
                                      change and focus change of the game,
                                      after a first line {"ready": true};
                                      ends when its standard input closes

The exit status is 0 on success, 3 when no application of that process is
on the accessibility bus (yet), 4 when the object asked for is not there.
"""

import json
import sys

import pyatspi
from gi.repository import GLib

NOT_FOUND_APP = 3
NOT_FOUND_OBJECT = 4
# A watcher the test forgot ends by itself.
WATCH_LIMIT_MS = 120000


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except GLib.Error:
            # An application that went away while being listed.
            continue
    return None


def states(accessible):
    return sorted(pyatspi.stateToString(s) for s in accessible.getState().getStates())


def actions(accessible):
    try:
        action = accessible.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def extents(accessible):
    try:
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:
        return None
    return {"x": box.x, "y": box.y, "width": box.width, "height": box.height}


def describe(accessible, depth):
    return {
        "name": accessible.name,
        "role": accessible.getRoleName(),
        "states": states(accessible),
        "actions": actions(accessible),
        "extents": extents(accessible),
        "depth": depth,
    }


def walk(accessible, depth, out):
    out.append(describe(accessible, depth))
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)


def tree(app):
    nodes = []
    walk(app, 0, nodes)
    print(json.dumps(nodes, ensure_ascii=False))
    return 0


def press(app, name):
    button = pyatspi.findDescendant(
        app, lambda a: a.name == name and a.getRole() == pyatspi.ROLE_PUSH_BUTTON
    )
    if button is None:
        return NOT_FOUND_OBJECT
    action = button.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            ok = action.doAction(i)
            print(json.dumps({"pressed": bool(ok)}))
            return 0 if ok else 1
    return NOT_FOUND_OBJECT


def watch(pid):
    def heard(event):
        try:
            if event.source is None or event.source.get_process_id() != pid:
                return
            line = {
                "event": event.type,
                "detail1": event.detail1,
                "name": event.source.name,
                "role": event.source.getRoleName(),
            }
        except GLib.Error:
            # The object went away before it could be read.
            return
        print(json.dumps(line, ensure_ascii=False), flush=True)

    pyatspi.Registry.registerEventListener(
        heard,
        "object:property-change:accessible-name",
        "object:state-changed:focused",
    )

    def stop(*_):
        pyatspi.Registry.stop()
        return False

    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_HUP | GLib.IO_IN | GLib.IO_ERR, stop)
    GLib.timeout_add(WATCH_LIMIT_MS, stop)
    print(json.dumps({"ready": True}), flush=True)
    pyatspi.Registry.start()
    return 0


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    pid = int(argv[1])
    command = argv[2]
    if command == "watch":
        return watch(pid)
    app = application(pid)
    if app is None:
        return NOT_FOUND_APP
    if command == "tree":
        return tree(app)
    if command == "press" and len(argv) == 4:
        return press(app, argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
