#!/usr/bin/env bash
# Marking accuracy: how close to a track boundary the marks land. A scripted listener
# (bench/accuracyListener.py) plays a WAV of tones that change on known frames (made with sox)
# in the stand-in player on its real-time clock, and presses the hot key with real X input at
# each change plus a reaction time of 180 to 260 ms (seeded), once with "Mark earlier by"
# (markoffset) 0 and once with 220 ms; then it corrects each mark with Listen and the nudge
# keys in the Cue window, as a listener who hears the boundary would. A run at reaction 0 gives
# the tool chain's own delay (X server, Wine, player, plug-in). Prints the mean and largest error
# in frames (1/75 s) of the marks as pressed and after correcting.
#   bash scripts/accuracy.sh [SEED]
set -euo pipefail
source "$(dirname "$0")/env.sh"
seed=${1:-2024}
bash "$ROOT/scripts/setup.sh"
configureAndBuild

work=$(mktemp -d)
finish() {
  stopDisplay
  rm -rf "$work"
}
trap finish EXIT
startDisplay

# Nine tones; the changes fall on these frames (2.9 to 3.6 s apart, so that a mark and its
# naming are done before the next one).
changes=(315 563 818 1036 1305 1523 1793 2010)
end=2235
samplesPerFrame=588
pieces=()
from=0
i=0
for to in "${changes[@]}" $end; do
  piece="$work/tone$i.wav"
  sox -r 44100 -c 2 -b 16 -n "$piece" synth "$(((to - from) * samplesPerFrame))s" sine $((330 + 110 * i)) gain -6
  pieces+=("$piece")
  from=$to
  i=$((i + 1))
done
sox "${pieces[@]}" "$work/Tones.wav"
[ "$(soxi -s "$work/Tones.wav")" = $((end * samplesPerFrame)) ] || { echo "accuracy: the WAV has the wrong length"; exit 1; }

# One run: a folder of its own with the DLL, the player, the WAV and plugin.ini.
run() {  # name, markoffset, reaction, listener options...
  local name=$1 offset=$2 reaction=$3
  shift 3
  local folder="$work/$name"
  mkdir -p "$folder"
  cp "$BUILD/bin/gen_lumo.dll" "$BUILD/bin/standin_player.exe" "$work/Tones.wav" "$folder/"
  printf '[LUMO]\r\nmarkoffset=%s\r\nlistenlead=2\r\n' "$offset" > "$folder/plugin.ini"
  echo "$name: markoffset $offset, reaction $reaction ms" >&2
  python3 "$ROOT/bench/accuracyListener.py" --folder "$folder" --wav "$folder/Tones.wav" \
    --changes "$(IFS=,; echo "${changes[*]}")" --reaction "$reaction" --seed "$seed" "$@" > "$work/$name.json"
}
run toolchain 0 0
run offset0 0 180-260 --correct
run offset220 220 180-260 --correct

python3 - "$work" "$seed" <<'PY'
import json, sys
work, seed = sys.argv[1], sys.argv[2]
runs = {name: json.load(open("%s/%s.json" % (work, name))) for name in ("toolchain", "offset0", "offset220")}
def row(label, run, key, note=""):
    errors = [m - c for m, c in zip(run[key], run["changes"])]
    exact = sum(1 for e in errors if e == 0)
    print("%-38s %+7.1f %7.1f %+7d %5d/%d   %s" % (label, sum(errors) / len(errors),
          sum(abs(e) for e in errors) / len(errors), max(errors, key=abs), exact, len(errors), note))
tool = runs["toolchain"]
delays = [p["delay_ms"] for p in tool["presses"]]
print("Marking accuracy: %d tone changes; reaction times 180-260 ms (seed %s)."
      % (len(tool["changes"]), seed))
print("Errors in frames (1/75 s): each mark less its change, positive when late.")
print()
print("%-38s %7s %7s %7s %7s" % ("", "mean", "|mean|", "largest", "exact"))
row("tool chain alone (reaction 0)", tool, "marked",
    "key press to mark: %.1f ms mean, %.1f ms largest" % (sum(delays) / len(delays), max(delays)))
for name, offset in (("offset0", 0), ("offset220", 220)):
    run = runs[name]
    row("markoffset %d, as pressed" % offset, run, "marked")
    row("  after listening and nudging", run, "corrected",
        "%d times F5, %d of them doing nothing until Escape" % (run["listens"], run["escapes"]))
PY
