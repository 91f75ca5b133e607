#!/usr/bin/env python3
"""A scripted listener for the marking accuracy benchmark (scripts/accuracy.sh).

It plays a WAV of tones in the stand-in player on its real-time clock and presses the hot key
with real X input (xdotool) at each tone change plus a reaction time, names each track in the
Info window and saves the sheet. Then, as a listener who hears the boundary would, it corrects
every mark: caret in the track, Listen (F5), and the nudge keys until Listen starts the lead
before the change; and saves again. It prints one line of JSON with what it measured.

The player reports on standard output (--demo): where the windows' controls are, PAUSED with the
position at the press, CLOCK with the system time at which playback stood at a position, and
JUMPED with each position Listen or a nudge played from.
"""
import argparse
import json
import os
import random
import re
import subprocess
import sys
import time

FRAMES_PER_SECOND = 75
LEAD_MS = 2000          # listenlead=2 in the plug-in's settings
WAIT_S = 15             # the longest wait for a report of the player


class Player:
    """The stand-in player program and what it has printed so far."""

    def __init__(self, folder, dll, wav):
        self.log_path = os.path.join(folder, "player.log")
        self.log = open(self.log_path, "w")
        wine_wav = subprocess.check_output(["winepath", "-w", wav], text=True).strip()
        wine_folder = subprocess.check_output(["winepath", "-w", folder], text=True).strip()
        self.process = subprocess.Popen(["wine", "standin_player.exe", dll, "--appdata", wine_folder + "\\appdata",
                                         "--demo", wine_wav],
                                        cwd=folder, stdout=self.log, stderr=subprocess.STDOUT)

    def lines(self, word):
        with open(self.log_path, errors="replace") as f:
            return [l.strip() for l in f if l.startswith(word)]

    def wait(self, word, count=1, timeout=WAIT_S):
        """The count-th line starting with word, waiting for it; None after timeout seconds."""
        end = time.time() + timeout
        while True:
            found = self.lines(word)
            if len(found) >= count:
                return found[count - 1]
            if time.time() > end:
                return None
            time.sleep(0.01)

    def need(self, word, count=1):
        line = self.wait(word, count)
        if line is None:
            sys.exit("accuracy: no %s number %d from the player; its log:\n%s"
                     % (word, count, open(self.log_path, errors="replace").read()))
        return line

    def stop(self):
        self.process.kill()
        self.process.wait()
        self.log.close()


def at(line, key):
    """The x y of key=x,y in a reported line."""
    return re.search(r"\b%s=(-?\d+),(-?\d+)" % key, line).groups()


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def click(point):
    # Without --sync, which waits for a movement that never comes when the pointer is there.
    xdotool("mousemove", point[0], point[1], "click", "1")
    time.sleep(0.1)


def keys(*names):
    if names:
        xdotool("key", "--delay", "20", *names)


def frames_of_index(text):
    """The INDEX 01 times of a sheet, in frames, in order."""
    out = []
    for m, s, f in re.findall(r"INDEX 01 (\d+):(\d\d):(\d\d)", text):
        out.append((int(m) * 60 + int(s)) * FRAMES_PER_SECOND + int(f))
    return out


def mark_of_jump(jumped_ms):
    """The frame of the mark Listen played from (it jumps to the mark's ms, truncated, less the
    lead): the smallest frame whose ms give that jump."""
    ms = jumped_ms + LEAD_MS
    return -((-ms * FRAMES_PER_SECOND) // 1000)


def save(player, button, boxes, cue_path):
    click(button)
    box = player.need("MSGBOX", boxes)
    time.sleep(0.2)
    keys("Return")
    if "Saved to|" not in box:
        sys.exit("accuracy: expected the 'Saved to' box, got: " + box)
    with open(cue_path, newline="") as f:
        return f.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True, help="the player's folder: DLL, plugin.ini, WAV")
    parser.add_argument("--wav", required=True)
    parser.add_argument("--changes", required=True, help="frames at which the tones change")
    parser.add_argument("--reaction", default="0", help="MS or MIN-MAX (uniform, seeded)")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--correct", action="store_true", help="listen and nudge every mark")
    a = parser.parse_args()
    changes = [int(f) for f in a.changes.split(",")]
    low, _, high = a.reaction.partition("-")
    rng = random.Random(a.seed)
    reactions = [rng.uniform(float(low), float(high or low)) for _ in changes]
    cue_path = os.path.splitext(a.wav)[0] + ".cue"

    player = Player(a.folder, "gen_lumo.dll", a.wav)
    try:
        main_line = player.need("MAIN")
        player.need("READY")
        click(at(main_line, "seek"))  # a window of the player has the X focus: the hot key arrives
        presses = []
        for i, (change, reaction) in enumerate(zip(changes, reactions), start=1):
            clock = player.need("CLOCK", len(player.lines("CLOCK")) or 1).split()
            system_us, at_ms = int(clock[1]), int(clock[2])
            change_ms = change * 1000 / FRAMES_PER_SECOND
            due = (system_us + (change_ms - at_ms + reaction) * 1000) / 1e6
            if due < time.time() + 0.05:
                sys.exit("accuracy: change %d came before the listener was ready" % i)
            while time.time() < due - 0.003:
                time.sleep(min(0.002, max(0, due - 0.003 - time.time())))
            while time.time() < due:
                pass
            clocks = len(player.lines("CLOCK"))
            xdotool("key", "--delay", "0", "ctrl+alt+m")
            info = player.need("INFO", i)
            paused_ms = int(player.need("PAUSED", i).split()[1])
            presses.append({"reaction_ms": round(reaction, 1),
                            "delay_ms": round(paused_ms - change_ms - reaction, 1)})
            click(at(info, "title"))
            xdotool("type", "--delay", "10", "Tone %d" % i)
            keys("Return")                      # OK: playback goes on from the mark
            player.need("CLOCK", clocks + 1)
        cue = player.need("CUE")
        marked = frames_of_index(save(player, at(cue, "save"), 1, cue_path))

        corrected = marked
        escapes = 0
        listens = 0
        if a.correct:
            text = open(cue_path, newline="").read()
            lines = text.split("\r\n")
            track_lines = [n for n, l in enumerate(lines) if l.startswith("TRACK ")]
            for track, true_frame in enumerate(changes):
                click(at(cue, "editor"))
                keys("ctrl+Home", *["Down"] * (track_lines[track] + 1))  # its TITLE line
                for _ in range(8):
                    jumps = len(player.lines("JUMPED"))
                    keys("F5")
                    listens += 1
                    line = player.wait("JUMPED", jumps + 1, timeout=1.5)
                    if line is None:
                        # A known fault: after an odd number of Alt+arrow presses the window is
                        # in menu mode and F5 does nothing; Escape leaves menu mode.
                        escapes += 1
                        keys("Escape")
                        keys("F5")
                        line = player.need("JUMPED", jumps + 1)
                    heard = mark_of_jump(int(line.split()[1]))
                    off = true_frame - heard
                    if off == 0:
                        break
                    side = "Right" if off > 0 else "Left"
                    seconds, frames = divmod(abs(off), FRAMES_PER_SECOND)
                    jumps = len(player.lines("JUMPED"))
                    keys(*(["alt+shift+" + side] * seconds + ["alt+" + side] * frames))
                    player.need("JUMPED", jumps + seconds + frames)  # each nudge listens
            corrected = frames_of_index(save(player, at(cue, "save"), 2, cue_path))
        print(json.dumps({"changes": changes, "marked": marked, "corrected": corrected,
                          "presses": presses, "listens": listens, "escapes": escapes}))
    finally:
        player.stop()


if __name__ == "__main__":
    main()
