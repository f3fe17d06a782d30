#!/usr/bin/python3
"""Plays the real game through AT-SPI alone, as a screen reader does.

    atspi_client.py MORVANE MORVANE_SOLVE   (atspi_test.sh runs it)

Finds the cells by their names, checks the names of the controls, wins a
solver's line through the cells' press action, reading the status after each
move and the score after the win, then reads the message boxes of bad codes
given on the command line. A missing name, state or announcement fails.
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
STATUS = "What the last move or button did"  # the status label's description
failures, heard = [], []  # heard: the status's names, as their change events came


def fail(what):
    failures.append(what)
    print("FAIL:", what, file=sys.stderr)


def pump(seconds, until):
    """Runs the event loop until `until()` holds; a hang guard, not a speed check."""
    context, deadline = GLib.MainContext.default(), time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        if until():
            return True
        time.sleep(0.02)
    return until()


def on_name(event):
    try:
        if event.source.description == STATUS:
            heard.append(event.source.name)
    except Exception:  # gone already
        pass


def descendants(accessible):
    for child in accessible:
        if child is not None:
            yield child
            yield from descendants(child)


def window(pid, title, dialog=False):
    """The game's (or its message box's) window on the bus, once it is there."""
    def look():
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == pid:
                    for w in app:
                        if w and w.name == title and (w.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)) == dialog:
                            return w
            except GLib.Error:  # an application that has just gone
                pass
    found = []
    pump(20, lambda: found.append(look()) or found[-1] is not None)
    return found[-1]


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


def start(code):
    return subprocess.Popen([MORVANE, code], env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def message_box(pid, title):
    """The text and the OK button of the message box that is up."""
    box = window(pid, title, dialog=True)
    if box is None:
        return None, None
    parts = list(descendants(box))
    text = " ".join(a.name for a in parts if a.getRole() == pyatspi.ROLE_LABEL and a.name)
    return text, next((a for a in parts if a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == "OK"), None)


def play_a_winning_game():
    line = [int(n) for n in subprocess.run([SOLVE, CODE], capture_output=True, text=True).stdout.split()]
    game = start(CODE)
    try:
        main = window(game.pid, "Morvane's Challenge II")
        cells = {}
        pump(10, lambda: cells.update((int(m[1]), a) for a in descendants(main) if a.getRole() == pyatspi.ROLE_PUSH_BUTTON
                                      and (m := re.match(r"Cell (\d+), ", a.name or ""))) or len(cells) == 28)
        if sorted(cells) != list(range(1, 29)):
            return fail(f"cells found by name: {sorted(cells)}")
        holds = {int(c): PIECES[i] for i, c in enumerate(CODE.split(","))}
        for n, cell in cells.items():  # what each holds, and whether it is a legal move
            legal = "legal move" if n in {1, 2, 3, 8, 10, 15, 16, 17} else "not a legal move"
            if (cell.name, cell.description) != (f"Cell {n}, {holds.get(n, 'empty')}", legal):
                fail(f"cell {n} is {cell.name!r}, {cell.description!r}")
        named = {a.name: a for a in descendants(main)}
        for name in [f"Code: {p}" for p in PIECES] + ["Score", "Start cell", "Player figure", "Orange piece"]:
            if name not in named:
                fail(f"no control is called {name!r}")
        if "yellow the three above" not in named["Legend"].description:
            fail("the legend does not say what the colours take off")
        if "Ctrl+N" not in named["Randomizer"].description:
            fail("the Randomizer's tooltip does not name its key")
        board = next(a for a in descendants(main) if a.description.startswith("The board."))
        if not board.name.startswith("Cell 9, player") or not board.getState().contains(pyatspi.STATE_FOCUSABLE):
            fail(f"the board's cursor is not on the player: {board.name!r}")
        if board.getRole() != pyatspi.ROLE_TABLE_CELL:
            fail(f"the board's cursor is a {board.getRoleName()!r}, not a table cell")

        # A move refused twice is told twice, each time once.
        refused = cells[28]
        before = len(heard)
        press(refused)
        pump(10, lambda: len(heard) > before)
        press(refused)
        pump(10, lambda: len(heard) > before + 1)
        pump(1, lambda: False)  # any further telling of the same comes meanwhile
        if heard[before:] != ["Not a legal move."] * 2:
            fail(f"two refused moves were told as {heard[before:]!r}")

        for k, n in enumerate(line, start=1):
            before = len(heard)
            press(cells[n])
            if not pump(10, lambda: len(heard) > before):
                return fail(f"no announcement after the move to cell {n}")
            said, piece = heard[-1], holds.get(n, "empty")
            if not said.startswith(f"Moved to cell {n}.") or (k < len(line) and f"{50 - k} moves left." not in said) \
                    or (piece not in ("empty", "player") and f"{piece.capitalize()} took" not in said):
                fail(f"move {k} to cell {n} was announced as {said!r}")
            if k < len(line) and cells[n].name != f"Cell {n}, player":
                fail(f"cell {n} is called {cells[n].name!r} with the player on it")
        if "You have solved the puzzle!" not in heard[-1]:
            fail(f"the win was not announced: {heard[-1]!r}")
        text, ok = message_box(game.pid, "Morvane's Challenge II")
        if text != "You have solved the puzzle!" or ok is None:
            return fail(f"the win's message box says {text!r}")
        before, score = len(heard), 50 - len(line) + 10
        press(ok)
        pump(10, lambda: len(heard) > before)
        if not heard[before:] or not heard[-1].startswith("New board.") or f"Score {score}." not in heard[-1]:
            fail(f"the new board after the win was announced as {heard[before:]!r}")
        if named["Score"].queryText().getText(0, -1) != str(score):
            fail(f"the score box does not read {score}")
        print(f"won {CODE} in {len(line)} moves through AT-SPI; score {score}")
    finally:
        game.kill()
        game.wait()


def refuse_bad_codes():
    box, yellow = ("Invalid Code.  Make sure %s in each box is below 29." % w for w in ("the number", "each number"))
    # The player too far or not a cell, yellow too far, red too far, a piece below 0.
    for code, message in [("30,1,2,3,4,5,6", box), ("0,1,2,,,,", box), ("5,29,,,,,", yellow),
                          ("5 1 2 3 4 99 0", box), ("5,1,-1,,,,", box)]:
        game = start(code)
        try:
            text, ok = message_box(game.pid, "Morvane's Challenge")
            if text != message:
                fail(f"morvane {code}: the message box says {text!r}")
            # Told at start-up, perhaps before the bridge knew of a listener:
            # the status's name holds it.
            status = [a for a in descendants(window(game.pid, "Morvane's Challenge II")) if a.description == STATUS]
            if not status or message not in status[0].name:
                fail(f"morvane {code}: the message was not announced")
            if ok is not None:
                press(ok)
        finally:
            game.kill()
            game.wait()
    print("bad codes refused with their message boxes")


pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
play_a_winning_game()
refuse_bad_codes()
sys.exit(1 if failures else 0)
