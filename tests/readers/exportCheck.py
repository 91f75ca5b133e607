#!/usr/bin/env python3
# Checks what readers made of the exports of a cue sheet against the sheet's tracks: their
# INDEX 01 times in CD frames (1/75 s) and their "Performer - Title" texts. Prints one line per
# fault and exits 1 when there is any. For the video chapter list it prints the rules of video
# sites that the list breaks ("rules: none", or the ones broken) and what the plug-in's "Saved to"
# box must say of them after the file's path ("box: ...", its line breaks written " / " as the
# stand-in player prints a box).
#   exportCheck.py --frames F1,F2,... --titles TITLES_FILE [--length-frames N] KIND=FILE...
# KIND and what FILE holds:
#   ffprobe    ffprobe -of json -show_chapters of a file the FFmpeg metadata went into
#   mkvextract mkvextract chapters --simple of a file the Matroska chapters went into
#   srt        ffmpeg -i chapters.vtt -f srt - (the WebVTT chapters as FFmpeg read them)
#   podcast    the podcast chapters (JSON) as written
#   audacity   the Audacity labels as written
#   video      the chapter list for video and mix sites as written
# TITLES_FILE holds one text a line, UTF-8. Without --length-frames the last chapter's end is
# not checked.
import argparse
import json
import re
import sys

FRAMES_PER_SECOND = 75


def nearest_ms(frames):
    # frames * 1000 / 75 rounded; the fraction is 0, 1/3 or 2/3, never a half.
    return (frames * 40 + 1) // 3


