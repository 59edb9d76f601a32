"""Prints the accessibility trees of the programs on the AT-SPI bus as JSON lines, one per
object: its application, name, role, states and place on the screen. Run by accessibility.py in
a Python that has the AT-SPI bindings (python3-gi, gir1.2-atspi-2.0), with the session bus and
the display of the programs to read in its environment.

The page's own document is left out (it is the page's, not the kiosk's), and so is anything
past MAX_OBJECTS: a page that builds a huge tree cannot hold the test up."""

import json
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

MAX_OBJECTS = 3000
MAX_DEPTH = 40
PAGE_ROLES = {Atspi.Role.DOCUMENT_WEB, Atspi.Role.DOCUMENT_FRAME}
STATES = {"showing": Atspi.StateType.SHOWING, "visible": Atspi.StateType.VISIBLE,
          "pressed": Atspi.StateType.PRESSED, "checked": Atspi.StateType.CHECKED,
          "modal": Atspi.StateType.MODAL, "focused": Atspi.StateType.FOCUSED}


def describe(application, accessible, depth):
    entry = {"application": application, "name": accessible.get_name() or "",
             "role": accessible.get_role_name() or "", "depth": depth}
    states = accessible.get_state_set()
    entry["states"] = sorted(word for word, state in STATES.items() if states.contains(state))
    # In the window: the toolkit knows no screen positions, and the kiosk's window fills the
    # screen from its corner.
    component = accessible.get_component_iface()
    if component is not None:
        extents = component.get_extents(Atspi.CoordType.WINDOW)
        entry["extents"] = [extents.x, extents.y, extents.width, extents.height]
    return entry


def main():
    # Every call to a program is answered within two seconds or given up.
    Atspi.set_timeout(2000, 10000)
    desktop = Atspi.get_desktop(0)
    count = 0
    for index in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(index)
        if application is None:
            continue
        name = application.get_name() or ""
        stack = [(application, 0)]
        while stack and count < MAX_OBJECTS:
            accessible, depth = stack.pop()
            try:
                entry = describe(name, accessible, depth)
                print(json.dumps(entry), flush=True)
                count += 1
                if accessible.get_role() in PAGE_ROLES or depth >= MAX_DEPTH:
                    continue
                children = [accessible.get_child_at_index(i) for i in range(accessible.get_child_count())]
            except gi.repository.GLib.Error as error:  # an object that went away or did not answer
                print(json.dumps({"application": name, "error": str(error)}), flush=True)
                continue
            stack.extend((child, depth + 1) for child in reversed(children) if child is not None)
    return 0


if __name__ == "__main__":
    sys.exit(main())
