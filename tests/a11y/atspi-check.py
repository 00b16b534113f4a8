#!/usr/bin/python3
# A screen reader's view of the running program (atspi-check.sh starts it with the demo image
# open): every text box answers every text query, pages switched through the tab strip show
# their contents, one control holds the focus, and each edit is told with its new value.
#   atspi-check.py APPLICATION_NAME
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []
events = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def pump(seconds):
    """Hands the events that arrive in the next seconds to the listener."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not GLib.MainContext.default().iteration(False):
            time.sleep(0.01)


def application(name):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit("no application " + name)


def tree(root):
    yield root
    for child in root:
        if child is not None:
            yield from tree(child)


def find(root, role, name):
    for obj in tree(root):
        if obj.getRole() == role and obj.name == name:
            return obj
    raise LookupError(name)


def states(obj):
    return obj.getState()


BOUNDARIES = [pyatspi.TEXT_BOUNDARY_CHAR, pyatspi.TEXT_BOUNDARY_WORD_START,
              pyatspi.TEXT_BOUNDARY_WORD_END, pyatspi.TEXT_BOUNDARY_SENTENCE_START,
              pyatspi.TEXT_BOUNDARY_SENTENCE_END, pyatspi.TEXT_BOUNDARY_LINE_START,
              pyatspi.TEXT_BOUNDARY_LINE_END]


def check_text_box(box):
    """(a) every query at every offset, within a time limit; (b) attribute runs."""
    text = box.queryText()
    count = text.characterCount
    whole = text.getText(0, -1)
    began = time.monotonic()
    for offset in range(count + 1):
        for boundary in BOUNDARIES:
            for query in (text.getTextAtOffset, text.getTextBeforeOffset, text.getTextAfterOffset):
                part, start, end = query(offset, boundary)
                check(part == whole[start:end], f"{box.name}: {query.__name__}({offset}) {part!r}")
        char = text.getTextAtOffset(offset, pyatspi.TEXT_BOUNDARY_CHAR)[0]
        check(char == whole[offset:offset + 1], f"{box.name}: character {offset} is {char!r}")
        line = text.getTextAtOffset(offset, pyatspi.TEXT_BOUNDARY_LINE_START)[0]
        check(line == whole, f"{box.name}: line at {offset} is {line!r}, not {whole!r}")
        if offset < count:
            for run in (text.getAttributeRun(offset, False), text.getAttributes(offset)):
                check(run[1] <= offset < run[2], f"{box.name}: run {run[1:]} misses {offset}")
    check(time.monotonic() - began < 5, f"{box.name}: text queries took too long")


def check_pages(app):
    """(c) each page's labels visible and showing once its tab is pressed; (d) one focus."""
    frames = ["Shop prices", "Enemy racer data", "General text"]
    # The tab, its frame, and labels that frame shows with the demo image's first race.
    pages = [("Enemy Racers", "Enemy racer data", ["Cash Won:", "Stingy Sam", "x10 = $500"]),
             ("General Text (View Only)", "General text", ["Status Screen Text:"]),
             ("Part Names (Not Coded)", None, []),
             ("Shops", "Shop prices", ["x10", "($3000)"])]
    labels = {frame: [obj for obj in tree(find(app, pyatspi.ROLE_PANEL, frame))
                      if obj.getRole() == pyatspi.ROLE_LABEL] for frame in frames}
    for tab, shown, expected in pages:
        find(app, pyatspi.ROLE_PAGE_TAB, tab).queryAction().doAction(0)
        pump(0.5)
        check(states(find(app, pyatspi.ROLE_PAGE_TAB, tab)).contains(pyatspi.STATE_SELECTED),
              f"tab {tab} is not selected")
        for frame in frames:
            for label in labels[frame]:
                on = states(label).contains(pyatspi.STATE_VISIBLE) and \
                    states(label).contains(pyatspi.STATE_SHOWING)
                if frame != shown:
                    check(not states(label).contains(pyatspi.STATE_SHOWING),
                          f"{tab}: label {label.name!r} of {frame} is showing")
                elif label.name in expected:
                    check(on, f"{tab}: label {label.name!r} is not visible and showing")
        focused = [obj for obj in tree(app) if states(obj).contains(pyatspi.STATE_FOCUSED)]
        check(len(focused) == 1, f"{tab}: focused are {[str(obj) for obj in focused]}")


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "30", *names], check=True)


def carried(event):
    """The new value an event tells of: the property it names, as its source has it now."""
    if event.type.endswith("accessible-name"):
        return event.source.name
    if event.type.endswith("accessible-description"):
        return event.source.description
    if event.type.endswith("accessible-value"):
        return event.source.queryValue().currentValue
    return event.any_data


def check_changes(app):
    """(e) each edit sends the events that carry its new value."""
    def select(role, name):
        return lambda: find(app, role, name).queryAction().doAction(0)

    def slide(name, value):
        return lambda: setattr(find(app, pyatspi.ROLE_SLIDER, name).queryValue(), "currentValue",
                               value)

    def type_into(name, digits):
        def act():
            find(app, pyatspi.ROLE_TEXT, name).queryComponent().grabFocus()
            pump(0.2)
            keys("Home", "shift+End", *digits)
        return act

    name = "object:property-change:accessible-name"
    description = "object:property-change:accessible-description"
    changes = [
        (select(pyatspi.ROLE_PAGE_TAB, "Enemy Racers"), []),
        (select(pyatspi.ROLE_LIST_ITEM, "Index 2"),
         [(name, "Kid Quick"), (name, "Tank Jones"), (name, "Figure eight")]),
        (slide("Enemy racers' AI strength, 0 to 22", 22),
         [("object:property-change:accessible-value", 22), (description, "22, hex 16"), (name, "22, hex 16")]),
        (type_into("Prize money of the selected race, in tens of dollars", "123"),
         [(description, "$1,230"), (name, "x10 = $1230")]),
        (select(pyatspi.ROLE_PAGE_TAB, "Shops"), []),
        (select(pyatspi.ROLE_LIST_ITEM, "Din Motor"),
         [(name, "Din Motor price, in tens of dollars")]),
        (type_into("Din Motor price, in tens of dollars", "456"),
         [(description, "$4,560"), (name, "($4560)")]),
    ]
    for act, expected in changes:
        events.clear()
        act()
        pump(0.6)
        heard = [(event.type, carried(event)) for event in events]
        for wanted in expected:
            check(any(kind.startswith(wanted[0]) and data == wanted[1] for kind, data in heard),
                  f"no event {wanted}; heard {heard}")


def checks():
    app = application(sys.argv[1])
    pyatspi.Registry.registerEventListener(events.append, "object", "focus")
    pump(1)
    # A client that listens keeps what it has seen, and learns changes only from events.
    for obj in tree(app):
        states(obj)
    for obj in tree(app):
        if obj.getRole() == pyatspi.ROLE_TEXT:
            check_text_box(obj)
    check_pages(app)
    check_changes(app)
    pyatspi.Registry.stop()


def main():
    # Run inside the client's event loop, as a screen reader's handlers do: only there does
    # the client answer from the states it keeps rather than asking the program again.
    GLib.idle_add(lambda: checks() and False)
    pyatspi.Registry.start()
    print(f"atspi: {len(failures)} failed")
    return 1 if failures else 0


sys.exit(main())
