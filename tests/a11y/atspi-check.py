#!/usr/bin/python3
# A screen reader's view of the running program (atspi-check.sh starts it with the demo image
# open): every text box answers every text query, pages switched through the tab strip show
# their contents, one control holds the focus, and each edit is told with its new value.
#   atspi-check.py APPLICATION_NAME
import subprocess
import sys
import time
import traceback

import pyatspi
from gi.repository import GLib

P = pyatspi
failures, events = [], []
NAME = "object:property-change:accessible-name"
DESCRIPTION = "object:property-change:accessible-description"
VALUE = "object:property-change:accessible-value"
BOUNDARIES = [P.TEXT_BOUNDARY_CHAR, P.TEXT_BOUNDARY_WORD_START, P.TEXT_BOUNDARY_WORD_END,
              P.TEXT_BOUNDARY_SENTENCE_START, P.TEXT_BOUNDARY_SENTENCE_END,
              P.TEXT_BOUNDARY_LINE_START, P.TEXT_BOUNDARY_LINE_END]
# The tab, its frame, and labels and list items the frame shows with the demo image's first
# race.
PAGES = [("Enemy Racers", "Enemy racer data", ["Cash Won:", "Stingy Sam", "x10 = $500", "Index 1"]),
         ("General Text (View Only)", "General text", ["Status Screen Text:"]),
         ("Part Names (Not Coded)", None, []),
         ("Shops", "Shop prices", ["x10", "($3000)", "Buzz Motor"])]
FRAMES = ["Shop prices", "Enemy racer data", "General text"]
# The frames' titles as drawn: a control without a name of its own would borrow one of them.
TITLES = ["Shop Prices:", "Enemy Racer Data:", "General Text:"]
# An edit, as (what, control role, control name, slider value or typed digits), and the
# events that must follow it with the value its source then has.
CHANGES = [
    ("press", P.ROLE_PAGE_TAB, "Enemy Racers", None, []),
    # Moves in a list come before the typing: with a value typed, a move asks first.
    ("press", P.ROLE_LIST_ITEM, "Index 37", None, [(NAME, "Alan Pross"), (NAME, "Santa's sleigh")]),
    ("press", P.ROLE_LIST_ITEM, "Index 2", None,
     [(NAME, "Kid Quick"), (NAME, "Tank Jones"), (NAME, "Figure eight")]),
    ("slide", P.ROLE_SLIDER, "Enemy racers' AI strength, 0 to 22", 22,
     [(VALUE, 22), (DESCRIPTION, "22, hex 16"), (NAME, "22, hex 16")]),
    ("type", P.ROLE_TEXT, "Race 2, prize money, in tens of dollars", "123",
     [(DESCRIPTION, "$1,230"), (NAME, "x10 = $1230")]),
    ("press", P.ROLE_PAGE_TAB, "Shops", None, []),
    ("press", P.ROLE_LIST_ITEM, "Din Motor", None, [(NAME, "Din Motor price, in tens of dollars")]),
    ("type", P.ROLE_TEXT, "Din Motor price, in tens of dollars", "456",
     [(DESCRIPTION, "$4,560"), (NAME, "($4560)")]),
]


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


def tree(root):
    yield root
    for child in root:
        if child is not None:
            yield from tree(child)


def find(root, role, name):
    return next(obj for obj in tree(root) if obj.getRole() == role and obj.name == name)


def has(obj, *states):
    return all(obj.getState().contains(state) for state in states)


def check_text_box(box):
    """(a) every query at every offset, within a time limit; (b) attribute runs."""
    text = box.queryText()
    whole, began = text.getText(0, -1), time.monotonic()
    for offset in range(text.characterCount + 1):
        for boundary in BOUNDARIES:
            for query in (text.getTextAtOffset, text.getTextBeforeOffset, text.getTextAfterOffset):
                part, start, end = query(offset, boundary)
                check(part == whole[start:end], f"{box.name}: {query.__name__}({offset}) {part!r}")
        at = text.getTextAtOffset
        check(at(offset, P.TEXT_BOUNDARY_CHAR)[0] == whole[offset:offset + 1],
              f"{box.name}: character {offset}")
        check(at(offset, P.TEXT_BOUNDARY_LINE_START)[0] == whole, f"{box.name}: line at {offset}")
        if offset < text.characterCount:
            for run in (text.getAttributeRun(offset, False), text.getAttributes(offset)):
                check(run[1] <= offset < run[2], f"{box.name}: run {run[1:]} misses {offset}")
    check(time.monotonic() - began < 5, f"{box.name}: text queries took too long")


