#!/usr/bin/python3
"""What a screen reader meets in morlex-demo, read over the AT-SPI bus.

Run by tools/atspi_check.sh, which starts the demo under Xvfb on a session
bus of its own. Checks that every date field's editor is named by its label
and that the calendar's day grid has the seven weekday names as its column
headers; prints what it found and exits 1 when something is missing.
"""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

WEEKDAYS = ["Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"]
FIELDS = ["Born", "Hired", "Reviewed"]


def walk(node, depth=0):
    """Every accessible below node (node included), depth first."""
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.get_child_count()):
        yield from walk(node.get_child_at_index(i), depth + 1)


def find_app(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.5)
    return None


def press_in_child(name_path):
    """Presses a button from a process of its own: the calendar it opens runs
    a modal loop, so the press answers only once the dialog closes."""
    return subprocess.Popen([sys.executable, __file__, "--press", name_path])


def press(field):
    app = find_app("morlex-demo")
    for node in walk(app):
        if node.get_name() != field:
            continue
        parent = node.get_parent()
        for sibling in walk(parent):
            if sibling.get_name() == "Open calendar":
                Atspi.Action.do_action(sibling, 0)
                return 0
    return 1


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--press":
        return press(sys.argv[2])
    failures = []
    app = find_app("morlex-demo")
    if app is None:
        print("atspi: morlex-demo is not on the bus")
        return 1
    named = {}
    for node in walk(app):
        if node.get_role() == Atspi.Role.TEXT and node.get_name() in FIELDS:
            named[node.get_name()] = node
    for field in FIELDS:
        print(f"atspi: date field named {field!r}: {'yes' if field in named else 'NO'}")
        if field not in named:
            failures.append(field)

    presser = press_in_child("Born")
    headers = []
    dialog_name = None
    deadline = time.time() + 20
    while time.time() < deadline and not headers:
        time.sleep(0.5)
        for window in walk(app, 39):
            if window.get_role() != Atspi.Role.DIALOG:
                continue
            dialog_name = window.get_name()
            for node in walk(window):
                if node.get_role() != Atspi.Role.TABLE:
                    continue
                for column in range(Atspi.Table.get_n_columns(node)):
                    header = Atspi.Table.get_column_header(node, column)
                    headers.append(header.get_name() if header is not None else None)
                break
    print(f"atspi: calendar dialog named {dialog_name!r}")
    print(f"atspi: day grid column headers {headers}")
    if headers != WEEKDAYS:
        failures.append("column headers")
    presser.kill()
    if failures:
        print("atspi: missing: " + ", ".join(failures))
        return 1
    print("atspi: all held")
    return 0


if __name__ == "__main__":
    sys.exit(main())
