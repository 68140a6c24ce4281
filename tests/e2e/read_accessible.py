#!/usr/bin/python3
"""Prints the text of controls of a running program found through AT-SPI by
their accessible names: read_accessible.py APPLICATION NAME...

Each line of output is NAME, a tab and the control's text (the first control
of that name with a text), or NAME, a tab and "<missing>". A NAME that starts
with "^" asks instead for the whole name of the first control whose name
starts with the rest (a label is named by its text).
"""
import sys
import time

import pyatspi


def find_application(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    return None


def texts_by_name(root):
    found, names = {}, []
    stack = [root]
    while stack:
        node = stack.pop()
        try:
            children = list(node)
            name = node.name
        except Exception:
            continue
        if name:
            names.append(name)
        try:
            text = node.queryText()
        except Exception:
            text = None
        if text is not None and name and name not in found:
            found[name] = text.getText(0, -1)
        stack.extend(c for c in children if c is not None)
    return found, names


def main(argv):
    app = find_application(argv[1])
    if app is None:
        print("no application %s on the accessibility bus" % argv[1], file=sys.stderr)
        return 1
    found, names = texts_by_name(app)
    for name in argv[2:]:
        if name.startswith("^"):
            whole = next((n for n in names if n.startswith(name[1:])), "<missing>")
            print("%s\t%s" % (name, whole))
        else:
            print("%s\t%s" % (name, found.get(name, "<missing>")))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
