#!/usr/bin/env python3
"""Plays the same random scripts through morvane-drive (the desktop window)
and morvane-web-drive (the page in Chromium) and requires identical dumps.

    differential.py DRIVE WEB_DRIVE SCRIPTS SEED [SCRIPTS_PER_RUN]

Each script sets up boards every way the game has (Randomizer with queued
draws or a seed, typed codes, dropped figures, the access code), plays
clicks and keys at random and ends with a dump. Scripts follow one another
in one run of each driver, SCRIPTS_PER_RUN (25) at a time, so that the score
and modes carry over as in a long session. On a difference it prints the
script up to that dump and the keys that differ.
"""
import json
import random
import subprocess
import sys

FIGURES = ["Morvy", "YEL", "BLU", "NAV", "GRE", "RED", "ORA"]
TEXTS = [str(n) for n in range(1, 29)] * 3 + ["05", ".5", ".6", "2.", "x", "", "87", "-1", "29", "0", "a b", "123", " 7"]
KEYS = ["F1", "F5", "Ctrl+N", "Ctrl+E", "Ctrl+M", "Return", "Tab", "Backtab", "Left", "Right", "Up", "Down",
        "Space", "Escape", "Delete", "Backspace", "5", "1", "P", "Y", "B", "N", "G", "R", "O"] + \
       [f"Num+{d}" for d in (1, 2, 3, 4, 6, 7, 8, 9)] * 2


def script(rng):
    lines = []
    start = rng.random()
    if start < 0.4:
        lines.append("draws " + " ".join(str(rng.randint(1, 28)) for _ in range(7)))
        lines.append("click Randomizer_button")
    elif start < 0.5:
        lines += [f"seed {rng.randint(0, 10**6)}", "click Randomizer_button"]
    elif start < 0.8:
        lines.append("click cinsert")
        for i in range(7):
            if rng.random() < 0.7:
                lines.append(f"type CODE({i}) {rng.choice(TEXTS)}")
        lines.append("click cinsert")
    elif start < 0.9:
        lines.append("click cinsert")
        for figure in rng.sample(FIGURES, rng.randint(1, 7)):
            lines.append(f"drop {figure} {rng.randint(0, 28)}")
        lines.append("click cinsert")
    else:
        lines += ["click cinsert", "type CODE(3) 87", "type CODE(5) 87", "click cinsert"]
    for _ in range(rng.randint(10, 30)):
        r = rng.random()
        if r < 0.45:
            lines.append(f"click Square({rng.randint(1, 28)})")
        elif r < 0.55:
            # No plain click on the score box: within the double-click time
            # of a double click on it the desktop takes it for a third
            # click and selects all, and a script runs faster than that.
            lines.append("click " + rng.choice(["cinsert", "Randomizer_button", "Reset_button", "reseto", "spot",
                                                f"CODE({rng.randint(0, 6)})", "Square(0)"]))
        elif r < 0.63:
            lines.append(f"type CODE({rng.randint(0, 6)}) {rng.choice(TEXTS)}")
        elif r < 0.66:
            lines.append(f"type score_box {rng.choice(TEXTS)}")
        elif r < 0.68:
            lines.append("dblclick score_box")
        elif r < 0.76:
            lines.append(f"drop {rng.choice(FIGURES)} {rng.randint(0, 28)}")
        elif r < 0.92:
            lines.append(f"key {rng.choice(KEYS)}")
        elif r < 0.94:
            lines.append("draws " + " ".join(str(rng.randint(1, 28)) for _ in range(rng.randint(1, 7))))
        else:
            lines.append("dump")
    lines.append("dump")
    return lines


def run(program, text):
    done = subprocess.run([program], input=text.encode(), capture_output=True, timeout=600)
    if done.returncode != 0:
        sys.exit(f"{program} exited with {done.returncode}: {done.stderr.decode()[-2000:]}")
    return done.stdout.decode().splitlines()


def main():
    drive, web, count, seed = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    per_run = int(sys.argv[5]) if len(sys.argv) > 5 else 25
    rng = random.Random(seed)
    scripts = [script(rng) for _ in range(count)]
    dumps = 0
    for first in range(0, count, per_run):
        batch = scripts[first:first + per_run]
        # Seeded, so that every deal beyond the queued draws repeats.
        lines = [f"seed {rng.randint(0, 10**9)}"] + [line for s in batch for line in s]
        text = "\n".join(lines) + "\n"
        with subprocess.Popen([web], stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE) as browser:
            native = run(drive, text)
            out, err = browser.communicate(text.encode(), timeout=900)
            if browser.returncode != 0:
                sys.exit(f"{web} exited with {browser.returncode}: {err.decode()[-2000:]}")
            page = out.decode().splitlines()
        if len(native) != len(page):
            sys.exit(f"scripts {first}..: {len(native)} dumps from {drive}, {len(page)} from {web}")
        at = [i for i, line in enumerate(lines) if line == "dump"]
        for k, (a, b) in enumerate(zip(native, page)):
            if a != b:
                x, y = json.loads(a), json.loads(b)
                keys = [key for key in x if x[key] != y.get(key)]
                print(f"FAIL scripts from {first}: dump {k} differs in {keys}")
                for key in keys:
                    print(f"  {key}: desktop {json.dumps(x[key])}\n  {' ' * len(key)}  browser {json.dumps(y[key])}")
                print("script:\n" + "\n".join(lines[:at[k] + 1]))
                sys.exit(1)
        dumps += len(native)
    print(f"ok   {count} scripts, {dumps} dumps alike (seed {seed})")


if __name__ == "__main__":
    main()
