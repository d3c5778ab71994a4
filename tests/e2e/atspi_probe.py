#!/usr/bin/env python3
"""Watches the calculator over AT-SPI, as a screen reader sees it.

  atspi_probe.py listen OUT   writes one line per focus and description
                              change of the calculator's objects to OUT
                              until SIGTERM; "ready" on stdout once
                              listening.
  atspi_probe.py state        prints the object in focus and the display's
                              text.
  atspi_probe.py press NAME   performs the action of the button named NAME.

Lines are tab-separated: kind, role, name, then the event's value or text.
"""

import signal
import sys

import pyatspi

APPLICATION = "rpn"


def describe(accessible):
    return "%s\t%s" % (accessible.getRoleName(), accessible.name)


def calculator():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        application = desktop.getChildAtIndex(index)
        if application is not None and application.name == APPLICATION:
            return application
    return None


def find(accessible, predicate, depth=0):
    if accessible is None or depth > 12:
        return None
    if predicate(accessible):
        return accessible
    for index in range(accessible.childCount):
        found = find(accessible.getChildAtIndex(index), predicate, depth + 1)
        if found is not None:
            return found
    return None


def listen(path):
    out = open(path, "w", encoding="utf-8", buffering=1)

    def on_event(event):
        try:
            if event.host_application.name != APPLICATION:
                return
            source = event.source
            if event.type.startswith("object:state-changed:focused"):
                if not event.detail1:
                    return
                states = source.getState()
                flags = []
                if states.contains(pyatspi.STATE_FOCUSED):
                    flags.append("focused")
                if states.contains(pyatspi.STATE_FOCUSABLE):
                    flags.append("focusable")
                out.write("focus\t%s\t%s\n" % (describe(source), ",".join(flags)))
            elif event.type.startswith("object:property-change:accessible-description"):
                value = event.any_data if isinstance(event.any_data, str) else "<not text: %r>" % (event.any_data,)
                out.write("description\t%s\t%s\n" % (describe(source), value))
        except Exception as error:  # A dying object must not end the watch.
            out.write("error\t%s\n" % error)

    def stop(*_):
        pyatspi.Registry.stop()

    signal.signal(signal.SIGTERM, stop)
    pyatspi.Registry.registerEventListener(
        on_event, "object:state-changed:focused", "object:property-change:accessible-description"
    )
    print("ready", flush=True)
    pyatspi.Registry.start()


def state():
    application = calculator()
    if application is None:
        print("no application named %s" % APPLICATION)
        return 1

    def focused_leaf(accessible):
        states = accessible.getState()
        return states.contains(pyatspi.STATE_FOCUSED) and accessible.getRoleName() == "push button"

    focus = find(application, focused_leaf)
    print("focus\t%s" % (describe(focus) if focus is not None else "none"))
    display = find(application, lambda accessible: accessible.name == "Display")
    if display is not None:
        text = display.queryText()
        print("display\t%s" % text.getText(0, text.characterCount))
    return 0


def press(name):
    application = calculator()
    button = find(application, lambda accessible: accessible.getRoleName() == "push button" and accessible.name == name)
    if button is None:
        print("no button named %s" % name)
        return 1
    action = button.queryAction()
    return 0 if action.doAction(0) else 1


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "listen":
        listen(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == "press":
        sys.exit(press(sys.argv[2]))
    elif len(sys.argv) == 2 and sys.argv[1] == "state":
        sys.exit(state())
    else:
        sys.exit(__doc__)
