#!/usr/bin/env bash
# The main job: installs what is missing, builds gen_lumo.dll and runs seven sessions in the
# stand-in player (the faithful one: a Unicode main window, Global Hotkeys' default keys held
# system-wide) on a virtual display, driven by real X input (xdotool). Every text the sessions
# check goes in as a user puts it in: put on the X clipboard (xclip) and pasted with Ctrl+V; and
# every step waits, with a limit, for the player's report of what it did (the player prints
# which field has the focus and what it holds, the clipboard's text, the sheet's INDEX 01 times,
# the windows that appear and go), never a fixed time.
#  1. A whole marking session: the reaction time set on the General page, four marks with the
#     system hot key (one past the first hour, one after seeking back), titles and performers
#     pasted into the Info window, nudges by key and by button, Listen, Save. The sheet is printed
#     and read by cuebreakpoints against the marks to the frame; screenshots of every window.
#  2. Recovery: two marks, the player killed without quitting, started again on the same
#     folder, the sheet back, one more mark numbered on, Save, and every track read.
#  3. Real audio: a WAV of tones made with sox, marked where the tones change, saved, split along
#     the sheet with shnsplit (every piece must start at its mark to the sample), and a sheet
#     with marks past the first hour imported into a FLAC with metaflac.
#  4. Other scripts: tones in a file named "Café 東京 – mix.wav" (outside code page 1252),
#     titles and performers in Cyrillic, Japanese and Greek pasted into the Info window, saved
#     under the Automatic encoding (UTF-8 with a BOM and a first REM line), read back by
#     cuebreakpoints, cueprint and mkvmerge (its chapters printed by mkvextract) as pasted.
#  5. A sheet another program wrote (LF line ends, REM, CATALOG and ISRC lines, one track late,
#     one missing) opened in the real Open dialog, its late time corrected by ear with Listen
#     and the nudge keys, the missed track added with the hot key, saved back (the earlier file
#     kept as .bak) and the diff printed: every foreign line kept. Then a show in two files:
#     marks in the first, the player's Next button, marks in the second, one sheet with two
#     FILE blocks read by cuebreakpoints and cueprint, each file split along its block.
#  6. A tracklist pasted into the Tracklist window and marked line by line with the hot key
#     while the player plays (its event log printed: no pause), one mark taken back with Ctrl+Z
#     and made again; Ctrl+Alt+Right shown to reach the player's Global Hotkeys instead of the
#     editor, and the last three tracks shifted with Alt+Shift+PgDn (a second) and Alt+PgUp (a
#     frame); saved, read, exported as a chapter list for video sites.
#  7. The fifth's sheet opened with Ctrl+O and exported in each of the six types, chosen in the
#     real Save As dialog's type list by keyboard; each file read by the tool it is for (ffmpeg/
#     ffprobe, mkvmerge/mkvextract, ffmpeg for WebVTT, Python's JSON reader) and checked against
#     the sheet's INDEX 01 times to the frame with tests/readers/exportCheck.py.
#  8. Marks on the audio: a recording made with sox (a lead-in, songs with gaps of 0.4 to 2.5 s,
#     a hard cut, an 8 s crossfade) played and read by the plug-in through the player's decode
#     service; the hot key pressed a little after each boundary, the Info window's line on where
#     each mark went printed, every mark after a gap on its song's first frame, the cut's and the
#     crossfade's where the key went; F6 snaps the cut's mark to the change; the waveform strip
#     shown for a gap, the cut and the crossfade (screenshots), a click on it moving the
#     crossfade's mark; saved and read by cuebreakpoints against the known boundaries.
# The sessions run in a Wine prefix of their own (build/wine-demo, made on first use): a Wine
# program of another prefix running beside them shares neither its hot keys nor its clipboard
# with them, and is left running when the demo ends.
#   bash scripts/demo.sh                 the sessions above; screenshots in build/demo
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

# Wine keeps hot keys per desktop and serves the clipboard from the prefix's desktop process,
# on the X display that process started on: in a prefix shared with another program, that
# program's keys (the stand-in's Ctrl+Alt+M) and its display's clipboard would be the demo's.
export WINEPREFIX="$BUILD/wine-demo"
wineserver -k >/dev/null 2>&1 || true   # a server left by an interrupted run of the demo
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
# How long a step may take before the demo gives up (seconds): the player reports within a
# tenth of a second, but a loaded machine may hold it up for seconds.
LIMIT=${LUMO_DEMO_LIMIT:-30}

fail() { echo "demo: FAILED: $*" >&2; echo "--- player log" >&2; tr -d '\r' < "$log" >&2; exit 1; }

# ---- The player's reports
# What the player printed so far.
reports() { tr -d '\r' < "$log" 2>/dev/null || true; }
# How many lines starting with WORD the player has printed so far.
count() { reports | grep -c "^$1" || true; }
# The number the next line starting with WORD will have.
nextOf() { echo $(($(count "$1") + 1)); }
# The last line starting with WORD.
lastOf() { reports | grep "^$1" | tail -1 || true; }
# Waits until the player has printed the Nth line starting with WORD; prints that line.
waitFor() {  # word [n]
  local word=$1 n=${2:-1} line end=$((SECONDS + LIMIT))
  until line=$(reports | grep "^$word" | sed -n "${n}p"); [ -n "$line" ]; do
    [ $SECONDS -lt $end ] || fail "no '$word' number $n from the player within $LIMIT s"
    sleep 0.05
  done
  echo "$line"
}
# Waits until the last line starting with WORD starts with TEXT (is TEXT with "=", ends with it
# with "~"); prints it.
waitLast() {  # word text [=|~]
  local line end=$((SECONDS + LIMIT))
  until line=$(lastOf "$1"); case ${3:-} in =) [ "$line" = "$2" ] ;; '~') [[ $line == *"$2" ]] ;; *) [[ $line == "$2"* ]] ;; esac; do
    [ $SECONDS -lt $end ] || fail "the player's last '$1' line is '$line' after $LIMIT s, expected '$2' (${3:-at its start})"
    sleep 0.05
  done
  echo "$line"
}
# Waits until the field NAME has the keyboard focus (the player's FOCUS report).
waitFocus() { waitLast FOCUS "FOCUS $1" >/dev/null; }
# The INDEX 01 times of the Cue editor's sheet as last reported; the Kth of them.
marks() { local line; line=$(lastOf MARKS); echo "${line#MARKS}"; }
markOf() { marks | awk -v k="$1" '{ print $k }'; }
# Waits until the sheet holds N marks, or the Kth mark is TIME.
waitMarkCount() {  # n
  local end=$((SECONDS + LIMIT))
  until [ "$(marks | wc -w)" = "$1" ]; do
    [ $SECONDS -lt $end ] || fail "the sheet holds the marks '$(marks)', expected $1 marks"
    sleep 0.05
  done
}
waitMark() {  # k time
  local end=$((SECONDS + LIMIT))
  until [ "$(markOf "$1")" = "$2" ]; do
    [ $SECONDS -lt $end ] || fail "the sheet's mark $1 is '$(markOf "$1")', expected $2"
    sleep 0.05
  done
}
# The value of key=x,y in a reported line, as "x y".
at() { echo "$1" | tr ' ' '\n' | grep "^$2=" | cut -d= -f2 | tr ',' ' '; }