def check_pages(app):
    """(c) each page's labels and items visible and showing once its tab is pressed; (d) one
    focus."""
    labels = {frame: [obj for obj in tree(find(app, P.ROLE_PANEL, frame))
                      if obj.getRole() in (P.ROLE_LABEL, P.ROLE_LIST_ITEM)] for frame in FRAMES}
    for frame in FRAMES:
        borrowed = [label.name for label in labels[frame] if label.name in TITLES]
        check(not borrowed, f"{frame}: labels named after a frame's title: {borrowed}")
    for tab, shown, expected in PAGES:
        find(app, P.ROLE_PAGE_TAB, tab).queryAction().doAction(0)
        pump(0.5)
        check(has(find(app, P.ROLE_PAGE_TAB, tab), P.STATE_SELECTED), f"{tab} is not selected")
        if shown:
            check(has(find(app, P.ROLE_PANEL, shown), P.STATE_VISIBLE, P.STATE_SHOWING),
                  f"{tab}: the frame {shown!r} is not visible and showing")
        for frame in FRAMES:
            for label in labels[frame]:
                if frame != shown:
                    check(not has(label, P.STATE_SHOWING), f"{tab}: {label.name!r} is showing")
        for name in expected:
            check(any(label.name == name and has(label, P.STATE_VISIBLE, P.STATE_SHOWING)
                      for label in labels[shown]), f"{tab}: {name!r} is not visible and showing")
        focused = [str(obj) for obj in tree(app) if has(obj, P.STATE_FOCUSED)]
        check(len(focused) == 1, f"{tab}: focused are {focused}")


def carried(event):
    """The new value an event tells of: its text, as a screen reader speaks it, or the value."""
    return event.source.queryValue().currentValue if event.type == VALUE else event.any_data


def check_changes(app):
    """(e) each edit sends the events that carry its new value."""
    race = find(app, P.ROLE_LIST_ITEM, "Index 2").description
    check(race == "Kid Quick on Oval, Tank Jones on Figure eight", f"Index 2 is {race!r}")
    for how, role, name, value, expected in CHANGES:
        events.clear()
        control = find(app, role, name)
        if how == "press":
            control.queryAction().doAction(0)
        elif how == "slide":
            control.queryValue().currentValue = value
        else:
            control.queryComponent().grabFocus()
            pump(0.2)
            subprocess.run(["xdotool", "key", "--delay", "30", "Home", "shift+End", *value])
        pump(0.6)
        heard = [(event.type, carried(event)) for event in events]
        for wanted in expected:
            check(wanted in heard, f"{how} {name}: no {wanted}; heard {heard}")


def checks():
    try:
        app = next(app for app in P.Registry.getDesktop(0) if app and app.name == sys.argv[1])
        P.Registry.registerEventListener(events.append, "object", "focus")
        pump(1)
        # A client that listens keeps the states it has seen and learns changes from events.
        for obj in tree(app):
            obj.getState()
        for box in [obj for obj in tree(app) if obj.getRole() == P.ROLE_TEXT]:
            check_text_box(box)
        check_pages(app)
        check_changes(app)
    except Exception:
        check(False, traceback.format_exc())
    P.Registry.stop()


# Inside the client's event loop, as a screen reader's handlers run: only there does the client
# answer from the states it keeps rather than asking the program again.
GLib.idle_add(checks)
P.Registry.start()
print(f"atspi: {len(failures)} failed")
sys.exit(1 if failures else 0)
