#!/usr/bin/env bash
# Takes screenshots of the Info and Cue windows (with the waveform of a recording with a gap, read
# and still being read) and the three preference tabs under Xvfb, into
# build/screenshots. Usage: screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/setup.sh"
configureAndBuild
OUT=${1:-$BUILD/screenshots}
mkdir -p "$OUT"
trap stopDisplay EXIT
startDisplay

work=$(mktemp -d)
cp "$BUILD/bin/gen_lumo.dll" "$BUILD/bin/standin_player.exe" "$work/"
[ -f "$ROOT/res/gen_lumo.txt" ] && cp "$ROOT/res/gen_lumo.txt" "$work/"
for scene in info cue wave wave-reading general format about; do
  rm -f "$work/plugin.ini" "$work/lumo_unsaved.cue"
  ( cd "$work" && wine standin_player.exe --scene "$scene" --hold 4 >"$work/$scene.log" 2>&1 ) &
  pid=$!
  for _ in $(seq 1 100); do grep -q READY "$work/$scene.log" 2>/dev/null && break; sleep 0.1; done
  sleep 0.7
  import -window root "$OUT/$scene.png"
  wait $pid || { echo "scene $scene failed:"; cat "$work/$scene.log"; exit 1; }
  echo "$OUT/$scene.png"
done
rm -rf "$work"