# ---- Input, as a user gives it
click() { xdotool mousemove --sync $1 click 1; }
# Text on one line as the player reports it: its line breaks as " / ".
oneLine() { local text=${1//$'\n'/ / }; echo "$text"; }
# Puts TEXT on the X clipboard, then waits until the player's side reads it there.
toClipboard() {
  printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
  waitLast CLIPBOARD "CLIPBOARD $(oneLine "$1")" = >/dev/null
}
# Pastes TEXT into the one-line field NAME at X,Y: on the clipboard, a click into the field,
# its text selected, Ctrl+V; done when the player reports the field holding it.
paste() {  # x,y name text
  toClipboard "$3"
  click "$1"
  waitFocus "$2"
  xdotool key End shift+Home ctrl+v
  waitLast FOCUS "FOCUS $2 $3" = >/dev/null
}
shot() { import -window root "$OUT/$1.png"; echo "screenshot $OUT/$1.png"; }

# ---- The player
startPlayer() {  # the audio file [the plug-in's folder [more arguments]]; output goes to $log
  local folder=${2:-$work}
  : > "$log"
  ( cd "$folder" && exec wine "$work/standin_player.exe" "$(winepath -w "$folder/gen_lumo.dll")" \
      --appdata "$(winepath -w "$folder")\\appdata" --demo "$(winepath -w "$1")" "${@:3}" >"$log" 2>&1 ) &
  player_pid=$!
  main=$(waitFor MAIN)
  ready=$(waitFor READY)
  [ "$(at "$ready" hotkey)" = ctrl+alt+m ] || fail "the player could not take the hot key Ctrl+Alt+M"
}
# Closes the player from its window (Alt+F4 in its seek field): quit, then the DLL stays loaded
# until the process ends.
closePlayer() {
  click "$(at "$main" seek)"
  waitFocus seek
  xdotool key alt+F4
  local end=$((SECONDS + LIMIT))
  while kill -0 "$player_pid" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "the player did not end within $LIMIT s of Alt+F4"
    sleep 0.05
  done
  grep -q '^DONE' "$log" || fail "the player did not close cleanly"
  player_pid=""
}
# Seeks to a position (m:ss.fff) in the player's seek field; the player plays on from there.
seekTo() {
  local seeks; seeks=$(count "EVENT .* seek to")
  paste "$(at "$main" seek)" seek "$1"
  xdotool key Return
  waitFor "EVENT .* seek to" $((seeks + 1)) >/dev/null
}
# Waits for the Nth message box of this player, closes it with Enter once it has the focus and
# waits until it went; prints "caption|text".
closeBox() {  # n
  local box; box=$(waitFor MSGBOX "$1")
  waitFocus box
  xdotool key Return
  waitFor "GONE box" "$1" >/dev/null
  echo "${box#* * }"
}
# Answers the Nth file dialog of this player: the type (from 1) picked in its type list with the
# keyboard when given, a screenshot of the open list when SHOT names one, then the name pasted
# into the name field and Enter; done when the dialog went.
answerFileDialog() {  # n name [type [shot]]
  local dialog; dialog=$(waitFor FILEDIALOG "$1"); shift
  if [ -n "${2:-}" ]; then
    click "$(at "$dialog" types)"          # the list drops down
    waitLast DROPDOWN "DROPDOWN open" = >/dev/null
    xdotool key Home
    local k
    for ((k = 1; k < $2; k++)); do xdotool key Down; done
    waitLast FILETYPE "FILETYPE $2 " >/dev/null
    [ -z "${3:-}" ] || shot "$3"
    xdotool key Return                     # the choice is made: the dialog takes the type
    waitLast DROPDOWN "DROPDOWN closed" = >/dev/null
  fi
  paste "$(at "$dialog" name)" file-name "$1"
  local gone; gone=$(count "GONE filedialog")
  xdotool key Return
  waitFor "GONE filedialog" $((gone + 1)) >/dev/null
}
# Waits for the player's Nth Info window, pastes the title and the performer into it and
# presses OK (by Enter in the field with "enter", else with the mouse; "shot" takes a screenshot
# first); done when the Info window went and the sheet holds one more mark.
fillInfo() {  # n title performer [enter|shot]
  local info marks; info=$(waitFor INFO "$1")
  marks=$(marks | wc -w)
  paste "$(at "$info" title)" info-title "$2"
  paste "$(at "$info" performer)" info-performer "$3"
  waitLast TYPED "TYPED $2|$3" = >/dev/null
  [ "${4:-}" != shot ] || shot info
  if [ "${4:-}" = enter ]; then xdotool key Return; else click "$(at "$info" ok)"; fi
  waitFor "GONE info" "$1" >/dev/null
  waitMarkCount $((marks + 1))
}
# One mark: seek, the hot key, the title and performer (the Nth Info window of this player).
markAt() {  # position title performer n
  seekTo "$1"
  xdotool key ctrl+alt+m               # the hot key of the action "LUMO: ON"
  waitFor PAUSED "$4" >/dev/null
  fillInfo "$4" "$2" "$3"
}
# Puts the Cue editor's caret on line N (from 1) with the keyboard; waits until it stands there.
caretTo() {  # n
  click "$(at "$cue" editor)"
  waitFocus cue-editor
  xdotool key ctrl+Home
  for ((k = 1; k < $1; k++)); do xdotool key Down; done
  waitLast CARET "CARET $1 " >/dev/null
}
# Waits for the next jump of playback the plug-in asks for (Listen); prints its position in ms.
jumpAfter() {  # the number of jumps before
  local jumped; jumped=$(waitFor JUMPED $(($1 + 1)))
  echo "${jumped#JUMPED }"
}

# ---- Times
# m:ss.ff of a frame count, as cuebreakpoints prints times.
clock() { printf '%d:%02d.%02d' $(($1 / 4500)) $(($1 / 75 % 60)) $(($1 % 75)); }
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

# ---- Session 1: a whole marking session.
session1() {
  startPlayer "$mix"
  # The reaction time, set on the General page before marking: every mark lies 250 ms before
  # the key press.
  offset=250
  click "$(at "$main" prefs)"
  local tabs; tabs=$(waitFor PREFS)
  paste "$(at "$tabs" offset)" offset "$offset"
  xdotool key Tab                      # the field gives up the focus: the value is taken
  waitLast FOCUS "FOCUS prefs" >/dev/null
  shot prefs-general
  xdotool key Escape                   # closes the preferences
  waitFor "GONE prefs" >/dev/null

  # Four marks; the last after seeking back, so it lands between the second and the third.
  local positions=("0:00.500" "4:05.120" "62:03.450" "31:40.480")
  local titles=("Opening" "Second Wind" "After the Hour" "Deep \"Blue\" Water")
  local performers=("Artist One" "Artist Two" "Artist Three" "Artist Two")
  local ways=("" shot enter "")        # OK with the mouse, or by Enter in the field
  for i in 0 1 2 3; do
    local n=$((i + 1)) paused
    seekTo "${positions[$i]}"
    xdotool key ctrl+alt+m             # the hot key of the action "LUMO: ON"
    paused=$(waitFor PAUSED $n)
    echo "mark $n: hot key at ${paused#PAUSED } ms"
    fillInfo $n "${titles[$i]}" "${performers[$i]}" "${ways[$i]}"
  done
  cue=$(waitFor CUE)
  local f2 f3 f4
  f2=$(($(frames 2) + 3 - 75))         # nudged below: three frames later, a second earlier
  f3=$(frames 4)
  f4=$(($(frames 3) - 2 + 75))         # two frames earlier, a second later

  # Track 2 by ear and by keys: its title line, then Alt+Right three times, F5 to hear it again
  # (the keys leave no menu behind that would eat it), Alt+Shift+Left.
  caretTo 10
  local jumps heard wanted
  jumps=$(count JUMPED)
  xdotool key alt+Right alt+Right alt+Right
  waitMark 2 "$(cueTime $(($(frames 2) + 3)))"
  [ "$(count JUMPED)" = $((jumps + 3)) ] || fail "three nudges did not listen three times"
  xdotool key F5
  heard=$(jumpAfter $((jumps + 3)))
  wanted=$(( ($(frames 2) + 3) * 1000 / 75 - 2000 )); [ $wanted -lt 0 ] && wanted=0
  echo "F5 after three nudges: the player jumped to $heard ms (the nudged mark less 2 s: $wanted ms)"
  [ "$heard" = "$wanted" ] || fail "F5 after an odd number of nudges jumped to '$heard', expected $wanted"
  xdotool key alt+shift+Left
  waitMark 2 "$(cueTime $f2)"
  # Track 4 with the buttons: Earlier twice, Later with Shift held.
  click "$(at "$cue" editor)"
  waitFocus cue-editor
  xdotool key ctrl+End Up                # the sheet ends with a line break: its last line is empty
  waitLast CARET "INDEX 01 $(cueTime $(frames 3))" '~' >/dev/null
  click "$(at "$cue" earlier)"
  waitMark 4 "$(cueTime $(($(frames 3) - 1)))"
  click "$(at "$cue" earlier)"
  waitMark 4 "$(cueTime $(($(frames 3) - 2)))"
  xdotool keydown shift; click "$(at "$cue" later)"; xdotool keyup shift
  waitMark 4 "$(cueTime $f4)"
  # Listen to track 3: the player jumps to two seconds before its mark.
  caretTo 14
  jumps=$(count JUMPED)
  click "$(at "$cue" listen)"
  heard=$(jumpAfter $jumps)
  wanted=$((f3 * 1000 / 75 - 2000)); [ $wanted -lt 0 ] && wanted=0
  echo "Listen on track 3: the player jumped to $heard ms (its mark less 2 s: $wanted ms)"
  [ "$heard" = "$wanted" ] || fail "Listen jumped to $heard ms, expected $wanted"
  shot cue
  click "$(at "$cue" save)"
  local box; box=$(closeBox 1)         # closes "Saved to"
  echo "message box: $box"
  case "$box" in *"Saved to|"*) ;; *) fail "expected the 'Saved to' box, got: $box" ;; esac

  local sheet="$work/Night Drive (Live Mix).cue"
  [ -f "$sheet" ] || fail "no cue sheet at $sheet"
  echo "----- $(basename "$sheet")"
  tr -d '\r' < "$sheet"
  echo "-----"
  # The breakpoints a cue reader finds must be the marks as placed and nudged, to the frame.
  local found expected=""
  found=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read the sheet"
  for f in $f2 $f3 $f4; do expected+=$(clock "$f")$'\n'; done
  echo "cuebreakpoints: $(echo $found)"
  [ "$(echo $found)" = "$(echo $expected)" ] || fail "breakpoints '$(echo $found)', marks '$(echo $expected)'"
  cueprint "$sheet" >/dev/null || fail "cueprint could not read the sheet"

  click "$(at "$main" prefs)"
  tabs=$(waitFor PREFS 2)
  local tab
  for tab in 0 1 2; do
    click "$(at "$tabs" tab$tab)"
    waitLast TAB "TAB $tab" = >/dev/null
    shot "$(echo prefs-general prefs-title-format prefs-about | cut -d' ' -f$((tab + 1)))"
  done
  xdotool key Escape                   # closes the preferences
  waitFor "GONE prefs" 2 >/dev/null
  closePlayer
  echo "session 1: PASSED"
}
# The INDEX of mark N of session 1: the pause position less the reaction time, in frames.
frames() {
  local ms; ms=$(waitFor PAUSED "$1"); ms=${ms#PAUSED }
  ms=$((ms - offset)); [ $ms -lt 0 ] && ms=0
  echo $((ms * 75 / 1000))
}

# ---- Session 2: the player dies in the middle of a session; nothing is lost.
session2() {
  local show="$work/Radio Show.mp3"
  head -c 4096 /dev/zero > "$show"
  startPlayer "$show"
  markAt "0:00.000" "Station Call" "Host" 1
  markAt "7:30.250" "First Song" "Band A" 2
  local end=$((SECONDS + LIMIT))
  until [ -f "$work/lumo_unsaved.cue" ]; do
    [ $SECONDS -lt $end ] || fail "no recovery copy beside the DLL"
    sleep 0.05
  done
  kill -9 "$player_pid" 2>/dev/null; wait "$player_pid" 2>/dev/null || true
  player_pid=""
  echo "the player was killed after two marks"
  startPlayer "$show"
  cue=$(waitFor CUE)                   # shown by itself: the sheet came back
  waitMarkCount 2
  echo "started again: the Cue window shows the recovered sheet"
  shot recovered
  markAt "12:00.500" "Second Song" "Band B" 1
  click "$(at "$cue" save)"
  local box; box=$(closeBox 1)
  case "$box" in *"Saved to|"*"Radio Show.cue"*) ;; *) fail "expected 'Saved to' Radio Show.cue, got: $box" ;; esac
  local sheet="$work/Radio Show.cue" found
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
}

