#!/usr/bin/env bash
# Sheets saved by the real DLL, read by every cue reader installed: cuebreakpoints, cueprint,
# shnsplit, metaflac and mkvmerge must each accept each sheet and find its tracks where the marks
# were, to the frame, and cueprint and mkvextract show each title as typed (as the sheet holds
# it). One sheet has a title in other scripts and an audio file named outside code page 1252:
# saved under the Automatic encoding it is UTF-8 with a BOM and a first REM line, and mkvmerge
# runs in a locale that is not UTF-8, so only the BOM can tell it. Each sheet is also the Cue
# window's text as the player printed it. The audio is silence: WAV files written sparse (a
# header and a hole), and FLAC files that hold only their stream information (the length, no
# audio frames), which is all metaflac needs to take a sheet in; so long mixes cost neither time
# nor disk. shnsplit reads samples: it cuts the WAV of the same length (the FILE line of a sheet
# is not read by it). mkvmerge keeps chapters past the end of its audio: one second of it does.
# Each sheet is also exported by the DLL in every type the Export dialog offers (the type chosen
# in the dialog), and each export is read by the tool it is for: the FFmpeg metadata put into a
# Matroska file by ffmpeg and read back by ffprobe, the Matroska chapters by mkvmerge and
# mkvextract, the WebVTT chapters by ffmpeg, the podcast chapters by Python's JSON reader; the
# Audacity labels and the chapter list for video sites are read by tests/readers/exportCheck.py,
# which also checks the video sites' rules against what the "Saved to" box said. Every chapter
# must start at its track's INDEX 01 to the frame and carry "Performer - Title"; the last ends
# where the audio does. A show in two files, one sheet with two FILE blocks, is read by the
# readers that take several FILE blocks (cuebreakpoints, cueprint: times count from each file's
# start); shnsplit and metaflac refuse such a sheet and mkvmerge takes its times as one file's,
# so they are not asked. Its export holds the first file's tracks and says how many it left out.
# A sheet for a CD (CATALOG, ISRC, FLAGS, SONGWRITER, a first track after a pregap) for a CD-quality
# WAV is typed into the Cue window with "Check for burning a CD" on and saved, read by cdrdao
# show-toc and toc-info (tracks, ISRC codes and lengths as written), and one track too short is
# then refused by the check; a table of bad sheets is checked by sheet_check_tool (the check as
# Save makes it for a CD) and read by cdrdao, and each row states both verdicts.
#   readerMatrix.sh --player standin_player.exe --dll gen_lumo.dll --check sheet_check_tool.exe
set -euo pipefail
while [ $# -gt 0 ]; do
  case "$1" in
    --player) player=$2; shift 2 ;;
    --dll) dll=$2; shift 2 ;;
    --check) checkTool=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done
player=$(realpath "$player"); dll=$(realpath "$dll"); checkTool=$(realpath "$checkTool")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
check=$(dirname "$(realpath "$0")")/exportCheck.py
# The export types in the order of the dialog's type list, and the names the exports get.
exportNames=(video.txt ffmeta mkv.txt vtt json labels.txt)

# A silent WAV of the given seconds: 44-byte header, then a hole of zeros; CD quality unless a
# rate and a number of channels follow.
silentWav() {
  python3 - "$1" "$2" "${3:-44100}" "${4:-2}" <<'PY'
import os, struct, sys
path, seconds, rate, channels = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
data = seconds * rate * channels * 2
with open(path, "wb") as f:
    f.write(b"RIFF" + struct.pack("<I", 36 + data) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * channels * 2, channels * 2, 16) + b"data" +
            struct.pack("<I", data))
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
silentWav "$work/second.wav" 1
silentWav "$work/cd1.wav" 1   # the show in two files: the player is told their lengths
silentWav "$work/cd2.wav" 1

# m:ss.ff of a frame count, as cuebreakpoints and shnsplit print times.
clock() { printf '%d:%02d.%02d' $(($1 / 4500)) $(($1 / 75 % 60)) $(($1 % 75)); }