def nearest_second(frames):
    return (frames + FRAMES_PER_SECOND // 2) // FRAMES_PER_SECOND


def clock_ms(text):
    h, m, rest = text.replace(",", ".").split(":")
    s, ms = rest.split(".")
    return ((int(h) * 60 + int(m)) * 60 + int(s)) * 1000 + int(ms.ljust(3, "0")[:3])


class Check:
    def __init__(self, frames, titles, length):
        self.frames, self.titles, self.length = frames, titles, length
        self.faults = []

    def fault(self, text):
        self.faults.append(text)

    def count(self, found):
        if found != len(self.frames):
            self.fault(f"{found} chapters, the sheet has {len(self.frames)} tracks")
        return min(found, len(self.frames))

    def title(self, i, found):
        if found != self.titles[i]:
            self.fault(f"chapter {i + 1}: text {found!r}, expected {self.titles[i]!r}")

    def ends(self, ends_ms):
        # Each chapter ends where the next starts, the last where the audio does.
        for i in range(len(ends_ms) - 1):
            if ends_ms[i] != nearest_ms(self.frames[i + 1]):
                self.fault(f"chapter {i + 1} ends at {ends_ms[i]} ms, the next starts at {nearest_ms(self.frames[i + 1])} ms")
        if self.length is not None and ends_ms and ends_ms[-1] != nearest_ms(self.length):
            self.fault(f"the last chapter ends at {ends_ms[-1]} ms, the audio at {nearest_ms(self.length)} ms")


def check_ffprobe(c, text):
    chapters = json.loads(text).get("chapters", [])
    n = c.count(len(chapters))
    ends = []
    for i in range(n):
        ch = chapters[i]
        num, den = (int(x) for x in ch["time_base"].split("/"))
        # start * num / den seconds must be the frame to within one unit of the time base
        start_units = int(ch["start"])
        if abs(start_units * num * FRAMES_PER_SECOND - c.frames[i] * den) > num * FRAMES_PER_SECOND:
            c.fault(f"chapter {i + 1} starts at {ch['start_time']} s, INDEX 01 is frame {c.frames[i]}")
        ends.append(round(int(ch["end"]) * num * 1000 / den))
        c.title(i, ch.get("tags", {}).get("title"))
    c.ends(ends)


def check_mkvextract(c, text):
    starts = re.findall(r"^CHAPTER(\d+)=(\S+)$", text, re.M)
    names = dict(re.findall(r"^CHAPTER(\d+)NAME=(.*)$", text, re.M))
    n = c.count(len(starts))
    for i in range(n):
        number, at = starts[i]
        if clock_ms(at) != nearest_ms(c.frames[i]):
            c.fault(f"chapter {i + 1} at {at}, INDEX 01 is {nearest_ms(c.frames[i])} ms")
        c.title(i, names.get(number))


def check_srt(c, text):
    cues = re.findall(r"^\d+\r?\n(\S+) --> (\S+)\r?\n(.*?)\r?\n(?:\r?\n|$)", text, re.M | re.S)
    n = c.count(len(cues))
    for i in range(n):
        if clock_ms(cues[i][0]) != nearest_ms(c.frames[i]):
            c.fault(f"cue {i + 1} starts at {cues[i][0]}, INDEX 01 is {nearest_ms(c.frames[i])} ms")
        c.title(i, cues[i][2])
    c.ends([clock_ms(cue[1]) for cue in cues[:n]])


def check_podcast(c, text):
    data = json.loads(text)
    chapters = data.get("chapters", [])
    n = c.count(len(chapters))
    for i in range(n):
        at = chapters[i]["startTime"]
        if round(at * 1000) != nearest_ms(c.frames[i]):
            c.fault(f"chapter {i + 1} startTime {at}, INDEX 01 is {c.frames[i] / FRAMES_PER_SECOND:.6f} s")
        c.title(i, chapters[i].get("title"))


def check_audacity(c, text):
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    n = c.count(len(lines))
    for i in range(n):
        fields = lines[i].split("\t")
        if len(fields) != 3:
            c.fault(f"label {i + 1} is not start TAB end TAB text: {lines[i]!r}")
            continue
        start, end = float(fields[0]), float(fields[1])
        if abs(start * FRAMES_PER_SECOND - c.frames[i]) > 1e-4 or end != start:
            c.fault(f"label {i + 1} at {fields[0]}..{fields[1]}, INDEX 01 is {c.frames[i] / FRAMES_PER_SECOND:.6f} s")
        c.title(i, fields[2])


def check_video(c, text):
    lines = [line for line in text.split("\n") if line]
    n = c.count(len(lines))
    seconds = []
    for i in range(n):
        m = re.match(r"^(?:(\d+):)?(\d{1,2}):(\d\d) (.*)$", lines[i])
        if not m:
            c.fault(f"line {i + 1} is no chapter line: {lines[i]!r}")
            return
        at = (int(m.group(1) or 0) * 60 + int(m.group(2))) * 60 + int(m.group(3))
        wanted = 0 if i == 0 else nearest_second(c.frames[i])
        if at != wanted:
            c.fault(f"line {i + 1} at {at} s, expected {wanted} s")
        c.title(i, m.group(4))
        seconds.append(at)
    # The rules of video sites, read from the list itself: each broken one, and how the plug-in
    # tells it (None: it does not).
    broken = []
    if not seconds or seconds[0] != 0:
        broken.append(("first not at 0:00", None))
    if len(seconds) < 3:
        broken.append(("fewer than 3", "it has fewer than 3 chapters"))
    follows = seconds[1:] + ([nearest_second(c.length)] if c.length is not None else [])
    pairs = list(enumerate(zip(seconds, follows)))
    short = [i + 1 for i, (at, following) in pairs if following > at and following - at < 10]
    unordered = [i + 2 for i, (at, following) in pairs if following <= at and i + 1 < len(seconds)]
    if short:
        broken.append((f"chapter {short[0]} shorter than 10 seconds", f"chapter {short[0]} is shorter than 10 seconds"))
    if unordered:
        broken.append((f"chapter {unordered[0]} not after", f"chapter {unordered[0]} does not come after the one before it"))
    print("rules: " + (", ".join(rule for rule, _ in broken) if broken else "none"))
    told = "".join(f" / - {told or '(not told: ' + rule + ')'}" for rule, told in broken)
    box = " /  / Video sites will refuse this chapter list:" + told if broken else ""
    # A first track that starts later is listed at 0:00, and the box says where it starts.
    first = nearest_second(c.frames[0]) if c.frames else 0
    if first:
        clock = f"{first // 60}:{first % 60:02}"
        if first >= 3600:
            clock = f"{first // 3600}:{first // 60 % 60:02}:{first % 60:02}"
        box += (f" /  / The first chapter starts at {clock} in the sheet; it is listed at 0:00, where video"
                " sites want the first chapter.")
    print("box: " + box)


KINDS = ["ffprobe", "mkvextract", "srt", "podcast", "audacity", "video"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("files", nargs="+", metavar="KIND=FILE")
    parser.add_argument("--frames", required=True)
    parser.add_argument("--titles", required=True)
    parser.add_argument("--length-frames", type=int)
    a = parser.parse_args()
    frames = [int(f) for f in a.frames.split(",")]
    with open(a.titles, encoding="utf-8") as f:
        titles = f.read().split("\n")[: len(frames)]
    faults = 0
    for pair in a.files:
        kind, _, path = pair.partition("=")
        if kind not in KINDS:
            parser.error(f"unknown kind {kind!r}")
        c = Check(frames, titles, a.length_frames)
        try:
            with open(path, encoding="utf-8", newline="") as f:
                globals()["check_" + kind](c, f.read())
        except (OSError, ValueError, KeyError) as e:  # unreadable, no JSON, a field missing
            c.fault(f"{path} could not be read: {e}")
        for fault in c.faults:
            print(f"{kind}: {fault}")
        faults += len(c.faults)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