# ---- Session 3: real audio. Three minutes of tones (440, 660, 880 Hz) changing at 0:50 and
# 1:50, marked by the player's own steps (no input needed).
session3() {
  local audio="$work/audio"
  mkdir -p "$audio/split"
  cp "$BUILD/bin/gen_lumo.dll" "$audio/"   # a plug-in folder of its own: no reaction time set
  sox -n -r 44100 -c 2 -b 16 "$audio/a.wav" synth 50 sine 440 gain -6
  sox -n -r 44100 -c 2 -b 16 "$audio/b.wav" synth 60 sine 660 gain -6
  sox -n -r 44100 -c 2 -b 16 "$audio/c.wav" synth 70 sine 880 gain -6
  sox "$audio/a.wav" "$audio/b.wav" "$audio/c.wav" "$audio/Tones.wav"
  local toneMarks=(0 50000 110000) toneFrames=() long wanted offsets ms
  ( cd "$audio" && wine "$work/standin_player.exe" "$(winepath -w "$audio/gen_lumo.dll")" --appdata "$(winepath -w "$audio")\\appdata" --file "$(winepath -w "$audio/Tones.wav")" \
      --title Tone --marks "$(IFS=,; echo "${toneMarks[*]}")" --save >/dev/null 2>&1 ) || fail "the marking of Tones.wav failed"
  [ -f "$audio/Tones.cue" ] || fail "no Tones.cue"
  echo "----- Tones.cue"; tr -d '\r' < "$audio/Tones.cue"; echo "-----"
  for ms in "${toneMarks[@]}"; do toneFrames+=($((ms * 75 / 1000))); done
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
}