# The six exports of a case, each read by its tool and checked against the sheet's tracks.
# The folder's Windows path is $wide.
checkExports() {  # name folder audio-length-frames frames(comma-separated) titles(a line each)
  local name=$1 folder=$2 length=$3 frames=$4 out
  printf '%s\n' "$5" >"$work/titles"
  # The "Saved to" box of each export, in the order of the types, after the sheet's own.
  mapfile -t boxes < <(tr -d '\r' < "$work/printed" | grep '^MSGBOX Saved to|' | tail -n 6 | cut -d'|' -f2-)
  [ ${#boxes[@]} = 6 ] || { fail "$name: ${#boxes[@]} exports confirmed, expected 6"; return; }
  for ((t = 2; t <= 6; t++)); do
    [ "${boxes[t - 1]}" = "$wide\\export.${exportNames[t - 1]}" ] || fail "$name: export $t's box says '${boxes[t - 1]}'"
  done

  local readers=(video="$folder/export.video.txt" audacity="$folder/export.labels.txt" podcast="$folder/export.json")
  if ffmpeg -v error -y -i "$work/second.wav" -i "$folder/export.ffmeta" -map_metadata 1 -map_chapters 1 -c copy "$work/meta.mka" 2>"$work/errors" &&
     ffprobe -v error -of json -show_chapters "$work/meta.mka" >"$work/probe.json" 2>>"$work/errors"; then
    readers+=(ffprobe="$work/probe.json")
  else
    fail "$name: ffmpeg refused the FFmpeg metadata: $(cat "$work/errors")"
  fi
  # Under a locale that is not UTF-8 only the BOM of a chapter file beyond ASCII tells mkvmerge.
  if LC_ALL=C mkvmerge -q -o "$work/mkv.mka" --chapters "$folder/export.mkv.txt" "$work/second.wav" >"$work/errors" 2>&1; then
    mkvextract "$work/mkv.mka" chapters --simple - >"$work/simple.txt"
    readers+=(mkvextract="$work/simple.txt")
  else
    fail "$name: mkvmerge refused the Matroska chapters: $(cat "$work/errors")"
  fi
  if ffmpeg -v error -i "$folder/export.vtt" -f srt - >"$work/vtt.srt" 2>"$work/errors"; then
    readers+=(srt="$work/vtt.srt")
  else
    fail "$name: ffmpeg refused the WebVTT chapters: $(cat "$work/errors")"
  fi
  out=$(python3 "$check" --frames "$frames" --titles "$work/titles" --length-frames "$length" "${readers[@]}") ||
    fail "$name: $(echo "$out" | grep -v '^rules: \|^box: ')"

  # What the chapter list breaks of the video sites' rules, as the "Saved to" box must say it.
  local said
  said="$wide\\export.video.txt$(echo "$out" | sed -n 's/^box: //p')"
  [ "${boxes[0]}" = "$said" ] || fail "$name: the video list's box says '${boxes[0]}', expected '$said'"
  videoRules=$(echo "$out" | sed -n 's/^rules: //p')
}

# The cases: a name, the audio file, the mix it stands for, the marks in ms, the title typed
# (each track's is it and its number), the title the sheet holds when it differs.
ninetyNine=$(seq -s, 0 45000 $((98 * 45000)))
cases=(
  "flac-75|case75.flac|mix75|0,245120,1900911,3723450,4400000|Track|"
  "wav-130|case130.wav|mix130|500,3599990,3600000,6000000,7700000|Song|"
  "99-tracks|case99.wav|mix75|$ninetyNine|T|"
  "quotes-and-backslashes|caseq.flac|mix75|1000,2000000|Deep \"Blue\" \\ Water|Deep 'Blue' \\ Water"
  # Cyrillic, Japanese and an emoji (a surrogate pair in UTF-16); the name holds an e acute,
  # Japanese and an en dash.
  "any-script|Café 東京 – mix.flac|mix75|0,1013,245120,3723450|Жёлтый 東京 🎵|"
)
bom=$'\xEF\xBB\xBF'
for entry in "${cases[@]}"; do
  IFS='|' read -r name file mix marks title shown <<<"$entry"
  shown=${shown:-$title}
  echo "== $name"
  case "$file" in *.flac) ln -f "$work/$mix.flac" "$work/$file" ;; *) ln -f "$work/$mix.wav" "$work/$file" ;; esac
  folder="$work/plugin-$name"
  mkdir -p "$folder"
  cp "$dll" "$folder/gen_lumo.dll"
  seconds=$((${mix#mix} * 60))
  exports=()
  wide=$(winepath -w "$folder")
  for ((t = 1; t <= 6; t++)); do exports+=(--type $t --export "$wide\\export.${exportNames[t - 1]}"); done
  ( cd "$folder" && wine "$player" "$(winepath -w "$folder/gen_lumo.dll")" --appdata "$wide\\appdata" --file "$(winepath -w "$work/$file")" --title "$title" \
      --length $seconds --marks "$marks" --print --save "${exports[@]}" >"$work/printed" 2>&1 ) || fail "$name: the player failed"
  sheet="$work/${file%.*}.cue"
  [ -f "$sheet" ] || { fail "$name: no sheet saved"; continue; }

  # Automatic: a sheet of ASCII only as it is, any other UTF-8 with a BOM and a first REM line;
  # after that, the Cue window's text as printed (UTF-8) and a line break.
  printed=$(sed -n '/^SHEET-BEGIN/,/^SHEET-END/p' "$work/printed" | sed '1d;$d' | tr -d '\r')
  prefix=""
  LC_ALL=C grep -q '[^ -~]' <<<"$printed" && prefix="${bom}REM COMMENT \"LumoMarker\""$'\n'
  [ "$(tr -d '\r' < "$sheet")" = "$prefix$printed" ] || fail "$name: the file is not the printed sheet after '$prefix'"
  [ -z "$prefix" ] || [ "$(head -c 3 "$sheet")" = "$bom" ] || fail "$name: no BOM"

  # Where the tracks must start, in frames, from the marks.
  expected=()
  for ms in ${marks//,/ }; do expected+=($((ms * 75 / 1000))); done
  tracks=${#expected[@]}
  want=""
  for ((i = 1; i < tracks; i++)); do want+="$(clock "${expected[$i]}") "; done

  # (cuetools say "bad character" for each byte of a first line it cannot read, on stderr)
  got=$(cuebreakpoints "$sheet" 2>"$work/errors") || fail "$name: cuebreakpoints refused the sheet: $(cat "$work/errors")"
  [ "$(echo $got) " = "$want" ] || fail "$name: cuebreakpoints found '$(echo $got)', expected '$want'"
  # The titles as the readers show them: cueprint (a BOM costs it only the REM line) and
  # mkvmerge, which names a chapter "performer - title".
  titles=""
  for ((i = 1; i <= tracks; i++)); do titles+="$shown $i"$'\n'; done
  got=$(cueprint -d '' -t '%t\n' "$sheet" 2>/dev/null) || fail "$name: cueprint refused the sheet"
  [ "$got"$'\n' = "$titles" ] || fail "$name: cueprint shows the titles '$(echo $got | head -c 200)'"
  chapters=""
  for ((i = 1; i <= tracks; i++)); do
    ms=$((expected[i - 1] * 1000 / 75))  # the frame's start, cut to whole milliseconds
    chapters+=$(printf 'CHAPTER%02d=%02d:%02d:%02d.%03d\nCHAPTER%02dNAME=Performer - %s' $i $((ms / 3600000)) \
                $((ms / 60000 % 60)) $((ms / 1000 % 60)) $((ms % 1000)) $i "$shown $i")$'\n'
  done
  cp "$sheet" "$work/sheet.cue"  # an ASCII name: the locale below cannot carry any other
  if out=$(LC_ALL=C mkvmerge -q -o "$work/chapters.mka" --chapters "$work/sheet.cue" "$work/second.wav" 2>&1); then
    got=$(mkvextract "$work/chapters.mka" chapters --simple - | tr -d '\r')
    [ "$got"$'\n' = "$chapters" ] || fail "$name: mkvextract printed '$(echo "$got" | head -4)', expected '$(echo "$chapters" | head -4)'"
  else
    fail "$name: mkvmerge refused the sheet: $out"
  fi

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

  checkExports "$name" "$folder" $((seconds * 75)) "$(IFS=,; echo "${expected[*]}")" \
      "$(for ((i = 1; i <= tracks; i++)); do echo "Performer - $shown $i"; done)"
  [ $failures -eq 0 ] && echo "$name: $tracks tracks, read alike by cuebreakpoints, cueprint, shnsplit, metaflac and mkvmerge;" \
                              "exported in 6 types, each read by its tool (video sites' rules broken: $videoRules, as the box said)"
done

# A show in two files: marks in the first, the player on the second, marks there, one sheet.
echo "== two-files"
folder="$work/plugin-two"
mkdir -p "$folder"
cp "$dll" "$folder/gen_lumo.dll"
first=(0 600000 1800000); second=(1013 900000)
( cd "$folder" && wine "$player" "$(winepath -w "$folder/gen_lumo.dll")" --appdata "$(winepath -w "$folder")\\appdata" --file "$(winepath -w "$work/cd1.wav")" --title Part \
    --length 2400 --marks "$(IFS=,; echo "${first[*]}")" --play "$(winepath -w "$work/cd2.wav")" --length 1800 \
    --marks "$(IFS=,; echo "${second[*]}")" --save --type 2 --export "$(winepath -w "$folder/export.ffmeta")" \
    >"$work/printed" 2>&1 ) || fail "two-files: the player failed"
sheet="$work/cd1.cue"
if [ ! -f "$sheet" ]; then
  fail "two-files: no sheet saved"
else
  [ "$(grep -c '^FILE ' "$sheet")" = 2 ] || fail "two-files: the sheet does not hold two FILE lines"
  # cuebreakpoints: every track's start but the first, each within its own file.
  want=""
  for ms in "${first[@]:1}" "${second[@]}"; do want+="$(clock $((ms * 75 / 1000))) "; done
  got=$(cuebreakpoints "$sheet" 2>&1) || fail "two-files: cuebreakpoints refused the sheet: $got"
  [ "$(echo $got) " = "$want" ] || fail "two-files: cuebreakpoints found '$(echo $got)', expected '$want'"
  got=$(cueprint -d '' -t '%n %t\n' "$sheet" 2>&1) || fail "two-files: cueprint refused the sheet: $got"
  [ "$(echo $got)" = "1 Part 1 2 Part 2 3 Part 3 4 Part 4 5 Part 5" ] || fail "two-files: cueprint shows '$(echo $got)'"
  # The export holds the first file's tracks, and the box says how many it left out.
  grep -qxF "MSGBOX Saved to|$(winepath -w "$folder/export.ffmeta") /  / 2 tracks of the sheet's later files are not in it: chapters are times in one recording." \
      <(tr -d '\r' < "$work/printed") || fail "two-files: the export's box is not as expected: $(grep MSGBOX "$work/printed" | tail -1)"
  frames=""
  for ms in "${first[@]}"; do frames+="${frames:+,}$((ms * 75 / 1000))"; done
  ffmpeg -v error -y -i "$work/second.wav" -i "$folder/export.ffmeta" -map_metadata 1 -map_chapters 1 -c copy "$work/two.mka" &&
    ffprobe -v error -of json -show_chapters "$work/two.mka" >"$work/probe.json" || fail "two-files: ffmpeg refused the export"
  printf 'Performer - Part %d\n' 1 2 3 >"$work/titles"
  # The player plays the second file: the first one's length is not known, and the last chapter
  # ends a second after its start.
  out=$(python3 "$check" --frames "$frames" --titles "$work/titles" --length-frames $((first[2] * 75 / 1000 + 75)) \
        ffprobe="$work/probe.json") || fail "two-files: $out"
  [ $failures -eq 0 ] && echo "two-files: 2 FILE blocks read by cuebreakpoints and cueprint; the export holds the first file's 3 tracks"
fi
# A sheet for a CD, typed into the Cue window and saved with "Check for burning a CD" on: the
# check passes it (no box but "Saved to"); cdrdao reads it as written. A fourth track of two
# seconds at the end of the one-minute WAV (its length from the WAV header) is then refused.
echo "== cdrdao"
folder="$work/plugin-cd"
mkdir -p "$folder/burn"
cp "$dll" "$folder/gen_lumo.dll"
printf '[LUMO]\r\ncdcheck=1\r\n' >"$folder/plugin.ini"
silentWav "$folder/burn/burn.wav" 60
cdSheet='CATALOG 4006381333931
PERFORMER "DJ Example"
TITLE "Night Drive"
FILE "burn.wav" WAVE
TRACK 01 AUDIO
    TITLE "Opening"
    PERFORMER "Artist One"
    SONGWRITER "Writer One"
    ISRC GBAYE0400001
    FLAGS DCP PRE
    INDEX 00 00:00:00
    INDEX 01 00:00:30
TRACK 02 AUDIO
    TITLE "Second Wind"
    PERFORMER "Artist Two"
    SONGWRITER "Writer Two"
    ISRC USRC17607839
    INDEX 01 00:20:00
TRACK 03 AUDIO
    TITLE "After the Hour"
    PERFORMER "Artist Three"
    INDEX 01 00:45:00'
( cd "$folder" && wine "$player" "$(winepath -w "$folder/gen_lumo.dll")" --appdata "$(winepath -w "$folder")\\appdata" \
    --file "$(winepath -w "$folder/burn/burn.wav")" --edit "${cdSheet//$'\n'/$'\r\n'}" --save \
    --edit $'\r\nTRACK 04 AUDIO\r\n    INDEX 01 00:58:00' --save >"$work/printed" 2>&1 ) || fail "cdrdao: the player failed"
mapfile -t boxes < <(tr -d '\r' < "$work/printed" | grep '^MSGBOX ')
[ "${boxes[0]:-}" = "MSGBOX Saved to|$(winepath -w "$folder/burn/burn.cue")" ] ||
  fail "cdrdao: the sheet was not saved at once: ${boxes[0]:-no box}"
case "${boxes[1]:-}" in
  *"TRACK 04 lasts 00:02:00, shorter than the 4 seconds a CD track needs"*) ;;
  *) fail "cdrdao: the short fourth track was not refused: ${boxes[1]:-no box}" ;;
esac
sheet="$folder/burn/burn.cue"
[ "$(tr -d '\r' < "$sheet")" = "$cdSheet" ] || fail "cdrdao: the saved sheet is not the typed one"
toc=$(cd "$folder/burn" && cdrdao show-toc burn.cue 2>&1) || fail "cdrdao: show-toc refused the sheet: $toc"
info=$(cd "$folder/burn" && cdrdao toc-info burn.cue 2>/dev/null) || fail "cdrdao: toc-info refused the sheet"
# What cdrdao read, the flags' lines aside: the catalog number, each track's ISRC and times.
got=$(echo "$toc" | grep -E 'CATALOG|^TRACK|ISRC|PREGAP|START|END|WARNING' | sed 's/  */ /g; s/^ //')
want="CATALOG NUMBER: 4006381333931
TRACK 1 Mode AUDIO:
ISRC GB AYE 04 00001
PREGAP 00:00:30( 30)
START 00:00:30( 30)
END 00:20:00( 1500)
TRACK 2 Mode AUDIO:
ISRC US RC1 76 07839
START 00:20:00( 1500)
END 00:45:00( 3375)
TRACK 3 Mode AUDIO:
START 00:45:00( 3375)
END 01:00:00( 4500)"
[ "$got" = "$want" ] || fail "cdrdao: show-toc read '$got'"
{ grep -q 'COPY PERMITTED' <<<"$toc" && grep -q '^ *PRE-EMPHASIS' <<<"$toc"; } || fail "cdrdao: the FLAGS were not read"
[ "$info" = "burn.cue: 3 tracks, length 01:00:00, 4500 blocks, 10 MB" ] || fail "cdrdao: toc-info said '$info'"
[ $failures -eq 0 ] && echo "cdrdao: the sheet saved for a CD is read as written: 3 tracks, ISRC, catalog, flags, 01:00:00"

# Bad sheets: what the check says (a piece of its problem; none: it passes) and what cdrdao does
# (refuses or warns, with a piece of its message; accepts; or makes a disc of the given length).
# cdrdao takes a wrong check digit, and until it writes, 100 tracks and more than 80 minutes; the
# check reports them all (libcue refuses 100 tracks; the capacity is the CD's).
bad="$work/bad"
mkdir -p "$bad"
silentWav "$bad/a.wav" 60
silentWav "$bad/mono.wav" 10 44100 1
silentWav "$bad/r48.wav" 10 48000 2
silentWav "$bad/long.wav" 4860
head1='FILE "a.wav" WAVE;TRACK 01 AUDIO'
hundred='FILE "long.wav" WAVE'$(for ((i = 0; i < 100; i++)); do
  printf ';TRACK %02d AUDIO;INDEX 01 %02d:%02d:00' $((i + 1)) $((i / 12)) $((i * 5 % 60)); done)
x81=$(printf 'x%.0s' {1..81})
# name|sheet (";" for a line break)|the check's words|cdrdao's verdict|its words
rows=(
  "isrc-length|$head1;ISRC GBAYE040001;INDEX 01 00:00:00|ISRC \"GBAYE040001\" is not|refuses|ISRC must be 12 characters long"
  "isrc-case|$head1;ISRC gbaye0400001;INDEX 01 00:00:00|ISRC \"gbaye0400001\" is not|refuses|Illegal ISRC code"
  "catalog-short|CATALOG 400638133393;$head1;INDEX 01 00:00:00|CATALOG \"400638133393\" is not 13 digits|refuses|Catalog number must be 13 characters long"
  "catalog-check-digit|CATALOG 4006381333932;$head1;INDEX 01 00:00:00|has a wrong check digit|accepts|"
  "frames-75|$head1;INDEX 01 00:00:00;TRACK 02 AUDIO;INDEX 01 00:10:75|has more than 74 frames|refuses|Timecode out of range"
  "100-tracks|$hundred|TRACK 100 is past 99|accepts|"
  "81-minutes|FILE \"long.wav\" WAVE;TRACK 01 AUDIO;INDEX 01 00:00:00|the disc lasts 81:00:00|length|81:00:00"
  "track-under-4s|$head1;INDEX 01 00:00:00;TRACK 02 AUDIO;INDEX 01 00:03:00|TRACK 01 lasts 00:03:00|warns|Track 1: Length is shorter than 4 seconds"
  "composer|COMPOSER \"Bach\";$head1;INDEX 01 00:00:00|\"COMPOSER\" is no cue keyword|refuses|Unknown command"
  "flags|$head1;FLAGS DCP COPY;INDEX 01 00:00:00|\"COPY\" is not a flag|refuses|Unknown command"
  "title-81|$head1;TITLE \"$x81\";INDEX 01 00:00:00|TITLE holds 81 characters|refuses|String too long"
  "mono|FILE \"mono.wav\" WAVE;TRACK 01 AUDIO;INDEX 01 00:00:00|44100 Hz, 16-bit, mono|refuses|require 2 channels"
  "48-khz|FILE \"r48.wav\" WAVE;TRACK 01 AUDIO;INDEX 01 00:00:00|48000 Hz, 16-bit, stereo|refuses|require 44100"
  "no-index-00|$head1;INDEX 01 00:05:00|leaves out the 00:05:00|length|00:55:00"
  "late-index-00|$head1;INDEX 00 00:02:00;INDEX 01 00:05:00|leaves out the 00:02:00|length|00:58:00"
  "index-00-at-start|$head1;INDEX 00 00:00:00;INDEX 01 00:05:00||length|01:00:00"
)
badWide=$(winepath -w "$bad")
files=()
for row in "${rows[@]}"; do
  IFS='|' read -r name text _ <<<"$row"
  printf '%s\r\n' "${text//;/$'\r\n'}" >"$bad/$name.cue"
  files+=("$badWide\\$name.cue")
done
wine "$checkTool" "${files[@]}" 2>/dev/null | tr -d '\r' >"$work/verdicts" || fail "cdrdao: sheet_check_tool failed"
printf '%-20s %-42s %s\n' sheet "the check" cdrdao
for row in "${rows[@]}"; do
  IFS='|' read -r name _ said does message <<<"$row"
  problems=$(want="SHEET $badWide\\$name.cue" awk '/^SHEET / { on = ($0 == ENVIRON["want"]); next } on' "$work/verdicts")
  if [ -z "$said" ]; then
    [ -z "$problems" ] || fail "$name: the check reported '$problems'"
  else
    grep -qF -- "$said" <<<"$problems" || fail "$name: the check did not say '$said': '$problems'"
  fi
  out=$(cd "$bad" && cdrdao show-toc "$name.cue" 2>&1) && rc=0 || rc=$?
  case "$does" in
    refuses) { [ $rc -ne 0 ] && grep -qF -- "$message" <<<"$out"; } || fail "$name: cdrdao did not refuse with '$message': $out" ;;
    warns) { [ $rc -eq 0 ] && grep -qF -- "WARNING: $message" <<<"$out"; } || fail "$name: cdrdao did not warn '$message': $out" ;;
    accepts) { [ $rc -eq 0 ] && ! grep -q 'WARNING\|ERROR' <<<"$out"; } || fail "$name: cdrdao did not take it: $out" ;;
    length) got=$(cd "$bad" && cdrdao toc-info "$name.cue" 2>/dev/null | sed -n 's/.*length \([0-9:]*\),.*/\1/p')
            [ "$got" = "$message" ] || fail "$name: cdrdao made a disc of '$got', not $message" ;;
  esac
  printf '%-20s %-42s %s\n' "$name" "${said:-passes}" "$does${message:+: $message}"
done

[ $failures -eq 0 ] && echo "reader matrix: PASSED" || { echo "reader matrix: $failures FAILED"; exit 1; }
