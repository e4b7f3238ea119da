#!/usr/bin/env python3
"""Reads Clipwright as a screen reader does, through the AT-SPI accessibility bus.

Started by run.sh inside a D-Bus session on a virtual display. Starts the program, finds its main
window's menus, the edit list's table (its rows compared cell by cell with clipwright-cli's reading
of the same list), the controller's transport keys by name and its live counter, then presses Play
through the key's accessibility action and waits for the simulator's transcript to show the player
playing. Prints what a screen reader hears. Exits 1 on the first failed check.
"""
import argparse
import os
import re
import signal
import subprocess
import sys
import time

import pyatspi

TIMEOUT_S = 60
TRANSPORT_KEYS = ["Play", "Pause", "Stop", "Eject", "Slow forward", "Slow reverse",
                  "One frame forward", "One frame back", "Fast forward (search while playing)",
                  "Rewind (search while playing)"]
# A reply of the player (id 1) whose mode byte (reply byte 4) says play (6).
PLAYER_PLAYS = re.compile(r"->\s+FC FF 01 [0-9A-F]{2} 06 ")


def fail(message):
    print("atspi: FAILED: " + message, flush=True)
    sys.exit(1)


def wait_for(what, probe, timeout=TIMEOUT_S):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            found = probe()
        except Exception:  # the tree changes while it is read: ask again
            found = None
        if found:
            return found
        time.sleep(0.25)
    fail("timed out waiting for " + what)


def descendants(node, predicate):
    found = []
    stack = [node]
    while stack:
        current = stack.pop()
        if current is None:
            continue
        try:
            if predicate(current):
                found.append(current)
            stack.extend(current[i] for i in range(current.childCount))
        except Exception:
            continue
    return found


def role_is(*roles):
    return lambda node: node.getRole() in roles


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop[i]
        if app is not None and app.name == "clipwright":
            return app
    return None


def listed_rows(cli, home, path):
    out = subprocess.run([cli, "project", "show", path, "--home", home], check=True,
                         capture_output=True, text=True).stdout
    return [line.split("\t") for line in out.splitlines() if not line.startswith("Total")]


def check_list(app, args):
    table = wait_for("the edit list's table", lambda: next(iter(descendants(
        app, lambda n: n.getRole() == pyatspi.ROLE_TABLE and n.name == "Edit list")), None))
    expected = listed_rows(args.cli, args.home, args.list)
    cells = table.queryTable()
    wait_for("the list's rows", lambda: cells.nRows == len(expected))
    if cells.nColumns != 7:
        fail("the table has %d columns" % cells.nColumns)
    heard = []
    for row, fields in enumerate(expected):
        number, in_text, out_text, duration, _effect, _transition, tape, memo = fields
        texts = [cells.getAccessibleAt(row, column).name for column in range(7)]
        wanted = [number, "Tape change" if tape == "1" else in_text, None,
                  "" if tape == "1" else out_text, None, "" if tape == "1" else duration, memo]
        for column, want in enumerate(wanted):
            if want is not None and texts[column] != want:
                fail("row %d column %d reads %r, the list holds %r" % (row, column,
                                                                        texts[column], want))
        heard.append(texts)
    columns = [cells.getColumnDescription(c) for c in range(7)]
    print("list: table %r, %d rows, columns %s" % (table.name, cells.nRows, columns))
    for texts in heard[:3]:
        print("  row: " + " | ".join(texts))
    selected = list(cells.getSelectedRows())
    print("  selected rows %s" % selected)


def check_menus(app):
    bars = wait_for("the main window's menu bar",
                    lambda: descendants(app, role_is(pyatspi.ROLE_MENU_BAR)))
    names = [bars[0][i].name for i in range(bars[0].childCount)]
    for menu in ("File", "Edit", "Help"):
        if menu not in names:
            fail("menu %s missing from %s" % (menu, names))
    print("menus: " + ", ".join(names))


def key_named(app, name):
    keys = descendants(app, lambda n: n.name == name and n.getRole() in (
        pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON))
    return keys[0] if keys else None


def check_controller(app, transcript):
    play = wait_for("the controller's Play key", lambda: key_named(app, "Play"))
    for name in TRANSPORT_KEYS:
        if key_named(app, name) is None:
            fail("no key named %r" % name)
    counter = wait_for("the tape counter", lambda: next(iter(descendants(
        app, lambda n: n.description == "Tape counter")), None))
    if not re.fullmatch(r"[ -]\d\d:\d\d:\d\d[:.]\d\d", counter.name):
        fail("the counter reads %r" % counter.name)
    wait_for("Play enabled",
             lambda: play.getState().contains(pyatspi.STATE_ENABLED))
    print("controller: keys %s" % ", ".join(TRANSPORT_KEYS))
    print("  Play: role %s, keypad %r, states %s" % (
        play.getRoleName(), play.queryAction().getKeyBinding(0),
        [pyatspi.stateToString(s) for s in play.getState().getStates()]))
    print("  counter: %r (%s)" % (counter.name, counter.description))
    with open(transcript) as f:
        if PLAYER_PLAYS.search(f.read()):
            fail("the player played before Play was pressed")
    action = play.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail("Play offers the actions %s" % names)
    action.doAction(names.index("Press"))
    wait_for("the simulated player to play",
             lambda: PLAYER_PLAYS.search(open(transcript).read()))
    wait_for("Play's lamp", lambda: play.getState().contains(pyatspi.STATE_CHECKED))
    start = counter.name
    wait_for("the counter to run", lambda: counter.name != start)
    print("  pressed Play: the simulator's player plays, Play is checked, counter %r -> %r" % (
        start, counter.name))


def main():
    parser = argparse.ArgumentParser()
    for option in ("--program", "--cli", "--home", "--list", "--transcript"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    program = subprocess.Popen([args.program, "--home", args.home, "--language", "9", args.list])
    try:
        app = wait_for("Clipwright on the accessibility bus", application)
        check_menus(app)
        check_list(app, args)
        check_controller(app, args.transcript)
        print("atspi: passed", flush=True)
    finally:
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()


if __name__ == "__main__":
    main()
