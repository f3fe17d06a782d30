#!/usr/bin/python3
"""Plays the real game as a screen reader does: through AT-SPI alone.

    atspi_client.py MORVANE MORVANE_SOLVE

Run inside a private D-Bus session with the accessibility bus up and an X
display (atspi_test.sh sets both up). Finds the cells by their names,
checks what every control is called, plays a solver's winning line through
the cells' press action, reads the live status after each move and the score
after the win, then starts the game with bad board codes and reads their
message boxes. Any missing name, state or announcement fails the test.
"""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

MORVANE, SOLVE = sys.argv[1], sys.argv[2]
CODE = "9,23,28,21,15,4,27"
PIECES = ["player", "yellow piece", "blue piece", "navy piece", "green piece", "red piece", "orange piece"]
TITLE = "Morvane's Challenge II"
CELL = re.compile(r"^Cell (\d+), (.+)$")

failures = []
heard = []  # accessible-name changes of the status, in order


def fail(what):
    failures.append(what)
    print("FAIL:", what, file=sys.stderr)


def pump(seconds, until=lambda: False):
    """Runs the event loop until `until` holds; a hang guard, not a speed check."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        if until():
            return True
        time.sleep(0.02)
    return until()


def on_name(event):
    try:
        if event.source.description == "What the last move or button did":
            heard.append(event.source.name)
    except Exception:  # the object may be gone already
        pass


def descendants(accessible):
    for child in accessible:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def app_windows(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return list(app)
        except Exception:
            pass
    return []


def window_named(pid, title, seconds=20, dialog=False):
    def look():
        for w in app_windows(pid):
            if w is not None and w.name == title and (w.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)) == dialog:
                return w
        return None
    found = []
    pump(seconds, lambda: found.append(look()) or found[-1] is not None)
    return found[-1] if found else None


def press(accessible):
    action = accessible.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            action.doAction(i)
            return
    fail(f"{accessible.name!r} has no press action")


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def start(code):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    return subprocess.Popen([MORVANE, code], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def message_box(pid, title):
    """The message box that is up: its text and its OK button."""
    box = window_named(pid, title, 10, dialog=True)
    if box is None:
        return None, None
    labels = [a.name for a in descendants(box) if a.getRole() == pyatspi.ROLE_LABEL and a.name]
    ok = [a for a in descendants(box) if a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == "OK"]
    return " ".join(labels), ok[0] if ok else None


def cells_of(window):
    cells = {}
    for a in descendants(window):
        m = CELL.match(a.name or "")
        if m and a.getRole() == pyatspi.ROLE_PUSH_BUTTON:
            cells[int(m.group(1))] = a
    return cells


def play_a_winning_game():
    line = [int(n) for n in subprocess.run([SOLVE, CODE], capture_output=True, text=True).stdout.split()]
    assert line, "the solver found no line for " + CODE
    game = start(CODE)
    try:
        window = window_named(game.pid, TITLE)
        if window is None:
            fail("the game's window is not on the accessibility bus")
            return
        pump(10, lambda: len(cells_of(window)) == 28)
        cells = cells_of(window)
        if sorted(cells) != list(range(1, 29)):
            fail(f"cells found by name: {sorted(cells)}")
            return
        # Every cell says what it holds and whether it is a legal move.
        holds = {int(c): PIECES[i] for i, c in enumerate(CODE.split(","))}
        targets = {1, 2, 3, 8, 10, 15, 16, 17}
        for n, cell in cells.items():
            if cell.name != f"Cell {n}, {holds.get(n, 'empty')}":
                fail(f"cell {n} is called {cell.name!r}")
            legal = "legal move" if n in targets else "not a legal move"
            if cell.description != legal:
                fail(f"cell {n} is described {cell.description!r}, not {legal!r}")
        names = {a.name: a for a in descendants(window)}
        for wanted in [f"Code: {p}" for p in PIECES] + ["Score", "Start cell", "Legend", "Player figure",
                                                        "Yellow piece", "Orange piece", "Code", "Randomizer", "Reset"]:
            if wanted not in names:
                fail(f"no control is called {wanted!r}")
        legend = names.get("Legend")
        if legend is None or "yellow the three above" not in legend.description:
            fail("the legend does not say what the colours take off")
        if "Randomizer" in names and "Ctrl+N" not in names["Randomizer"].description:
            fail("the Randomizer's tooltip does not name its key")
        status = [a for a in descendants(window) if a.description == "What the last move or button did"]
        if not status or not status[0].name.startswith("New board. Player on cell 9; yellow piece on cell 23"):
            fail(f"the status does not tell the board placed: {status[0].name if status else None!r}")
        board = [a for a in descendants(window) if a.description.startswith("The board.")]
        if not board or not board[0].name.startswith("Cell 9, player") or \
                not board[0].getState().contains(pyatspi.STATE_FOCUSABLE):
            fail(f"the board's cursor is not on the player: {[a.name for a in board]}")

        # The whole game through the cells' press action alone.
        for k, n in enumerate(line, start=1):
            before = len(heard)
            press(cells[n])
            if not pump(10, lambda: len(heard) > before):
                fail(f"no announcement after the move to cell {n}")
                return
            said = heard[-1]
            if not said.startswith(f"Moved to cell {n}.") or (k < len(line) and f"{50 - k} moves left." not in said):
                fail(f"move {k} to cell {n} was announced as {said!r}")
            if k < len(line) and cells[n].name != f"Cell {n}, player":
                fail(f"cell {n} is called {cells[n].name!r} with the player on it")
        if "You have solved the puzzle!" not in heard[-1]:
            fail(f"the win was not announced: {heard[-1]!r}")
        text, ok = message_box(game.pid, TITLE)
        if text != "You have solved the puzzle!" or ok is None:
            fail(f"the win's message box says {text!r}")
            return
        before = len(heard)
        press(ok)
        pump(10, lambda: len(heard) > before)
        score = 50 - len(line) + 10
        if not heard[before:] or not heard[-1].startswith("New board.") or f"Score {score}." not in heard[-1]:
            fail(f"the new board after the win was announced as {heard[before:]!r}")
        if text_of(names["Score"]) != str(score):
            fail(f"the score box reads {text_of(names['Score'])!r}, not {score}")
        print(f"won {CODE} in {len(line)} moves through AT-SPI; score {score}")
    finally:
        game.kill()
        game.wait()


BAD_CODES = [
    ("30,1,2,3,4,5,6", "Invalid Code.  Make sure the number in each box is below 29."),   # player too high
    ("x,1,2", "Invalid Code.  Make sure the number in each box is below 29."),            # player not a cell
    ("5,29", "Invalid Code.  Make sure each number in each box is below 29."),            # yellow too high
    ("5,1,2,3,4,99", "Invalid Code.  Make sure the number in each box is below 29."),     # red too high
    ("5,1,-1", "Invalid Code.  Make sure the number in each box is below 29."),           # a piece below 0
]


def refuse_bad_codes():
    for code, message in BAD_CODES:
        before = len(heard)
        game = start(code)
        try:
            text, ok = message_box(game.pid, "Morvane's Challenge")
            if text != message:
                fail(f"morvane {code}: the message box says {text!r}")
            elif not pump(5, lambda: any(message in h for h in heard[before:])):
                fail(f"morvane {code}: the message was not announced")
            if ok is not None:
                press(ok)
        finally:
            game.kill()
            game.wait()
    print(f"{len(BAD_CODES)} bad codes refused with their message boxes")


pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
play_a_winning_game()
refuse_bad_codes()
sys.exit(1 if failures else 0)
