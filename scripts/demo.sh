#!/usr/bin/env bash
# The main job: installs what is missing, builds gen_lumo.dll and runs a whole marking session
# in the stand-in player on a virtual display, driven by real X input (xdotool): four marks with
# the system hot key (one past the first hour), titles and performers typed into the Info
# window, OK, Save, the "Saved to" box closed. Prints the saved sheet, checks it with a real cue
# reader (cuebreakpoints) against the marks to the frame, and writes screenshots to build/demo.
# A second session shows recovery: two marks, the player killed without quitting, started again
# on the same folder, the sheet back, one more mark numbered on, Save, and every track read.
# A third works on real audio: a WAV of tones made with sox, marked where the tones change,
# saved, split along the sheet with shnsplit (every piece must start at its mark to the
# sample), and a sheet with marks past the first hour imported into a FLAC with metaflac.
# A fourth is in other scripts: tones in a file named "Café 東京 – mix.wav" (outside code page
# 1252), titles and performers in Cyrillic, Japanese and Greek typed into the Info window by
# real input, saved under the Automatic encoding (UTF-8 with a BOM and a first REM line), and
# read back by cuebreakpoints, cueprint and mkvmerge (its chapters printed by mkvextract) with
# every title as typed.
# A fifth opens a sheet another program wrote (LF line ends, REM, CATALOG and ISRC lines, one
# track late, one missing) with Open... in the real Open dialog, plays its WAV, corrects the late
# time by ear with Listen and the nudge keys, adds the missed track with the hot key, saves it
# back (the earlier file kept as .bak) and prints the diff of the two: every foreign line kept.
# Then a show in two files: marks in the first, the player's Next button, marks in the second,
# one sheet with two FILE blocks read by cuebreakpoints and cueprint, each file split along its
# block by shnsplit (every piece starts at its mark to the sample).
# A sixth marks from a tracklist typed into the Tracklist window: every line by the hot key while
# the player plays (its event log printed: no pause), one mark taken back with Ctrl+Z and made
# again, the last three tracks shifted by a second with Ctrl+Alt+Shift+Right, saved and read.
# A seventh opens the fifth's sheet with Ctrl+O and exports it in each of the six types, chosen
# in the real Save As dialog's type list by keyboard; each file is read by the tool it is for
# (ffmpeg/ffprobe, mkvmerge/mkvextract, ffmpeg for WebVTT, Python's JSON reader) and checked
# against the sheet's INDEX 01 times to the frame with tests/readers/exportCheck.py.
#   bash scripts/demo.sh                 the session above
#   bash scripts/demo.sh --interactive   the stand-in player on your own display, to try by hand
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/setup.sh"
configureAndBuild

work=$(mktemp -d)
cp "$BUILD/bin/gen_lumo.dll" "$BUILD/bin/gen_lumo.txt" "$BUILD/bin/standin_player.exe" "$work/"
mix="$work/Night Drive (Live Mix).mp3"
head -c 4096 /dev/zero > "$mix"   # a placeholder: the stand-in player plays no audio

if [ "${1:-}" = "--interactive" ]; then
  [ -n "${DISPLAY:-}" ] || { echo "--interactive needs a display (DISPLAY is not set)"; exit 1; }
  export LUMO_KEEP_DISPLAY=1
  startDisplay
  cd "$work" && wine standin_player.exe gen_lumo.dll --interactive "$(winepath -w "$mix")"
  stopDisplay
  exit 0
fi

OUT="$BUILD/demo"
rm -rf "$OUT"; mkdir -p "$OUT"
log="$work/player.log"
player_pid=""
finish() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null || true
  stopDisplay
  rm -rf "$work"
}
trap finish EXIT
startDisplay

fail() { echo "demo: FAILED: $*" >&2; echo "--- player log" >&2; cat "$log" >&2; exit 1; }

# Waits until the player has printed the Nth line starting with WORD; prints that line.
waitFor() {
  local word=$1 n=${2:-1}
  for _ in $(seq 1 150); do
    local line
    [ -f "$log" ] || { sleep 0.1; continue; }
    line=$(tr -d '\r' < "$log" 2>/dev/null | grep "^$word" | sed -n "${n}p" || true)
    if [ -n "$line" ]; then echo "$line"; return 0; fi
    sleep 0.1
  done
  fail "no '$word' number $n from the player"
}
# m:ss.ff of a frame count, as cuebreakpoints prints times.
clock() { printf '%d:%02d.%02d' $(($1 / 4500)) $(($1 / 75 % 60)) $(($1 % 75)); }
# The value of key=x,y in a reported line, as "x y".
at() { echo "$1" | tr ' ' '\n' | grep "^$2=" | cut -d= -f2 | tr ',' ' '; }
click() { xdotool mousemove --sync $1 click 1; sleep 0.15; }
# Types text as keys. A character the keyboard lacks is typed slower: xdotool maps a spare key to
# it for the moment, and a key the player reads late may already stand for the next character.
typeText() {
  local delay=15
  LC_ALL=C grep -q '[^ -~]' <<<"$1" && delay=60
  xdotool type --delay $delay "$1"; sleep 0.1
}
replaceText() { click "$1"; xdotool key End shift+Home; typeText "$2"; }
shot() { import -window root "$OUT/$1.png"; echo "screenshot $OUT/$1.png"; }