# ---- Session 4: any script. Pasted text keeps every character; the player's UTF-16 window and
# loop hand it to the Info window whole, and each mark checks what the fields hold before OK.
session4() {
  local any="$work/any"
  mkdir -p "$any"
  cp "$BUILD/bin/gen_lumo.dll" "$any/"   # a plug-in folder of its own: no reaction time, Automatic
  local name="Café 東京 – mix" tone
  for tone in 440 660 880; do sox -n -r 44100 -c 2 -b 16 "$any/$tone.wav" synth 20 sine $tone gain -6; done
  sox "$any/440.wav" "$any/660.wav" "$any/880.wav" "$any/$name.wav" && rm "$any"/[0-9]*.wav
  local anyTitles=("Жёлтый свет" "東京の夜" "Ελληνικό φως")
  local anyPerformers=("Кино и ветер" "夜の楽団" "Ορχήστρα")
  startPlayer "$any/$name.wav" "$any"
  local anyFrames=() i ms
  for i in 0 1 2; do
    markAt "0:$((i * 2))0.000" "${anyTitles[$i]}" "${anyPerformers[$i]}" $((i + 1))
    ms=$(waitFor PAUSED $((i + 1))); ms=${ms#PAUSED }
    anyFrames+=($((ms * 75 / 1000)))
  done
  cue=$(waitFor CUE)
  shot any-script
  click "$(at "$cue" save)"
  local box; box=$(closeBox 1)
  echo "message box: $box"
  case "$box" in *"Saved to|"*"$name.cue"*) ;; *) fail "expected 'Saved to' $name.cue, got: $box" ;; esac
  local sheet="$any/$name.cue" bom
  [ -f "$sheet" ] || fail "no cue sheet at $sheet"
  bom=$(head -c 3 "$sheet" | od -An -tx1 | tr -d ' ')
  echo "----- $name.cue (its first bytes: $bom, the BOM of UTF-8)"
  tail -c +4 "$sheet" | tr -d '\r'
  echo "-----"
  [ "$bom" = efbbbf ] || fail "the sheet does not start with the BOM of UTF-8"
  [ "$(tail -c +4 "$sheet" | head -1 | tr -d '\r')" = 'REM COMMENT "LumoMarker"' ] || fail "the first line is not the REM line"
  grep -q "^FILE \"$name.wav\" WAVE"$'\r'"\$" "$sheet" || fail "the FILE line does not name '$name.wav'"
  local typed="" shown="" chapters="" n f
  for i in 0 1 2; do
    n=$((i + 1)); f=${anyFrames[$i]}; ms=$((f * 1000 / 75))
    typed+="${anyTitles[$i]}"$'\n'
    shown+="$(printf '%02d' $n) ${anyPerformers[$i]} - ${anyTitles[$i]}"$'\n'
    chapters+=$(printf 'CHAPTER%02d=00:%02d:%02d.%03d\nCHAPTER%02dNAME=%s - %s' $n $((ms / 60000)) $((ms / 1000 % 60)) \
                $((ms % 1000)) $n "${anyPerformers[$i]}" "${anyTitles[$i]}")$'\n'
  done
  [ "$(sed -n 's/^    TITLE "\(.*\)"\r$/\1/p' "$sheet")"$'\n' = "$typed" ] || fail "the sheet's titles are not as pasted"
  local found read extracted
  found=$(cuebreakpoints "$sheet" 2>/dev/null) || fail "cuebreakpoints could not read the sheet"
  echo "cuebreakpoints: $(echo $found)"
  [ "$(echo $found)" = "$(echo "$(clock "${anyFrames[1]}") $(clock "${anyFrames[2]}")")" ] || fail "breakpoints '$(echo $found)'"
  read=$(cueprint -d '%P - %T\n' -t '%02n %p - %t\n' "$sheet" 2>/dev/null) || fail "cueprint could not read the sheet"
  echo "cueprint:"; echo "$read" | sed 's/^/    /'
  [ "$(echo "$read" | tail -n +2)"$'\n' = "$shown" ] || fail "cueprint does not show the titles as pasted"
  mkvmerge -q -o "$any/$name.mka" --chapters "$sheet" "$any/$name.wav" || fail "mkvmerge refused the sheet"
  extracted=$(mkvextract "$any/$name.mka" chapters --simple - | tr -d '\r') || fail "mkvextract found no chapters"
  echo "mkvextract (chapters --simple):"; echo "$extracted" | sed 's/^/    /'
  [ "$extracted"$'\n' = "$chapters" ] || fail "mkvextract does not show the marks and titles as pasted"
  closePlayer
  echo "session 4: PASSED"
}

