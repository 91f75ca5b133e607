#!/usr/bin/env bash
# Sheets saved by the real DLL, read by every cue reader installed: cuebreakpoints, cueprint,
# shnsplit and metaflac must each accept each sheet and find its tracks where the marks were,
# to the frame. The audio is silence: WAV files written sparse (a header and a hole), and FLAC
# files that hold only their stream information (the length, no audio frames), which is all
# metaflac needs to take a sheet in; so long mixes cost neither time nor disk. shnsplit reads
# samples: it cuts the WAV of the same length (the FILE line of a sheet is not read by it).
#   readerMatrix.sh --player standin_player.exe --dll gen_lumo.dll
set -euo pipefail
while [ $# -gt 0 ]; do
  case "$1" in
    --player) player=$2; shift 2 ;;
    --dll) dll=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done
player=$(realpath "$player"); dll=$(realpath "$dll")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# A silent CD-quality WAV of the given seconds: 44-byte header, then a hole of zeros.
silentWav() {
  python3 - "$1" "$2" <<'PY'
import os, struct, sys
path, seconds = sys.argv[1], int(sys.argv[2])
data = seconds * 44100 * 4
with open(path, "wb") as f:
    f.write(b"RIFF" + struct.pack("<I", 36 + data) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16) + b"data" + struct.pack("<I", data))
os.truncate(path, 44 + data)
PY
}
# A FLAC file of the given seconds of CD audio without audio frames: the marker and one
# STREAMINFO block (block sizes, frame sizes unknown, rate, channels, bits, total samples, MD5).
streamInfoFlac() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
path, seconds = sys.argv[1], int(sys.argv[2])
rate, channels, bits = 44100, 2, 16
info = struct.pack(">HH", 4096, 4096) + bytes(6)
info += ((rate << 44) | ((channels - 1) << 41) | ((bits - 1) << 36) | seconds * rate).to_bytes(8, "big")
info += bytes(16)
with open(path, "wb") as f:
    f.write(b"fLaC" + bytes([0x80]) + len(info).to_bytes(3, "big") + info)
PY
}
for minutes in 75 130; do
  silentWav "$work/mix$minutes.wav" $((minutes * 60))
  streamInfoFlac "$work/mix$minutes.flac" $((minutes * 60))
done

# m:ss.ff of a frame count, as cuebreakpoints and shnsplit print times.
clock() { printf '%d:%02d.%02d' $(($1 / 4500)) $(($1 / 75 % 60)) $(($1 % 75)); }

# The cases: a name, the audio file, the mix it stands for, the marks in ms, a title.
ninetyNine=$(seq -s, 0 45000 $((98 * 45000)))
cases=(
  "flac-75|case75.flac|mix75|0,245120,1900911,3723450,4400000|Track"
  "wav-130|case130.wav|mix130|500,3599990,3600000,6000000,7700000|Song"
  "99-tracks|case99.wav|mix75|$ninetyNine|T"
  "quotes-and-backslashes|caseq.flac|mix75|1000,2000000|Deep \"Blue\" \\ Water"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r name file mix marks title <<<"$entry"
  echo "== $name"
  case "$file" in *.flac) ln -f "$work/$mix.flac" "$work/$file" ;; *) ln -f "$work/$mix.wav" "$work/$file" ;; esac
  folder="$work/plugin-$name"
  mkdir -p "$folder"
  cp "$dll" "$folder/gen_lumo.dll"
  ( cd "$folder" && wine "$player" "$(winepath -w "$folder/gen_lumo.dll")" --file "$(winepath -w "$work/$file")" --title "$title" \
      --marks "$marks" --save >/dev/null 2>&1 ) || fail "$name: the player failed"
  sheet="$work/${file%.*}.cue"
  [ -f "$sheet" ] || { fail "$name: no sheet saved"; continue; }

  # Where the tracks must start, in frames, from the marks.
  expected=()
  for ms in ${marks//,/ }; do expected+=($((ms * 75 / 1000))); done
  tracks=${#expected[@]}
  want=""
  for ((i = 1; i < tracks; i++)); do want+="$(clock "${expected[$i]}") "; done

  got=$(cuebreakpoints "$sheet" 2>&1) || fail "$name: cuebreakpoints refused the sheet: $got"
  [ "$(echo $got) " = "$want" ] || fail "$name: cuebreakpoints found '$(echo $got)', expected '$want'"
  cueprint "$sheet" >/dev/null 2>&1 || fail "$name: cueprint refused the sheet"

  # shnsplit cuts the audio (to nowhere) and says how long each piece is.
  out=$(shnsplit -P none -f "$sheet" -o null "$work/$mix.wav" 2>&1) || fail "$name: shnsplit refused: $out"
  at=0
  got=""
  while read -r length; do
    m=${length%%:*}; rest=${length#*:}; s=${rest%%.*}; f=${rest#*.}
    at=$((at + 10#$m * 4500 + 10#$s * 75 + 10#$f))
    got+="$(clock $at) "
  done < <(echo "$out" | sed -n 's/.*--> \[[^]]*\] (\([0-9:.]*\)).*/\1/p')
  # The pieces start at the second track, and at the first when it starts after a pregap
  # (INDEX 00 00:00:00); the last ends where the audio does.
  got=$(echo "$got" | awk '{ NF--; print }')
  cuts=$want
  [ "${expected[0]}" -gt 0 ] && cuts="$(clock "${expected[0]}") $want"
  [ "$(echo $got)" = "$(echo $cuts)" ] || fail "$name: shnsplit cut at '$got', expected '$(echo $cuts)'"

  # metaflac takes the sheet into a FLAC of the same length and gives it back.
  cp "$work/$mix.flac" "$work/import.flac"
  if out=$(metaflac --import-cuesheet-from="$sheet" "$work/import.flac" 2>&1); then
    got=$(metaflac --export-cuesheet-to=- "$work/import.flac" | awk '/INDEX 01/ { print $3 }' | tr '\n' ' ')
    wanted=""
    for frames in "${expected[@]}"; do
      wanted+=$(printf '%02d:%02d:%02d ' $((frames / 4500)) $((frames / 75 % 60)) $((frames % 75)))
    done
    [ "$got" = "$wanted" ] || fail "$name: metaflac holds '$got', expected '$wanted'"
  else
    fail "$name: metaflac refused the sheet: $out"
  fi
  [ $failures -eq 0 ] && echo "$name: $tracks tracks, read alike by cuebreakpoints, cueprint, shnsplit and metaflac"
done
[ $failures -eq 0 ] && echo "reader matrix: PASSED" || { echo "reader matrix: $failures FAILED"; exit 1; }