startPlayer() {  # the audio file [the plug-in's folder [more arguments]]; output goes to $log
  local folder=${2:-$work}
  : > "$log"
  ( cd "$folder" && exec wine "$work/standin_player.exe" "$(winepath -w "$folder/gen_lumo.dll")" \
      --appdata "$(winepath -w "$folder")\\appdata" --demo "$(winepath -w "$1")" "${@:3}" >"$log" 2>&1 ) &
  player_pid=$!
}
# How many lines starting with WORD the player has printed so far.
count() { tr -d '\r' < "$log" | grep -c "^$1" || true; }
# Waits until the last line the player printed starting with WORD starts with TEXT; prints it.
waitLast() {  # word text
  local line
  for _ in $(seq 1 150); do
    line=$(tr -d '\r' < "$log" | grep "^$1" | tail -1 || true)
    case "$line" in "$2"*) echo "$line"; return 0 ;; esac
    sleep 0.1
  done
  fail "the player's last '$1' line is '$line', expected '$2...'"
}
# Closes the player from its window: quit, then the DLL is unloaded.
closePlayer() {
  click "$(at "$main" mark | awk '{print $1, $2 + 40}')"
  xdotool key alt+F4
  for _ in $(seq 1 50); do kill -0 "$player_pid" 2>/dev/null || break; sleep 0.1; done
  grep -q '^DONE' "$log" || fail "the player did not close cleanly"
  player_pid=""
}
# Answers the file dialog the last action opened (N: its number in this player's output): the
# type (from 1) picked in its type list with the keyboard when given, a screenshot of the open
# list when SHOT names one, then the name typed into the name field and Enter.
answerFileDialog() {  # n name [type [shot]]
  local dialog; dialog=$(waitFor FILEDIALOG "$1")
  sleep 0.3
  if [ -n "${3:-}" ]; then
    click "$(at "$dialog" types)"          # the list drops down
    xdotool key Home
    for ((k = 1; k < $3; k++)); do xdotool key Down; done
    sleep 0.2
    [ -z "${4:-}" ] || shot "$4"
    xdotool key Return                     # the choice is made: the dialog takes the type
    waitLast FILETYPE "FILETYPE $3 " >/dev/null
  fi
  replaceText "$(at "$dialog" name)" "$2"
  xdotool key Return
}
# Waits for the Nth message box of this player and closes it with Enter; prints "caption|text".
closeBox() {  # n
  local box; box=$(waitFor MSGBOX "$1")
  sleep 0.3
  xdotool key Return
  echo "${box#* * }"
}
cueTime() { printf '%02d:%02d:%02d' $(($1 / 4500)) $(($1 / 75 % 60)) $(($1 % 75)); }
# Frames of an INDEX time mm:ss:ff.
framesOf() { local m=${1%%:*} r=${1#*:}; echo $((10#$m * 4500 + 10#${r%%:*} * 75 + 10#${r#*:})); }
# Splits WAV along SHEET with shnsplit into DIR; the pieces must start at 0 (a lead-in before a
# late first track) and at each mark given in frames, to the sample (588 samples a frame).
splitAt() {  # sheet wav dir frames...
  local sheet=$1 wav=$2 dir=$3; shift 3
  mkdir -p "$dir"
  shnsplit -q -f "$sheet" -d "$dir" -o wav "$wav" || fail "shnsplit refused $(basename "$sheet")"
  local starts=() at=0 piece
  [ "$1" -gt 0 ] && starts=(0)
  for f in "$@"; do starts+=($((f * 588))); done
  local i=0
  for piece in "$dir"/split-track*.wav; do
    echo "    $(basename "$piece"): starts at sample $at (expected ${starts[$i]:-none}), $(soxi -s "$piece") samples"
    [ "$at" = "${starts[$i]:-none}" ] || fail "$(basename "$piece") starts at sample $at, expected ${starts[$i]:-no piece}"
    at=$((at + $(soxi -s "$piece")))
    i=$((i + 1))
  done
  [ $i = ${#starts[@]} ] || fail "shnsplit made $i pieces of $(basename "$wav"), expected ${#starts[@]}"
}
# One mark: seek, the hot key, the title (and performer when given), OK by click.
# True once the Info window's fields hold "title|performer" (the player reports them as they
# change); false after 3 s.
infoHolds() {
  for _ in $(seq 1 30); do
    [ "$(tr -d '\r' < "$log" | grep '^TYPED ' | tail -1)" = "TYPED $1" ] && return 0
    sleep 0.1
  done
  return 1
}
# One mark: seek, the hot key, the title and performer typed until the fields hold them (said
# when a try fell short), OK by click.
markAt() {  # position title performer [n]
  replaceText "$(at "$main" seek)" "$1"
  xdotool key Return
  sleep 0.4
  xdotool key ctrl+alt+m
  local info; info=$(waitFor INFO "${4:-1}")
  waitFor PAUSED "${4:-1}" >/dev/null
  local try
  for try in 1 2 3; do
    replaceText "$(at "$info" title)" "$2"
    replaceText "$(at "$info" performer)" "$3"
    infoHolds "$2|$3" && break
    [ $try = 3 ] && fail "the Info window does not hold '$2|$3' after three tries"
    echo "typed again: the Info window held '$(tr -d '\r' < "$log" | grep '^TYPED ' | tail -1 | cut -c7-)'"
  done
  click "$(at "$info" ok)"
  sleep 0.3
}

startPlayer "$mix"
main=$(waitFor MAIN)
waitFor READY >/dev/null

# The reaction time, set on the General page before marking: every mark lies 250 ms before
# the key press.
offset=250
click "$(at "$main" prefs)"
tabs=$(waitFor PREFS)
sleep 0.4
replaceText "$(at "$tabs" offset)" "$offset"
xdotool key Tab                      # the field gives up the focus: the value is taken
sleep 0.2
shot prefs-general
xdotool key Escape                   # closes the preferences
sleep 0.3

# Four marks; the last after seeking back, so it lands between the second and the third.
positions=("0:00.500" "4:05.120" "62:03.450" "31:40.480")
titles=("Opening" "Second Wind" "After the Hour" "Deep \"Blue\" Water")
performers=("Artist One" "Artist Two" "Artist Three" "Artist Two")
for i in 0 1 2 3; do
  n=$((i + 1))
  replaceText "$(at "$main" seek)" "${positions[$i]}"
  xdotool key Return                 # seek: the player plays on from there
  sleep 0.4
  xdotool key ctrl+alt+m             # the hot key of the action "LUMO: ON"
  info=$(waitFor INFO $n)
  paused=$(waitFor PAUSED $n)
  echo "mark $n: hot key at ${paused#PAUSED } ms"
  click "$(at "$info" title)"
  typeText "${titles[$i]}"
  replaceText "$(at "$info" performer)" "${performers[$i]}"
  [ $i -eq 1 ] && shot info
  if [ $i -eq 2 ]; then
    xdotool key Return               # OK from the keyboard: Enter in the field
  else
    click "$(at "$info" ok)"         # OK with the mouse
  fi
  sleep 0.3
done
cue=$(waitFor CUE)
sleep 0.3
frames() {  # the INDEX of mark N: the pause position less the reaction time, in frames
  local ms; ms=$(waitFor PAUSED "$1"); ms=${ms#PAUSED }
  ms=$((ms - offset)); [ $ms -lt 0 ] && ms=0
  echo $((ms * 75 / 1000))
}
f2=$(($(frames 2) + 3 - 75))          # nudged below: three frames later, a second earlier
f3=$(frames 4)
f4=$(($(frames 3) - 2 + 75))          # two frames earlier, a second later

# Track 2 by ear and by keys: its title line, then Alt+Right three times, F5 to hear it again
# (the keys leave no menu behind that would eat it), Alt+Shift+Left.
click "$(at "$cue" editor)"
xdotool key ctrl+Home; for _ in $(seq 1 9); do xdotool key Down; done
xdotool key alt+Right alt+Right alt+Right
sleep 0.2
xdotool key F5
heard=$(waitFor JUMPED 4); heard=${heard#JUMPED }
wanted=$(( ($(frames 2) + 3) * 1000 / 75 - 2000 )); [ $wanted -lt 0 ] && wanted=0
echo "F5 after three nudges: the player jumped to $heard ms (the nudged mark less 2 s: $wanted ms)"
[ "$heard" = "$wanted" ] || fail "F5 after an odd number of nudges jumped to '$heard', expected $wanted"
xdotool key alt+shift+Left
sleep 0.3
# Track 4 with the buttons: Earlier twice, Later with Shift held.
click "$(at "$cue" editor)"
xdotool key ctrl+End
click "$(at "$cue" earlier)"
click "$(at "$cue" earlier)"
xdotool keydown shift; click "$(at "$cue" later)"; xdotool keyup shift
# Listen to track 3: the player jumps to two seconds before its mark.
click "$(at "$cue" editor)"
xdotool key ctrl+Home; for _ in $(seq 1 13); do xdotool key Down; done
click "$(at "$cue" listen)"
jumped=$(waitFor JUMPED 9); jumped=${jumped#JUMPED }
wanted=$((f3 * 1000 / 75 - 2000)); [ $wanted -lt 0 ] && wanted=0
echo "Listen on track 3: the player jumped to $jumped ms (its mark less 2 s: $wanted ms)"
[ "$jumped" = "$wanted" ] || fail "Listen jumped to $jumped ms, expected $wanted"
sleep 0.3
shot cue
click "$(at "$cue" save)"
box=$(closeBox 1)                    # closes "Saved to"
echo "message box: $box"
case "$box" in *"Saved to|"*) ;; *) fail "expected the 'Saved to' box, got: $box" ;; esac

sheet="$work/Night Drive (Live Mix).cue"
[ -f "$sheet" ] || fail "no cue sheet at $sheet"
echo "----- $(basename "$sheet")"
tr -d '\r' < "$sheet"
echo "-----"

# The breakpoints a cue reader finds must be the marks as placed and nudged, to the frame.
found=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read the sheet"
expected=""
for f in $f2 $f3 $f4; do expected+=$(clock "$f")$'\n'; done
echo "cuebreakpoints: $(echo $found)"
[ "$(echo $found)" = "$(echo $expected)" ] || fail "breakpoints '$(echo $found)', marks '$(echo $expected)'"
cueprint "$sheet" >/dev/null || fail "cueprint could not read the sheet"

click "$(at "$main" prefs)"
tabs=$(waitFor PREFS 2)
sleep 0.4
click "$(at "$tabs" tab0)"; shot prefs-general
click "$(at "$tabs" tab1)"; shot prefs-title-format
click "$(at "$tabs" tab2)"; shot prefs-about
xdotool key Escape                   # closes the preferences
closePlayer
echo "session 1: PASSED"

# Session 2: the player dies in the middle of a session; nothing is lost.
show="$work/Radio Show.mp3"
head -c 4096 /dev/zero > "$show"
startPlayer "$show"
main=$(waitFor MAIN)
waitFor READY >/dev/null
markAt "0:00.000" "Station Call" "Host"
markAt "7:30.250" "First Song" "Band A" 2
kill -9 "$player_pid" 2>/dev/null; wait "$player_pid" 2>/dev/null || true
player_pid=""
echo "the player was killed after two marks"
[ -f "$work/lumo_unsaved.cue" ] || fail "no recovery copy beside the DLL"
startPlayer "$show"
main=$(waitFor MAIN)
waitFor READY >/dev/null
cue=$(waitFor CUE)                   # shown by itself: the sheet came back
echo "started again: the Cue window shows the recovered sheet"
sleep 0.3
shot recovered
markAt "12:00.500" "Second Song" "Band B"
click "$(at "$cue" save)"
box=$(closeBox 1)
case "$box" in *"Saved to|"*"Radio Show.cue"*) ;; *) fail "expected 'Saved to' Radio Show.cue, got: $box" ;; esac
sheet="$work/Radio Show.cue"
echo "----- $(basename "$sheet")"
tr -d '\r' < "$sheet"
echo "-----"
found=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read the recovered sheet"
echo "cuebreakpoints: $(echo $found)"
[ "$(grep -c '^TRACK' "$sheet")" = 3 ] || fail "the recovered sheet does not hold three tracks"
grep -q 'TRACK 03 AUDIO' "$sheet" || fail "the numbering did not go on after the restart"
[ "$(echo $found | wc -w)" = 2 ] || fail "cuebreakpoints did not read every track: $found"
[ ! -f "$work/lumo_unsaved.cue" ] || fail "a saved sheet left its recovery copy behind"
closePlayer
echo "session 2: PASSED"

# Session 3: real audio. Three minutes of tones (440, 660, 880 Hz) changing at 0:50 and 1:50.
audio="$work/audio"
mkdir -p "$audio/split"
cp "$BUILD/bin/gen_lumo.dll" "$audio/"   # a plug-in folder of its own: no reaction time set
sox -n -r 44100 -c 2 -b 16 "$audio/a.wav" synth 50 sine 440 gain -6
sox -n -r 44100 -c 2 -b 16 "$audio/b.wav" synth 60 sine 660 gain -6
sox -n -r 44100 -c 2 -b 16 "$audio/c.wav" synth 70 sine 880 gain -6
sox "$audio/a.wav" "$audio/b.wav" "$audio/c.wav" "$audio/Tones.wav"
marks=(0 50000 110000)
( cd "$audio" && wine "$work/standin_player.exe" "$(winepath -w "$audio/gen_lumo.dll")" --appdata "$(winepath -w "$audio")\\appdata" --file "$(winepath -w "$audio/Tones.wav")" \
    --title Tone --marks "$(IFS=,; echo "${marks[*]}")" --save >/dev/null 2>&1 ) || fail "the marking of Tones.wav failed"
[ -f "$audio/Tones.cue" ] || fail "no Tones.cue"
echo "----- Tones.cue"; tr -d '\r' < "$audio/Tones.cue"; echo "-----"
toneFrames=(); for ms in "${marks[@]}"; do toneFrames+=($((ms * 75 / 1000))); done
echo "shnsplit along Tones.cue:"
splitAt "$audio/Tones.cue" "$audio/Tones.wav" "$audio/split" "${toneFrames[@]}"

# Marks past the first hour in a FLAC of 65 minutes of silence: metaflac takes the sheet in.
python3 - "$audio/Long.wav" <<'PY'
import os, struct, sys
data = 65 * 60 * 44100 * 4
with open(sys.argv[1], "wb") as f:
    f.write(b"RIFF" + struct.pack("<I", 36 + data) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, 2, 44100, 176400, 4, 16) + b"data" + struct.pack("<I", data))
os.truncate(sys.argv[1], 44 + data)
PY
flac -0 -s -f -o "$audio/Long Mix.flac" "$audio/Long.wav" && rm "$audio/Long.wav"
rm -f "$audio/lumo_unsaved.cue"
long=(10000 1800500 3690240 3872000)
( cd "$audio" && wine "$work/standin_player.exe" "$(winepath -w "$audio/gen_lumo.dll")" --appdata "$(winepath -w "$audio")\\appdata" --file "$(winepath -w "$audio/Long Mix.flac")" \
    --title Part --marks "$(IFS=,; echo "${long[*]}")" --save >/dev/null 2>&1 ) || fail "the marking of Long Mix.flac failed"
metaflac --import-cuesheet-from="$audio/Long Mix.cue" "$audio/Long Mix.flac" || fail "metaflac refused Long Mix.cue"
offsets=$(metaflac --export-cuesheet-to=- "$audio/Long Mix.flac" | awk '/INDEX 01/ { print $3 }' | tr '\n' ' ')
wanted=""
for ms in "${long[@]}"; do wanted+="$(cueTime $((ms * 75 / 1000))) "; done
echo "metaflac: FILE \"Long Mix.flac\" $(grep -o 'WAVE\|MP3\|AIFF' "$audio/Long Mix.cue" | head -1), track offsets $offsets"
[ "$offsets" = "$wanted" ] || fail "metaflac holds '$offsets', the marks are '$wanted'"
echo "session 3: PASSED"

# Session 4: any script. Real input types every character: xdotool maps a spare key to a
# character the keyboard lacks for the moment, and the player's UTF-16 message loop hands it to
# the Info window whole; each mark checks what the fields hold before OK.
any="$work/any"
mkdir -p "$any"
cp "$BUILD/bin/gen_lumo.dll" "$any/"   # a plug-in folder of its own: no reaction time, Automatic
name="Café 東京 – mix"
for tone in 440 660 880; do sox -n -r 44100 -c 2 -b 16 "$any/$tone.wav" synth 20 sine $tone gain -6; done
sox "$any/440.wav" "$any/660.wav" "$any/880.wav" "$any/$name.wav" && rm "$any"/[0-9]*.wav
anyTitles=("Жёлтый свет" "東京の夜" "Ελληνικό φως")
anyPerformers=("Кино и ветер" "夜の楽団" "Ορχήστρα")
startPlayer "$any/$name.wav" "$any"
main=$(waitFor MAIN)
waitFor READY >/dev/null
anyFrames=()
for i in 0 1 2; do
  markAt "0:$((i * 2))0.000" "${anyTitles[$i]}" "${anyPerformers[$i]}" $((i + 1))
  ms=$(waitFor PAUSED $((i + 1))); ms=${ms#PAUSED }
  anyFrames+=($((ms * 75 / 1000)))
done
cue=$(waitFor CUE)
sleep 0.3
shot any-script
click "$(at "$cue" save)"
box=$(closeBox 1)
echo "message box: $box"
case "$box" in *"Saved to|"*"$name.cue"*) ;; *) fail "expected 'Saved to' $name.cue, got: $box" ;; esac
sheet="$any/$name.cue"
[ -f "$sheet" ] || fail "no cue sheet at $sheet"
bom=$(head -c 3 "$sheet" | od -An -tx1 | tr -d ' ')
echo "----- $name.cue (its first bytes: $bom, the BOM of UTF-8)"
tail -c +4 "$sheet" | tr -d '\r'
echo "-----"
[ "$bom" = efbbbf ] || fail "the sheet does not start with the BOM of UTF-8"
[ "$(tail -c +4 "$sheet" | head -1 | tr -d '\r')" = 'REM COMMENT "LumoMarker"' ] || fail "the first line is not the REM line"
typed=""; shown=""; chapters=""
for i in 0 1 2; do
  n=$((i + 1)); f=${anyFrames[$i]}; ms=$((f * 1000 / 75))
  typed+="${anyTitles[$i]}"$'\n'
  shown+="$(printf '%02d' $n) ${anyPerformers[$i]} - ${anyTitles[$i]}"$'\n'
  chapters+=$(printf 'CHAPTER%02d=00:%02d:%02d.%03d\nCHAPTER%02dNAME=%s - %s' $n $((ms / 60000)) $((ms / 1000 % 60)) \
              $((ms % 1000)) $n "${anyPerformers[$i]}" "${anyTitles[$i]}")$'\n'
done
[ "$(sed -n 's/^    TITLE "\(.*\)"\r$/\1/p' "$sheet")"$'\n' = "$typed" ] || fail "the sheet's titles are not as typed"
found=$(cuebreakpoints "$sheet" 2>/dev/null) || fail "cuebreakpoints could not read the sheet"
echo "cuebreakpoints: $(echo $found)"
[ "$(echo $found)" = "$(echo "$(clock "${anyFrames[1]}") $(clock "${anyFrames[2]}")")" ] || fail "breakpoints '$(echo $found)'"
read=$(cueprint -d '%P - %T\n' -t '%02n %p - %t\n' "$sheet" 2>/dev/null) || fail "cueprint could not read the sheet"
echo "cueprint:"; echo "$read" | sed 's/^/    /'
[ "$(echo "$read" | tail -n +2)"$'\n' = "$shown" ] || fail "cueprint does not show the titles as typed"
mkvmerge -q -o "$any/$name.mka" --chapters "$sheet" "$any/$name.wav" || fail "mkvmerge refused the sheet"
extracted=$(mkvextract "$any/$name.mka" chapters --simple - | tr -d '\r') || fail "mkvextract found no chapters"
echo "mkvextract (chapters --simple):"; echo "$extracted" | sed 's/^/    /'
[ "$extracted"$'\n' = "$chapters" ] || fail "mkvextract does not show the marks and titles as typed"
closePlayer
echo "session 4: PASSED"


# Session 5: a sheet another program wrote, opened, corrected by ear, completed, saved back.
# The recording: tones that change at 0:30, 1:10 and 1:50; the sheet has the second track 1 s
# and 3 frames late and lacks the third.
open="$work/open"
mkdir -p "$open"
cp "$BUILD/bin/gen_lumo.dll" "$open/"   # a plug-in folder of its own
for tone in 440:30 550:40 660:40 770:40; do
  sox -n -r 44100 -c 2 -b 16 "$open/${tone%:*}.wav" synth "${tone#*:}" sine "${tone%:*}" gain -6
done
sox "$open/440.wav" "$open/550.wav" "$open/660.wav" "$open/770.wav" "$open/Club Night.wav" && rm "$open"/[0-9]*.wav
sheet="$open/Club Night.cue"
foreign=('REM GENRE "House"' 'REM DATE 2024' 'REM COMMENT "TapeCue 3.2"' 'CATALOG 0724384960650'
         'PERFORMER "DJ Kestrel"' 'TITLE "Club Night – Live"' 'FILE "Club Night.wav" WAVE'
         '  TRACK 01 AUDIO' '    TITLE "Warm Up"' '    PERFORMER "Ana Lys"' '    INDEX 01 00:00:00'
         '  TRACK 02 AUDIO' '    TITLE "Late Arrival"' '    PERFORMER "Bo Marten"' '    ISRC GBAYE2400012'
         '    INDEX 01 00:31:03'
         '  TRACK 03 AUDIO' '    TITLE "Closing Time"' '    PERFORMER "Ana Lys"' '    INDEX 01 01:50:00')
printf '%s\n' "${foreign[@]}" > "$sheet"   # LF line ends, UTF-8 without a BOM, as Linux tools write
echo "the sheet another program wrote (LF line ends, UTF-8 without a BOM):"; sed 's/^/    /' "$sheet"
startPlayer "$open/Club Night.wav" "$open"
main=$(waitFor MAIN)
waitFor READY >/dev/null
xdotool key ctrl+alt+c                  # the hot key of the action "LUMO: Show cue sheet"
cue=$(waitFor CUE)
click "$(at "$cue" open)"
answerFileDialog 1 "Club Night.cue"
waitLast CARET "CARET 1 REM GENRE" >/dev/null
echo "opened: the Cue window holds Club Night.cue"
sleep 0.3
shot opened-sheet
# Track 2 by ear: its title line, Listen (F5): the player plays from 2 s before the mark.
click "$(at "$cue" editor)"
xdotool key ctrl+Home; for _ in $(seq 1 12); do xdotool key Down; done
waitLast CARET 'CARET 13     TITLE "Late Arrival"' >/dev/null
xdotool key F5
heard=$(waitFor JUMPED 1); heard=${heard#JUMPED }
echo "Listen on track 2 (INDEX 01 00:31:03): the player jumped to $heard ms"
[ "$heard" = $(( $(framesOf 00:31:03) * 1000 / 75 - 2000 )) ] || fail "Listen jumped to $heard ms"
# The tone changed a second and a bit before the mark: a second earlier, three frames earlier.
xdotool key alt+shift+Left
xdotool key alt+Left alt+Left alt+Left
sleep 0.2
xdotool key F5
heard=$(waitFor JUMPED 6); heard=${heard#JUMPED }
echo "after Alt+Shift+Left and Alt+Left three times, Listen jumped to $heard ms (00:30:00 less 2 s)"
[ "$heard" = 28000 ] || fail "the nudged mark is not 00:30:00: Listen jumped to $heard ms"
# The missed track, with the hot key near the change at 1:10.
markAt "1:09.800" "Found Again" "Cy Dale" 1
found=$(waitFor PAUSED 1); found=$((${found#PAUSED } * 75 / 1000))
b=$(($(count MSGBOX) + 1))
click "$(at "$cue" save)"
box=$(closeBox $b)
echo "message box: $box"
wide="$(winepath -w "$sheet")"
[ "$box" = "Saved to|$wide / The earlier file was kept as $wide.bak" ] || fail "expected the 'Saved to' box with the .bak"
[ -f "$sheet.bak" ] || fail "no $(basename "$sheet").bak"
# The file as it must be: every line of the other program's, the nudged time, the new track.
wanted=("${foreign[@]:0:15}" '    INDEX 01 00:30:00' 'TRACK 03 AUDIO' '    TITLE "Found Again"' '    PERFORMER "Cy Dale"'
        "    INDEX 01 $(cueTime $found)" '  TRACK 04 AUDIO' "${foreign[@]:17}")
[ "$(cat "$sheet")" = "$(printf '%s\r\n' "${wanted[@]}")" ] || { diff <(printf '%s\r\n' "${wanted[@]}") "$sheet" | cat -A; fail "Club Night.cue is not the opened sheet with the changes"; }
[ "$(cat "$sheet.bak")" = "$(printf '%s\n' "${foreign[@]}")" ] || fail "the .bak is not the file as it was"
echo "----- diff -u --strip-trailing-cr 'Club Night.cue.bak' 'Club Night.cue' (the .bak ends its lines in LF, the saved file in CR LF)"
(cd "$open" && diff -u --strip-trailing-cr "Club Night.cue.bak" "Club Night.cue") | sed 1,2d || true
echo "-----"
breaks=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read Club Night.cue"
echo "cuebreakpoints: $(echo $breaks)"
clubFrames=(0 2250 $found 8250)
[ "$(echo $breaks)" = "$(clock 2250) $(clock $found) $(clock 8250)" ] || fail "cuebreakpoints found '$(echo $breaks)'"
read=$(cueprint -d '%P - %T\n' -t '%02n %p - %t\n' "$sheet") || fail "cueprint could not read Club Night.cue"
echo "cueprint:"; echo "$read" | sed 's/^/    /'
[ "$read" = "DJ Kestrel - Club Night – Live
01 Ana Lys - Warm Up
02 Bo Marten - Late Arrival
03 Cy Dale - Found Again
04 Ana Lys - Closing Time" ] || fail "cueprint does not show the sheet's tracks"
echo "shnsplit along Club Night.cue:"
splitAt "$sheet" "$open/Club Night.wav" "$open/split" "${clubFrames[@]}"
closePlayer
echo "session 5 (an opened sheet): PASSED"

# A show in two files: marks in the first, Next, marks in the second; one sheet.
two="$work/two"
mkdir -p "$two"
cp "$BUILD/bin/gen_lumo.dll" "$two/"
sox -n -r 44100 -c 2 -b 16 "$two/a.wav" synth 20 sine 440 gain -6
sox -n -r 44100 -c 2 -b 16 "$two/b.wav" synth 25 sine 550 gain -6
sox "$two/a.wav" "$two/b.wav" "$two/Show Part 1.wav"
sox -n -r 44100 -c 2 -b 16 "$two/a.wav" synth 15 sine 660 gain -6
sox -n -r 44100 -c 2 -b 16 "$two/b.wav" synth 25 sine 770 gain -6
sox "$two/a.wav" "$two/b.wav" "$two/Show Part 2.wav" && rm "$two/a.wav" "$two/b.wav"
startPlayer "$two/Show Part 1.wav" "$two" --add "$(winepath -w "$two/Show Part 2.wav")"
main=$(waitFor MAIN)
waitFor READY >/dev/null
markAt "0:00.000" "Doors Open" "House Band" 1
markAt "0:19.600" "First Set" "House Band" 2
click "$(at "$main" next)"             # the player's Next: the second file plays from its start
waitFor "EVENT .* next file" >/dev/null
markAt "0:00.000" "Second Set" "Guest Trio" 3
markAt "0:14.600" "Encore" "Guest Trio" 4
partFrames=()
for n in 1 2 3 4; do ms=$(waitFor PAUSED $n); partFrames+=($((${ms#PAUSED } * 75 / 1000))); done
cue=$(waitFor CUE)
sleep 0.3
shot two-files
b=$(($(count MSGBOX) + 1))
click "$(at "$cue" save)"
box=$(closeBox $b)
echo "message box: $box"
sheet="$two/Show Part 1.cue"
[ "$box" = "Saved to|$(winepath -w "$sheet")" ] || fail "expected 'Saved to' Show Part 1.cue (beside the first file)"
echo "----- Show Part 1.cue"; tr -d '\r' < "$sheet"; echo "-----"
[ "$(grep -c '^FILE ' "$sheet")" = 2 ] || fail "the sheet does not hold two FILE lines"
grep -q '^FILE "Show Part 2.wav" WAVE' "$sheet" || fail "no FILE line of the second file"
# cuebreakpoints and cueprint take several FILE blocks, each track's time within its own file.
found=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read the sheet of two files"
echo "cuebreakpoints: $(echo $found)"
[ "$(echo $found)" = "$(clock ${partFrames[1]}) $(clock ${partFrames[2]}) $(clock ${partFrames[3]})" ] ||
  fail "cuebreakpoints found '$(echo $found)'"
read=$(cueprint -d '%P - %T\n' -t '%02n %p - %t\n' "$sheet") || fail "cueprint could not read the sheet of two files"
echo "cueprint:"; echo "$read" | sed 's/^/    /'
[ "$(echo "$read" | tail -n +2 | tr '\n' '|')" = "01 House Band - Doors Open|02 House Band - First Set|03 Guest Trio - Second Set|04 Guest Trio - Encore|" ] ||
  fail "cueprint does not show the four tracks"
# The readers of one file: mkvmerge takes such a sheet but reads its times as times in one file,
# shnsplit and metaflac refuse it (what each makes of it is shown). Each file is split along its
# own block instead, cut out of the sheet (the lines before the first FILE line, then the block).
mkvmerge -q -o "$two/two.mka" --chapters "$sheet" "$two/Show Part 1.wav" || fail "mkvmerge refused the sheet"
echo "mkvmerge reads the four tracks as chapters of one file, at: $(mkvextract "$two/two.mka" chapters --simple - | tr -d '\r' | grep -v NAME | cut -d= -f2 | tr '\n' ' ')"
echo "shnsplit on the whole sheet: $(shnsplit -P none -f "$sheet" -o null "$two/Show Part 1.wav" 2>&1 | grep -v warning | head -1)"
echo "metaflac on the whole sheet: $(flac -s -f -o "$two/part1.flac" "$two/Show Part 1.wav" && metaflac --import-cuesheet-from="$sheet" "$two/part1.flac" 2>&1 | head -1)"
for part in 1 2; do
  awk -v part=$part '/^FILE /{ file++ } file == 0 || file == part' "$sheet" > "$two/part$part.cue"
  echo "shnsplit along FILE block $part:"
  splitAt "$two/part$part.cue" "$two/Show Part $part.wav" "$two/split$part" "${partFrames[@]:$(((part - 1) * 2)):2}"
done
closePlayer
echo "session 5 (a show in two files): PASSED"

# Session 6: a tracklist typed into the Tracklist window, marked with the hot key while the
# player plays on.
list="$work/list"
mkdir -p "$list"
cp "$BUILD/bin/gen_lumo.dll" "$list/"
sox -n -r 44100 -c 2 -b 16 "$list/Sunday Set.wav" synth 90 sine 523 gain -9
lines=("1. Nova Reyes - First Light" "2) 50 Knots – Harbour Lights" "[03:12] Mira Holt — Glass Rooms" "Interlude"
       "0:14:05 10 Lakes - Evening Swim" "Kai Morrow - Up - Extended Mix" "Tess Vail - Last Call")
performers=("Nova Reyes" "50 Knots" "Mira Holt" "Mira Holt" "10 Lakes" "Kai Morrow" "Tess Vail")
titles=("First Light" "Harbour Lights" "Glass Rooms" "Interlude" "Evening Swim" "Up - Extended Mix" "Last Call")
kept=("" "" "" " (as before)" "" "" "")    # "Interlude" names no performer: it takes the one before
startPlayer "$list/Sunday Set.wav" "$list"
main=$(waitFor MAIN)
waitFor READY >/dev/null
xdotool key ctrl+alt+c
cue=$(waitFor CUE)
click "$(at "$cue" tracklist)"
tracklist=$(waitFor TRACKLIST)
listed="LISTED $(printf '%s / ' "${lines[@]}")"
for try in 1 2 3; do
  click "$(at "$tracklist" editor)"
  xdotool key ctrl+End ctrl+shift+Home Delete
  for line in "${lines[@]}"; do typeText "$line"; xdotool key Return; done
  sleep 0.3
  [ "$(tr -d '\r' < "$log" | grep '^LISTED' | tail -1)" = "$listed" ] && break
  [ $try = 3 ] && fail "the Tracklist window does not hold the list after three tries"
  echo "typed again: the Tracklist window held '$(tr -d '\r' < "$log" | grep '^LISTED' | tail -1 | cut -c8-)'"
done
echo "typed into the Tracklist window (real keys):"; printf '    %s\n' "${lines[@]}"
waitLast NEXT "NEXT Next: \"First Light\" by Nova Reyes" >/dev/null
shot tracklist
events=$(count EVENT)                   # the player's events from here on are printed below
for i in 0 1 2 3 4 5 6; do
  xdotool key ctrl+alt+m                # the list's next line is the entry at once
  if [ $i -lt 6 ]; then nextLine="Next: \"${titles[$i + 1]}\" by ${performers[$i + 1]}${kept[$i + 1]}"; else nextLine="Next: the Info window"; fi
  waitLast NEXT "NEXT $nextLine" >/dev/null
  echo "mark $((i + 1)): ${performers[$i]} - ${titles[$i]}; the Tracklist window says '$nextLine'"
  sleep 1
done
shot tracklist-marked
xdotool key Escape                      # the Tracklist window goes; the list stays with the sheet
click "$(at "$cue" editor)"
xdotool key ctrl+z                      # the last mark taken back: its line is the next again
waitLast NEXT "NEXT Next: \"Last Call\" by Tess Vail" >/dev/null
echo "Ctrl+Z: the last mark is taken back, the Tracklist window says 'Next: \"Last Call\" by Tess Vail'"
sleep 1
xdotool key ctrl+alt+m
waitLast NEXT "NEXT Next: the Info window" >/dev/null
echo "marked again with the hot key"
# The last three tracks a second later: the caret on track 5, Ctrl+Alt+Shift+Right.
xdotool key ctrl+Home; for _ in $(seq 1 20); do xdotool key Down; done
waitLast CARET "CARET 21 TRACK 05 AUDIO" >/dev/null
jumps=$(count JUMPED)
xdotool key ctrl+alt+shift+Right
waitFor JUMPED $((jumps + 1)) >/dev/null   # the shift listens at the caret's mark
sleep 0.3
shot tracklist-sheet
b=$(($(count MSGBOX) + 1))
click "$(at "$cue" save)"
box=$(closeBox $b)
echo "message box: $box"
case "$box" in *"Saved to|"*"Sunday Set.cue") ;; *) fail "expected 'Saved to' Sunday Set.cue, got: $box" ;; esac
echo "the player's event log from the list on (t: seconds since start-up, pos: ms; 'time 0' is the"
echo "plug-in asking for the position, answered with pos):"
tr -d '\r' < "$log" | grep '^EVENT' | tail -n +$((events + 1)) | sed 's/^EVENT /    /'
tr -d '\r' < "$log" | grep '^EVENT' | tail -n +$((events + 1)) | grep -q 'cmd pause' && fail "playback was paused"
tr -d '\r' < "$log" | grep '^EVENT' | tail -n +$((events + 1)) | grep -vq 'state=playing' && fail "the player did not play throughout"
echo "no pause: every event came while the player played, and the plug-in sent no pause command"
# The marks: the position the plug-in was answered with after each press of the mark key.
mapfile -t heard < <(tr -d '\r' < "$log" | grep '^EVENT' | tail -n +$((events + 1)) |
  awk '/system hotkey LUMOPluginDoActionOn/ { want = 1; next } want && / time 0$/ { sub(/.*pos=/, ""); print $1; want = 0 }')
[ ${#heard[@]} = 8 ] || fail "${#heard[@]} marks in the event log, expected 8"
listFrames=()
for i in 0 1 2 3 4 5 7; do listFrames+=($((heard[i] * 75 / 1000))); done
for i in 4 5 6; do listFrames[$i]=$((listFrames[i] + 75)); done    # shifted a second later
sheet="$list/Sunday Set.cue"
echo "----- Sunday Set.cue"; tr -d '\r' < "$sheet"; echo "-----"
found=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read Sunday Set.cue"
echo "cuebreakpoints: $(echo $found)"
wantedBreaks=""; for i in 1 2 3 4 5 6; do wantedBreaks+="$(clock ${listFrames[$i]}) "; done
[ "$(echo $found) " = "$wantedBreaks" ] || fail "cuebreakpoints found '$(echo $found)', the marks are '$wantedBreaks'"
[ "$(grep -m1 'INDEX 01' "$sheet" | tr -d '\r')" = "    INDEX 01 $(cueTime ${listFrames[0]})" ] || fail "track 1 is not at its mark"
read=$(cueprint -d '' -t '%02n %p - %t\n' "$sheet") || fail "cueprint could not read Sunday Set.cue"
echo "cueprint:"; echo "$read" | sed 's/^/    /'
shown=""; for i in 0 1 2 3 4 5 6; do shown+="$(printf '%02d' $((i + 1))) ${performers[$i]} - ${titles[$i]}"$'\n'; done
[ "$read"$'\n' = "$shown" ] || fail "cueprint does not show the tracklist's performers and titles"
echo "every INDEX 01 is its mark to the frame, tracks 5 to 7 a second later"
# Its chapter list for video sites: written, and the box says which of their rules it breaks.
n=$(($(count FILEDIALOG) + 1)); b=$(($(count MSGBOX) + 1))
click "$(at "$cue" export)"
answerFileDialog $n "Sunday Set chapters.txt" 1
box=$(closeBox $b)
echo "export 1 (a chapter list for video sites): $box"
echo "Sunday Set chapters.txt:"; sed 's/^/    /' "$list/Sunday Set chapters.txt"
for i in 0 1 2 3 4 5 6; do echo "${performers[$i]} - ${titles[$i]}"; done > "$list/titles"
out=$(python3 "$ROOT/tests/readers/exportCheck.py" --frames "$(IFS=,; echo "${listFrames[*]}")" --titles "$list/titles" \
      --length-frames $((90 * 75)) video="$list/Sunday Set chapters.txt") || fail "$out"
echo "the list breaks these rules of video sites (exportCheck.py): $(echo "$out" | sed -n 's/^rules: //p')"
[ "$box" = "Saved to|$(winepath -w "$list")\\Sunday Set chapters.txt$(echo "$out" | sed -n 's/^box: //p')" ] ||
  fail "the box does not say what the video sites refuse"
closePlayer
echo "session 6: PASSED"

# Session 7: the sheet of session 5 opened with Ctrl+O and exported in every type.
startPlayer "$open/Club Night.wav" "$open"
main=$(waitFor MAIN)
waitFor READY >/dev/null
xdotool key ctrl+alt+c
cue=$(waitFor CUE)
click "$(at "$cue" editor)"
xdotool key ctrl+o
answerFileDialog 1 "Club Night.cue"
waitLast CARET "CARET 1 REM GENRE" >/dev/null
sheet="$open/Club Night.cue"
exportNames=("Club Night chapters.txt" "Club Night.ffmeta" "Club Night mkv.txt" "Club Night.vtt" "Club Night.json"
             "Club Night labels.txt")
for t in 1 2 3 4 5 6; do
  n=$(($(count FILEDIALOG) + 1)); b=$(($(count MSGBOX) + 1))
  click "$(at "$cue" export)"
  answerFileDialog $n "${exportNames[$t - 1]}" $t $([ $t = 4 ] && echo export-types)
  box=$(closeBox $b)
  type=$(tr -d '\r' < "$log" | grep '^FILETYPE' | tail -1 | cut -d' ' -f3-)
  echo "export $t ($type): $box"
  [ "$box" = "Saved to|$(winepath -w "$open")\\${exportNames[$t - 1]}" ] || fail "export $t: the box says '$box'"
done
# The sheet's tracks: INDEX 01 times and "Performer - Title".
mapfile -t times < <(tr -d '\r' < "$sheet" | sed -n 's/^ *INDEX 01 //p')
frames=""; for time in "${times[@]}"; do frames+="${frames:+,}$(framesOf "$time")"; done
printf '%s\n' "Ana Lys - Warm Up" "Bo Marten - Late Arrival" "Cy Dale - Found Again" "Ana Lys - Closing Time" > "$open/titles"
args=(--frames "$frames" --titles "$open/titles" --length-frames $((150 * 75)))
echo "the sheet's INDEX 01 times: ${times[*]} (frames $frames); the audio: 150 s"
cd "$open"
ffmpeg -v error -y -i "Club Night.wav" -i "Club Night.ffmeta" -map_metadata 1 -map_chapters 1 -c copy out.mka ||
  fail "ffmpeg refused Club Night.ffmeta"
echo "ffprobe -show_chapters (of the Matroska file ffmpeg made with the FFmpeg metadata):"
ffprobe -v error -of compact=p=0 -show_chapters out.mka | sed 's/^/    /'
ffprobe -v error -of json -show_chapters out.mka > probe.json
mkvmerge -q -o mkv.mka --chapters "Club Night mkv.txt" "Club Night.wav" || fail "mkvmerge refused the Matroska chapters"
mkvextract mkv.mka chapters --simple - > simple.txt
echo "mkvextract chapters --simple (of mkvmerge's file with the Matroska chapters):"; sed 's/^/    /' simple.txt
ffmpeg -v error -i "Club Night.vtt" -f srt - > vtt.srt || fail "ffmpeg refused Club Night.vtt"
echo "ffmpeg -i 'Club Night.vtt' -f srt -:"; sed 's/^/    /' vtt.srt
python3 -m json.tool "Club Night.json" > /dev/null || fail "Club Night.json is no JSON"
echo "python3 -m json.tool accepts Club Night.json: $(cat "Club Night.json")"
echo "Club Night chapters.txt (video and mix sites):"; sed 's/^/    /' "Club Night chapters.txt"
echo "Club Night labels.txt (Audacity, TABs shown as ⇥):"; sed 's/^/    /; s/\t/⇥/g' "Club Night labels.txt"
out=$(python3 "$ROOT/tests/readers/exportCheck.py" "${args[@]}" ffprobe=probe.json mkvextract=simple.txt srt=vtt.srt \
      podcast="Club Night.json" audacity="Club Night labels.txt" video="Club Night chapters.txt") || fail "$out"
[ "$(echo "$out" | sed -n 's/^rules: //p')" = none ] || fail "the chapter list breaks the video sites' rules: $out"
echo "every chapter starts at its INDEX 01 to the frame with its 'Performer - Title', the last ends at 150 s;"
echo "the chapter list keeps the video sites' rules (first at 0:00, 3 or more, each 10 s or longer, ascending)"
cd "$ROOT"
closePlayer
echo "session 7: PASSED"
echo "demo: PASSED (screenshots in $OUT)"