# ---- Session 5: a sheet another program wrote, opened, corrected by ear, completed, saved back.
# The recording: tones that change at 0:30, 1:10 and 1:50; the sheet has the second track 1 s
# and 3 frames late and lacks the third.
session5() {
  open="$work/open"
  mkdir -p "$open"
  cp "$BUILD/bin/gen_lumo.dll" "$open/"   # a plug-in folder of its own
  local tone
  for tone in 440:30 550:40 660:40 770:40; do
    sox -n -r 44100 -c 2 -b 16 "$open/${tone%:*}.wav" synth "${tone#*:}" sine "${tone%:*}" gain -6
  done
  sox "$open/440.wav" "$open/550.wav" "$open/660.wav" "$open/770.wav" "$open/Club Night.wav" && rm "$open"/[0-9]*.wav
  local sheet="$open/Club Night.cue"
  local foreign=('REM GENRE "House"' 'REM DATE 2024' 'REM COMMENT "TapeCue 3.2"' 'CATALOG 0724384960650'
           'PERFORMER "DJ Kestrel"' 'TITLE "Club Night – Live"' 'FILE "Club Night.wav" WAVE'
           '  TRACK 01 AUDIO' '    TITLE "Warm Up"' '    PERFORMER "Ana Lys"' '    INDEX 01 00:00:00'
           '  TRACK 02 AUDIO' '    TITLE "Late Arrival"' '    PERFORMER "Bo Marten"' '    ISRC GBAYE2400012'
           '    INDEX 01 00:31:03'
           '  TRACK 03 AUDIO' '    TITLE "Closing Time"' '    PERFORMER "Ana Lys"' '    INDEX 01 01:50:00')
  printf '%s\n' "${foreign[@]}" > "$sheet"   # LF line ends, UTF-8 without a BOM, as Linux tools write
  echo "the sheet another program wrote (LF line ends, UTF-8 without a BOM):"; sed 's/^/    /' "$sheet"
  startPlayer "$open/Club Night.wav" "$open"
  xdotool key ctrl+alt+c                  # the hot key of the action "LUMO: Show cue sheet"
  cue=$(waitFor CUE)
  click "$(at "$cue" open)"
  answerFileDialog 1 "Club Night.cue"
  waitLast CARET "CARET 1 REM GENRE" >/dev/null
  waitMarkCount 3
  echo "opened: the Cue window holds Club Night.cue"
  shot opened-sheet
  # Track 2 by ear: its title line, Listen (F5): the player plays from 2 s before the mark.
  caretTo 13
  waitLast CARET 'CARET 13     TITLE "Late Arrival"' = >/dev/null
  local jumps heard
  jumps=$(count JUMPED)
  xdotool key F5
  heard=$(jumpAfter $jumps)
  echo "Listen on track 2 (INDEX 01 00:31:03): the player jumped to $heard ms"
  [ "$heard" = $(( $(framesOf 00:31:03) * 1000 / 75 - 2000 )) ] || fail "Listen jumped to $heard ms"
  # The tone changed a second and a bit before the mark: a second earlier, three frames earlier.
  xdotool key alt+shift+Left
  xdotool key alt+Left alt+Left alt+Left
  waitMark 2 00:30:00
  jumps=$(count JUMPED)
  xdotool key F5
  heard=$(jumpAfter $jumps)
  echo "after Alt+Shift+Left and Alt+Left three times, Listen jumped to $heard ms (00:30:00 less 2 s)"
  [ "$heard" = 28000 ] || fail "the nudged mark is not 00:30:00: Listen jumped to $heard ms"
  # The missed track, with the hot key near the change at 1:10.
  markAt "1:09.800" "Found Again" "Cy Dale" 1
  local found
  found=$(waitFor PAUSED 1); found=$((${found#PAUSED } * 75 / 1000))
  local b; b=$(nextOf MSGBOX)
  click "$(at "$cue" save)"
  local box; box=$(closeBox $b)
  echo "message box: $box"
  local wide; wide="$(winepath -w "$sheet")"
  [ "$box" = "Saved to|$wide / The earlier file was kept as $wide.bak" ] || fail "expected the 'Saved to' box with the .bak"
  [ -f "$sheet.bak" ] || fail "no $(basename "$sheet").bak"
  # The file as it must be: every line of the other program's, the nudged time, the new track.
  local wanted=("${foreign[@]:0:15}" '    INDEX 01 00:30:00' 'TRACK 03 AUDIO' '    TITLE "Found Again"' '    PERFORMER "Cy Dale"'
          "    INDEX 01 $(cueTime $found)" '  TRACK 04 AUDIO' "${foreign[@]:17}")
  [ "$(cat "$sheet")" = "$(printf '%s\r\n' "${wanted[@]}")" ] || { diff <(printf '%s\r\n' "${wanted[@]}") "$sheet" | cat -A; fail "Club Night.cue is not the opened sheet with the changes"; }
  [ "$(cat "$sheet.bak")" = "$(printf '%s\n' "${foreign[@]}")" ] || fail "the .bak is not the file as it was"
  echo "----- diff -u --strip-trailing-cr 'Club Night.cue.bak' 'Club Night.cue' (the .bak ends its lines in LF, the saved file in CR LF)"
  (cd "$open" && diff -u --strip-trailing-cr "Club Night.cue.bak" "Club Night.cue") | sed 1,2d || true
  echo "-----"
  local breaks read
  breaks=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read Club Night.cue"
  echo "cuebreakpoints: $(echo $breaks)"
  local clubFrames=(0 2250 $found 8250)
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
}

# ---- A show in two files: marks in the first, Next, marks in the second; one sheet.
session5TwoFiles() {
  local two="$work/two"
  mkdir -p "$two"
  cp "$BUILD/bin/gen_lumo.dll" "$two/"
  sox -n -r 44100 -c 2 -b 16 "$two/a.wav" synth 20 sine 440 gain -6
  sox -n -r 44100 -c 2 -b 16 "$two/b.wav" synth 25 sine 550 gain -6
  sox "$two/a.wav" "$two/b.wav" "$two/Show Part 1.wav"
  sox -n -r 44100 -c 2 -b 16 "$two/a.wav" synth 15 sine 660 gain -6
  sox -n -r 44100 -c 2 -b 16 "$two/b.wav" synth 25 sine 770 gain -6
  sox "$two/a.wav" "$two/b.wav" "$two/Show Part 2.wav" && rm "$two/a.wav" "$two/b.wav"
  startPlayer "$two/Show Part 1.wav" "$two" --add "$(winepath -w "$two/Show Part 2.wav")"
  markAt "0:00.000" "Doors Open" "House Band" 1
  markAt "0:19.600" "First Set" "House Band" 2
  click "$(at "$main" next)"             # the player's Next: the second file plays from its start
  waitFor "EVENT .* next file" >/dev/null
  markAt "0:00.000" "Second Set" "Guest Trio" 3
  markAt "0:14.600" "Encore" "Guest Trio" 4
  local partFrames=() n ms b box found read part
  for n in 1 2 3 4; do ms=$(waitFor PAUSED $n); partFrames+=($((${ms#PAUSED } * 75 / 1000))); done
  cue=$(waitFor CUE)
  shot two-files
  b=$(nextOf MSGBOX)
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
}

# ---- Session 6: a tracklist pasted into the Tracklist window, marked with the hot key while the
# player plays on; the later marks shifted with the keys that reach the editor in the player.
session6() {
  local list="$work/list"
  mkdir -p "$list"
  cp "$BUILD/bin/gen_lumo.dll" "$list/"
  sox -n -r 44100 -c 2 -b 16 "$list/Sunday Set.wav" synth 90 sine 523 gain -9
  local lines=("1. Nova Reyes - First Light" "2) 50 Knots – Harbour Lights" "[03:12] Mira Holt — Glass Rooms" "Interlude"
               "0:14:05 10 Lakes - Evening Swim" "Kai Morrow - Up - Extended Mix" "Tess Vail - Last Call")
  local performers=("Nova Reyes" "50 Knots" "Mira Holt" "Mira Holt" "10 Lakes" "Kai Morrow" "Tess Vail")
  local titles=("First Light" "Harbour Lights" "Glass Rooms" "Interlude" "Evening Swim" "Up - Extended Mix" "Last Call")
  local kept=("" "" "" " (as before)" "" "" "")  # "Interlude" names no performer: it takes the one before
  startPlayer "$list/Sunday Set.wav" "$list"
  [ "$(at "$ready" globalhotkeys)" = 11 ] || fail "the player holds $(at "$ready" globalhotkeys) of Global Hotkeys' 11 default keys"
  xdotool key ctrl+alt+c
  cue=$(waitFor CUE)
  click "$(at "$cue" tracklist)"
  local tracklist; tracklist=$(waitFor TRACKLIST)
  # The list as a user brings it: copied from a page, pasted with Ctrl+V over whatever the
  # window holds.
  toClipboard "$(printf '%s\n' "${lines[@]}")"$'\n'
  click "$(at "$tracklist" editor)"
  waitFocus tracklist-editor
  xdotool key ctrl+End ctrl+shift+Home ctrl+v
  waitLast LISTED "LISTED $(printf '%s / ' "${lines[@]}")" = >/dev/null
  echo "pasted into the Tracklist window (X clipboard, Ctrl+V):"; printf '    %s\n' "${lines[@]}"
  waitLast NEXT "NEXT Next: \"First Light\" by Nova Reyes" = >/dev/null
  shot tracklist
  local events i nextLine
  events=$(count EVENT)                 # the player's events from here on are printed below
  for i in 0 1 2 3 4 5 6; do
    xdotool key ctrl+alt+m              # the list's next line is the entry at once
    if [ $i -lt 6 ]; then nextLine="Next: \"${titles[$i + 1]}\" by ${performers[$i + 1]}${kept[$i + 1]}"; else nextLine="Next: the Info window"; fi
    waitLast NEXT "NEXT $nextLine" = >/dev/null
    echo "mark $((i + 1)): ${performers[$i]} - ${titles[$i]}; the Tracklist window says '$nextLine'"
    sleep 1                             # a second of music before the next boundary: no event to wait for
  done
  shot tracklist-marked
  xdotool key Escape                    # the Tracklist window goes; the list stays with the sheet
  waitFor "GONE tracklist" >/dev/null
  click "$(at "$cue" editor)"
  waitFocus cue-editor
  xdotool key ctrl+z                    # the last mark taken back: its line is the next again
  waitLast NEXT "NEXT Next: \"Last Call\" by Tess Vail" = >/dev/null
  waitMarkCount 6
  echo "Ctrl+Z: the last mark is taken back, the Tracklist window says 'Next: \"Last Call\" by Tess Vail'"
  sleep 1                               # a second of music again
  xdotool key ctrl+alt+m
  waitLast NEXT "NEXT Next: the Info window" = >/dev/null
  waitMarkCount 7
  echo "marked again with the hot key"
  local before; before=$(marks)
  # The last three tracks later: the caret on track 5. Ctrl+Alt+Right, the key of the shift in
  # earlier players, is Global Hotkeys' "seek ahead": the player seeks 5 s, the editor hears
  # nothing. Alt+Shift+PgDn moves them a second later, Alt+PgUp twice a frame earlier each.
  caretTo 21
  waitLast CARET "CARET 21 TRACK 05 AUDIO" = >/dev/null
  local global clocks seeked
  global=$(nextOf "EVENT .* global hotkey"); clocks=$(nextOf CLOCK)
  xdotool key ctrl+alt+Right
  seeked=$(waitFor "EVENT .* global hotkey" $global)
  waitFor CLOCK $clocks >/dev/null      # the player's seek, reported after the key was handled
  [ "${seeked##* global hotkey }" = "seek ahead" ] || fail "Ctrl+Alt+Right reached the player as '$seeked'"
  [ "$(marks)" = "$before" ] || fail "Ctrl+Alt+Right changed the sheet: '$before' became '$(marks)'"
  echo "Ctrl+Alt+Right: the player's Global Hotkeys took it (seek ahead 5 s from $(echo "${seeked#*pos=}" | cut -d' ' -f1) ms); the sheet is unchanged"
  local jumps k
  jumps=$(count JUMPED)
  xdotool key alt+shift+Next
  waitMark 5 "$(cueTime $(($(framesOf "$(echo $before | cut -d' ' -f5)") + 75)))"
  xdotool key alt+Prior alt+Prior
  for k in 5 6 7; do waitMark $k "$(cueTime $(($(framesOf "$(echo $before | cut -d' ' -f$k)") + 73)))"; done
  waitFor JUMPED $((jumps + 3)) >/dev/null   # each shift listens at the caret's mark
  echo "Alt+Shift+PgDn, then Alt+PgUp twice: tracks 5 to 7 $(echo $before | cut -d' ' -f5-7) became $(marks | cut -d' ' -f6-8)"
  shot tracklist-sheet
  local b box; b=$(nextOf MSGBOX)
  click "$(at "$cue" save)"
  box=$(closeBox $b)
  echo "message box: $box"
  case "$box" in *"Saved to|"*"Sunday Set.cue") ;; *) fail "expected 'Saved to' Sunday Set.cue, got: $box" ;; esac
  echo "the player's event log from the list on (t: seconds since start-up, pos: ms; 'time 0' is the"
  echo "plug-in asking for the position, answered with pos):"
  reports | grep '^EVENT' | tail -n +$((events + 1)) | sed 's/^EVENT /    /'
  reports | grep '^EVENT' | tail -n +$((events + 1)) | grep -q 'cmd pause' && fail "playback was paused"
  reports | grep '^EVENT' | tail -n +$((events + 1)) | grep -vq 'state=playing' && fail "the player did not play throughout"
  echo "no pause: every event came while the player played, and the plug-in sent no pause command"
  # The marks: the position the plug-in was answered with after each press of the mark key.
  local heard listFrames=()
  mapfile -t heard < <(reports | grep '^EVENT' | tail -n +$((events + 1)) |
    awk '/system hotkey LUMOPluginDoActionOn/ { want = 1; next } want && / time 0$/ { sub(/.*pos=/, ""); print $1; want = 0 }')
  [ ${#heard[@]} = 8 ] || fail "${#heard[@]} marks in the event log, expected 8"
  for i in 0 1 2 3 4 5 7; do listFrames+=($((heard[i] * 75 / 1000))); done
  for i in 4 5 6; do listFrames[$i]=$((listFrames[i] + 73)); done    # shifted a second less two frames later
  local sheet="$list/Sunday Set.cue" found wantedBreaks="" read shown=""
  echo "----- Sunday Set.cue"; tr -d '\r' < "$sheet"; echo "-----"
  found=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read Sunday Set.cue"
  echo "cuebreakpoints: $(echo $found)"
  for i in 1 2 3 4 5 6; do wantedBreaks+="$(clock ${listFrames[$i]}) "; done
  [ "$(echo $found) " = "$wantedBreaks" ] || fail "cuebreakpoints found '$(echo $found)', the marks are '$wantedBreaks'"
  [ "$(grep -m1 'INDEX 01' "$sheet" | tr -d '\r')" = "    INDEX 01 $(cueTime ${listFrames[0]})" ] || fail "track 1 is not at its mark"
  read=$(cueprint -d '' -t '%02n %p - %t\n' "$sheet") || fail "cueprint could not read Sunday Set.cue"
  echo "cueprint:"; echo "$read" | sed 's/^/    /'
  for i in 0 1 2 3 4 5 6; do shown+="$(printf '%02d' $((i + 1))) ${performers[$i]} - ${titles[$i]}"$'\n'; done
  [ "$read"$'\n' = "$shown" ] || fail "cueprint does not show the tracklist's performers and titles"
  echo "every INDEX 01 is its mark to the frame, tracks 5 to 7 a second less two frames later"
  # Its chapter list for video sites: written, and the box says which of their rules it breaks.
  local n out; n=$(nextOf FILEDIALOG); b=$(nextOf MSGBOX)
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
}

# ---- Session 7: the sheet of session 5 opened with Ctrl+O and exported in every type.
session7() {
  local sheet exportNames t n b box type times frameList time args out
  startPlayer "$open/Club Night.wav" "$open"
  xdotool key ctrl+alt+c
  cue=$(waitFor CUE)
  click "$(at "$cue" editor)"
  waitFocus cue-editor
  xdotool key ctrl+o
  answerFileDialog 1 "Club Night.cue"
  waitLast CARET "CARET 1 REM GENRE" >/dev/null
  waitMarkCount 4
  sheet="$open/Club Night.cue"
  exportNames=("Club Night chapters.txt" "Club Night.ffmeta" "Club Night mkv.txt" "Club Night.vtt" "Club Night.json"
               "Club Night labels.txt")
  for t in 1 2 3 4 5 6; do
    n=$(nextOf FILEDIALOG); b=$(nextOf MSGBOX)
    click "$(at "$cue" export)"
    answerFileDialog $n "${exportNames[$t - 1]}" $t $([ $t = 4 ] && echo export-types)
    box=$(closeBox $b)
    type=$(lastOf FILETYPE | cut -d' ' -f3-)
    echo "export $t ($type): $box"
    [ "$box" = "Saved to|$(winepath -w "$open")\\${exportNames[$t - 1]}" ] || fail "export $t: the box says '$box'"
  done
  # The sheet's tracks: INDEX 01 times and "Performer - Title".
  mapfile -t times < <(tr -d '\r' < "$sheet" | sed -n 's/^ *INDEX 01 //p')
  frameList=""; for time in "${times[@]}"; do frameList+="${frameList:+,}$(framesOf "$time")"; done
  printf '%s\n' "Ana Lys - Warm Up" "Bo Marten - Late Arrival" "Cy Dale - Found Again" "Ana Lys - Closing Time" > "$open/titles"
  args=(--frames "$frameList" --titles "$open/titles" --length-frames $((150 * 75)))
  echo "the sheet's INDEX 01 times: ${times[*]} (frames $frameList); the audio: 150 s"
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
}

# ---- Session 8: marks that find the boundary, and the waveform strip. A recording made with sox
# whose boundaries are known to the sample: a lead-in of silence, five songs with gaps of 0.4 to
# 2.5 s between them (each fading out into its gap), a hard cut into a sixth song, and an 8 s
# crossfade into a seventh.
# A position in ms as the seek field takes it (m:ss.fff).
msText() { printf '%d:%02d.%03d' $(($1 / 60000)) $(($1 / 1000 % 60)) $(($1 % 1000)); }
# Waits until the player, playing on from a seek to FROM ms (reported after CLOCKS clock reports),
# has passed MS: when it does follows from its clock report, the system time it stood at FROM.
waitPosition() {  # from ms clocks
  local clock="" micros target end=$((SECONDS + LIMIT))
  until clock=$(reports | grep '^CLOCK' | tail -n +$(($3 + 1)) | grep " $1\$" | tail -1); [ -n "$clock" ]; do
    [ $SECONDS -lt $end ] || fail "no clock report of the seek to $1 ms within $LIMIT s"
    sleep 0.05
  done
  micros=$(echo "$clock" | cut -d' ' -f2)
  target=$((micros + ($2 - $1) * 1000))
  until [ "$(date +%s%6N)" -ge $target ]; do
    [ $SECONDS -lt $end ] || fail "the player did not reach $2 ms within $LIMIT s"
    sleep 0.005
  done
}
# The number of streams the player's decode service opened so far, as last reported.
streamsOpened() { local line; line=$(lastOf DECODE); [[ $line =~ opened=([0-9]+) ]] && echo "${BASH_REMATCH[1]}" || echo 0; }
# Waits until the plug-in has read a file whole through the decode service: one more stream
# opened than BEFORE, and none open; prints the report.
waitDecoded() {  # streams opened before
  local line end=$((SECONDS + LIMIT))
  until line=$(lastOf DECODE); [[ $line =~ opened=([0-9]+)\ open=0 ]] && [ "${BASH_REMATCH[1]}" -gt "$1" ]; do
    [ $SECONDS -lt $end ] || fail "the plug-in did not read the recording within $LIMIT s (last: '$line')"
    sleep 0.05
  done
  echo "${line#DECODE }"
}
# The frame a click on column C means in a strip WIDTH columns wide showing FRAMES frames from
# FIRST: the middle one of the frames that start in the column.
frameAtColumn() {  # first frames width c
  local first=$1 frames=$2 width=$3 c=$4 from to
  from=$(((c * frames + width - 1) / width)); to=$((((c + 1) * frames + width - 1) / width))
  if [ $to -gt $from ]; then echo $((first + from + (to - from - 1) / 2)); else echo $((first + from - 1)); fi
}
# A screenshot of the Cue window alone.
shotCue() {
  local area; area=($(at "$cue" window))
  import -window root -crop "${area[2]}x${area[3]}+${area[0]}+${area[1]}" +repage "$OUT/$1.png"
  echo "screenshot $OUT/$1.png (the Cue window)"
}
# Pauses the player with its Pause button; done when it reports the pause.
pausePlayer() {
  local paused; paused=$(nextOf PAUSED)
  click "$(at "$main" pause)"
  waitFor PAUSED "$paused" >/dev/null
}
# Puts the Cue editor's caret on track K's title line with the keyboard, and waits until the strip
# shows its mark, 4 s either side.
lookAtTrack() {  # k
  local track line=1 mark
  track=$(printf 'TRACK %02d AUDIO' "$1")
  click "$(at "$cue" editor)"
  waitFocus cue-editor
  xdotool key ctrl+Home
  waitLast CARET "CARET 1 " >/dev/null
  until [[ $(lastOf CARET) == *"$track" ]]; do
    [ $line -lt 200 ] || fail "no line '$track' in the Cue editor"
    line=$((line + 1))
    xdotool key Down
    waitLast CARET "CARET $line " >/dev/null
  done
  xdotool key Down
  waitLast CARET "CARET $((line + 1))     TITLE" >/dev/null
  mark=$(framesOf "$(markOf "$1")")
  waitLast WAVE "WAVE $(cueTime $((mark - 300))) – $(cueTime $((mark + 300)))" = >/dev/null
}
session8() {
  local snap="$work/snap" p pieces=() synth=(-R -r 44100 -c 2 -n -r 44100 -c 2 -b 16)
  mkdir -p "$snap"
  cp "$BUILD/bin/gen_lumo.dll" "$snap/"   # a plug-in folder of its own: no reaction time set
  sox "${synth[@]}" "$snap/p0.wav" trim 0 44400s                   # the lead-in, 1.007 s
  sox "${synth[@]}" "$snap/p1.wav" synth 7 sine 220 sine 277 tremolo 4 40 fade q 0 7 0.8 gain -6
  sox "${synth[@]}" "$snap/p2.wav" trim 0 17740s                   # a gap of 0.402 s
  sox "${synth[@]}" "$snap/p3.wav" synth 6 triangle 330 triangle 392 tremolo 6 30 fade q 0 6 0.8 gain -6
  sox "${synth[@]}" "$snap/p4.wav" trim 0 39940s                   # 0.906 s
  sox "${synth[@]}" "$snap/p5.wav" synth 6 sawtooth 165 sawtooth 247 gain -9 lowpass 2000 fade q 0 6 0.8
  sox "${synth[@]}" "$snap/p6.wav" trim 0 70960s                   # 1.609 s
  sox "${synth[@]}" "$snap/p7.wav" synth 6 sine 262 sine 330 tremolo 2 50 fade q 0 6 0.8 gain -6
  sox "${synth[@]}" "$snap/p8.wav" trim 0 110250s                  # 2.5 s
  sox "${synth[@]}" "$snap/p9.wav" synth 7 square 196 square 294 gain -18 lowpass 1500   # stops dead: a hard cut
  # The crossfade: the sixth song fades out over its last 8 s while the seventh fades in.
  sox "${synth[@]}" "$snap/a.wav" synth 12 pinknoise pinknoise gain -6 highpass 300 tremolo 8 50 fade q 0 12 8
  sox "${synth[@]}" "$snap/b.wav" synth 14 sine 523 sine 659 tremolo 3 40 fade q 8 gain -16 pad 4
  sox -R -m -v 1 "$snap/a.wav" -v 1 "$snap/b.wav" "$snap/p10.wav"
  for p in 0 1 2 3 4 5 6 7 8 9 10; do pieces+=("$snap/p$p.wav"); done
  local wav="$snap/Gaps and Fades.wav"
  sox -R "${pieces[@]}" "$wav"
  # The boundaries in samples: where the sound begins after the lead-in, each gap and the cut;
  # the crossfade's middle, 8 s after the cut.
  local at=0 starts=() known=() s
  for p in 0 1 2 3 4 5 6 7 8 9; do
    at=$((at + $(soxi -s "$snap/p$p.wav")))
    if [ $((p % 2)) = 0 ] || [ $p = 9 ]; then starts+=($at); fi
  done
  starts+=($((at + 8 * 44100)))
  rm "${pieces[@]}" "$snap/a.wav" "$snap/b.wav"
  for s in "${starts[@]}"; do known+=($((s / 588))); done   # the frame each begins in
  echo "Gaps and Fades.wav ($(soxi -d "$wav")): the songs begin after the lead-in and the gaps (0.402, 0.906, 1.609, 2.5 s)"
  echo "    at samples ${starts[*]:0:5}, in the frames $(for s in "${known[@]:0:5}"; do printf '%s ' "$(cueTime $s)"; done)"
  echo "    the hard cut at sample ${starts[5]} (frame $(cueTime ${known[5]})), the crossfade's middle at ${starts[6]} (frame $(cueTime ${known[6]}))"

  startPlayer "$wav" "$snap"
  xdotool key ctrl+alt+c                 # the Cue window, with the waveform strip under its editor
  cue=$(waitFor CUE)
  local opened; opened=$(streamsOpened)
  click "$(at "$main" play)"             # the recording begins to play: the plug-in reads it
  echo "the plug-in read the recording through the player's decode service: $(waitDecoded "$opened")"

  # Seven marks with the hot key, a little after each song's first sound (after the lead-in, the
  # gaps and the cut) and 0.4 s after the crossfade's middle; each from a seek 1.8 s before.
  local titles=("Lead In" "Harbour" "Salt" "Lanterns" "Quiet Hours" "Static" "Morning")
  local after=(350 250 600 200 450 300 400)   # ms after the boundary the key goes down
  local presses=() placed=() k n from ms line said typed clocks
  for k in 0 1 2 3 4 5 6; do
    n=$((k + 1)); ms=$((starts[k] * 1000 / 44100))
    from=$((ms > 1800 ? ms - 1800 : 0))
    clocks=$(count CLOCK)
    seekTo "$(msText $from)"
    waitPosition $from $((ms + after[k])) "$clocks"
    said=$(count PLACED); typed=$(count TYPED)
    xdotool key ctrl+alt+m
    line=$(waitFor PAUSED $n); presses+=(${line#PAUSED })
    waitFor TYPED $((typed + 1)) >/dev/null   # the Info window's fields: its line was reported before them
    if [ $n = 2 ]; then shot snap-info; fi
    placed+=("$(reports | grep '^PLACED' | tail -n +$((said + 1)) | head -1 | cut -c8-)")
    fillInfo $n "${titles[$k]}" "Performer $n"
    echo "mark $n: the key at ${presses[$k]} ms ($((presses[k] - ms)) ms after the boundary); the Info window: '${placed[$k]:-(nothing)}'"
  done
  waitMarkCount 7
  pausePlayer
  local got=()
  for k in 0 1 2 3 4 5 6; do got+=($(framesOf "$(markOf $((k + 1)))")); done
  echo "the marks (INDEX 01) against the known boundaries:"
  printf '    %-16s %-9s %-9s %-7s %s\n' track boundary mark frames ""
  for k in 0 1 2 3 4 5 6; do
    printf '    %-16s %-9s %-9s %-7s %s\n' "$((k + 1)) ${titles[$k]}" "$(cueTime ${known[$k]})" "$(cueTime ${got[$k]})" \
      "$((got[k] - known[k]))" "$(if [ $k -lt 5 ]; then echo "after a gap"; elif [ $k = 5 ]; then echo "a hard cut: where the key went"; else echo "a crossfade: where the key went"; fi)"
  done
  for k in 0 1 2 3 4; do
    [ "${got[$k]}" = "${known[$k]}" ] || fail "mark $((k + 1)) is at $(cueTime ${got[$k]}), its song begins in frame $(cueTime ${known[$k]})"
    [[ ${placed[$k]} == "at the end of a silence, "*" before your key" ]] || fail "the Info window said '${placed[$k]}' of mark $((k + 1))"
  done
  for k in 5 6; do   # no silence near the cut and in the crossfade: the marks stay where the key went
    [ "${got[$k]}" = $((presses[k] * 75 / 1000)) ] ||
      fail "mark $((k + 1)) moved from the key's $(cueTime $((presses[k] * 75 / 1000))) to $(cueTime ${got[$k]})"
  done
  echo "every mark after a gap is on the frame its song begins in; at the cut and in the crossfade they stayed where the key went"

  # The strip: a gap, the hard cut (F6 snaps its mark to the change heard there), the crossfade.
  lookAtTrack 4
  echo "track 4 (after the gap of 1.609 s): the strip shows $(lastOf WAVE | cut -c6-)"
  shot strip-gap
  shotCue strip-gap-window
  lookAtTrack 6
  local statuses jumps; statuses=$(count STATUS); jumps=$(count JUMPED)
  xdotool key F6
  line=$(waitFor STATUS $((statuses + 1))); line=${line#STATUS }
  waitFor JUMPED $((jumps + 1)) >/dev/null   # Snap listens at the mark
  pausePlayer
  got[5]=$(framesOf "$(markOf 6)")
  echo "F6 on track 6 (the hard cut): '$line'; its mark $(cueTime ${got[5]}), the cut in frame $(cueTime ${known[5]}) ($((got[5] - known[5])) frames)"
  [[ $line == "Snapped to "* ]] || fail "F6 found nothing at the hard cut: '$line'"
  local off=$((got[5] - known[5])); off=${off#-}
  [ $off -le 1 ] || fail "F6 put the cut's mark $off frames from the cut"
  echo "the strip shows $(lastOf WAVE | cut -c6-), the moved mark within it"
  shot strip-cut
  lookAtTrack 7
  local range; range=$(lastOf WAVE | cut -c6-)
  echo "track 7 (the crossfade): the strip shows $range"
  shot strip-crossfade
  shotCue strip-crossfade-window

  # A click on the strip where the two songs cross moves the crossfade's mark there.
  local strip first column x y wanted
  strip=($(at "$cue" strip))
  first=$((got[6] - 300))
  column=$(((known[6] - first) * strip[2] / 600))
  x=$((strip[0] + column)); y=$((strip[1] + strip[3] / 2))
  wanted=$(frameAtColumn $first 600 "${strip[2]}" $column)
  jumps=$(count JUMPED)
  click "$x $y"
  waitMark 7 "$(cueTime $wanted)"
  waitFor JUMPED $((jumps + 1)) >/dev/null   # the release listens at the new place
  pausePlayer
  got[6]=$wanted
  echo "a click on the strip at x=$x (column $column of ${strip[2]}) moved track 7's mark to $(cueTime $wanted)," \
       "$((wanted - known[6])) frames from the crossfade's middle; the strip still shows $(lastOf WAVE | cut -c6-)"
  [ "$(lastOf WAVE | cut -c6-)" = "$range" ] || fail "the strip's range moved with the click"
  shot strip-click

  local b box; b=$(nextOf MSGBOX)
  click "$(at "$cue" save)"
  box=$(closeBox $b)
  echo "message box: $box"
  local sheet="$snap/Gaps and Fades.cue" found wantedBreaks=""
  [ "$box" = "Saved to|$(winepath -w "$sheet")" ] || fail "expected 'Saved to' Gaps and Fades.cue"
  echo "----- Gaps and Fades.cue"; tr -d '\r' < "$sheet"; echo "-----"
  found=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read Gaps and Fades.cue"
  echo "cuebreakpoints: $(echo $found)"
  for k in 1 2 3 4 5 6; do wantedBreaks+="$(clock ${got[$k]}) "; done
  echo "the known boundaries:  $(for k in 1 2 3 4 5; do printf '%s ' "$(clock ${known[$k]})"; done)and the crossfade's middle $(clock ${known[6]})"
  [ "$(echo $found) " = "$wantedBreaks" ] || fail "cuebreakpoints found '$(echo $found)', expected '$wantedBreaks'"
  for k in 1 2 3 4; do
    [ "$(echo $found | cut -d' ' -f$k)" = "$(clock ${known[$k]})" ] || fail "breakpoint $k is not the boundary $(clock ${known[$k]})"
  done
  [ "$(grep -m1 'INDEX 01' "$sheet" | tr -d '\r')" = "    INDEX 01 $(cueTime ${known[0]})" ] || fail "track 1 is not where the first song begins"
  echo "cuebreakpoints reads each track after a gap at its song's first frame (track 1 after the lead-in too: INDEX 01"
  echo "$(cueTime ${known[0]})), the cut's snapped one $((got[5] - known[5])) frame(s) from the cut, the crossfade's where the click put it"
  closePlayer
  echo "session 8: PASSED"
}

startDisplay
session1
session2
session3
session4
session5
session5TwoFiles
session6
session7
session8
echo "demo: PASSED (screenshots in $OUT)"
