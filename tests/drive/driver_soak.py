#!/usr/bin/env python3
"""Plays a long script through morvane-drive and prints its resident size as
the script goes on: Randomizer-and-click pairs, a `dump` at each checkpoint
(the driver's answer is the sign that it got there), VmRSS read from /proc.

    driver_soak.py DRIVER CHECKPOINT... [--most-growth KB] [--dump-every N]

Each CHECKPOINT is a number of actions played so far. With --most-growth,
fails when the resident size at the last checkpoint exceeds the one at the
first by more than KB kilobytes. With --dump-every, a `dump` also follows
every N actions (the driver keeps the cues and messages since the last dump,
as its protocol asks; without dumps they pile up between checkpoints).
"""
import os
import subprocess
import sys

args = sys.argv[1:]


def option(name):
    if name not in args:
        return None
    at = args.index(name)
    value = int(args[at + 1])
    del args[at:at + 2]
    return value


most_growth = option("--most-growth")
dump_every = option("--dump-every")
driver, checkpoints = args[0], [int(a) for a in args[1:]]

env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
game = subprocess.Popen([driver], stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env)


def resident_kb():
    with open(f"/proc/{game.pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return -1


game.stdin.write(b"seed 1\n")
played = 0
sizes = []
cells = [9, 10, 16, 17, 3, 24]
for checkpoint in checkpoints:
    block = []
    while played < checkpoint:
        block.append(b"click Randomizer_button\n" if played % 2 == 0 else
                     b"click Square(%d)\n" % cells[(played // 2) % len(cells)])
        played += 1
        if dump_every and played % dump_every == 0 and played < checkpoint:
            # Read each dump as it comes, lest the pipes fill both ways.
            game.stdin.write(b"".join(block) + b"dump\n")
            game.stdin.flush()
            block = []
            if not game.stdout.readline():
                sys.exit(f"the driver ended early (status {game.wait()})")
        if len(block) >= 2000:
            game.stdin.write(b"".join(block))
            block = []
    game.stdin.write(b"".join(block) + b"dump\n")
    game.stdin.flush()
    if not game.stdout.readline():
        sys.exit(f"the driver ended early (status {game.wait()})")
    sizes.append(resident_kb())
    print(f"{played} actions: {sizes[-1]} kB resident", flush=True)
game.stdin.close()
status = game.wait()
if status != 0:
    sys.exit(f"the driver ended with status {status}")
if most_growth is not None and sizes[-1] - sizes[0] > most_growth:
    sys.exit(f"resident size grew by {sizes[-1] - sizes[0]} kB, more than {most_growth} kB")
