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

startPlayer() {  # the audio file [the plug-in's folder]; the player's output goes to $log
  local folder=${2:-$work}
  : > "$log"
  ( cd "$folder" && exec wine "$work/standin_player.exe" "$(winepath -w "$folder/gen_lumo.dll")" \
      --demo "$(winepath -w "$1")" >"$log" 2>&1 ) &
  player_pid=$!
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
box=$(waitFor MSGBOX)
echo "message box: ${box#* * }"
sleep 0.3
xdotool key Return                   # closes "Saved to"
case "$box" in *"Saved to|"*) ;; *) fail "expected the 'Saved to' box, got: $box" ;; esac

sheet="$work/Night Drive (Live Mix).cue"
[ -f "$sheet" ] || fail "no cue sheet at $sheet"
echo "----- $(basename "$sheet")"
tr -d '\r' < "$sheet"
echo "-----"

# The breakpoints a cue reader finds must be the marks as placed and nudged, to the frame.
found=$(cuebreakpoints "$sheet") || fail "cuebreakpoints could not read the sheet"
expected=""
for f in $f2 $f3 $f4; do
  expected+=$(printf '%d:%02d.%02d' $((f / 4500)) $((f / 75 % 60)) $((f % 75)))$'\n'
done
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
click "$(at "$main" mark | awk '{print $1, $2 + 40}')"
xdotool key alt+F4                   # closes the player: quit, then the DLL is unloaded
for _ in $(seq 1 50); do kill -0 "$player_pid" 2>/dev/null || break; sleep 0.1; done
grep -q '^DONE' "$log" || fail "the player did not close cleanly"
player_pid=""
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
box=$(waitFor MSGBOX)
sleep 0.3
xdotool key Return
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
click "$(at "$main" mark | awk '{print $1, $2 + 40}')"
xdotool key alt+F4
for _ in $(seq 1 50); do kill -0 "$player_pid" 2>/dev/null || break; sleep 0.1; done
player_pid=""
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
( cd "$audio" && wine "$work/standin_player.exe" "$(winepath -w "$audio/gen_lumo.dll")" --file "$(winepath -w "$audio/Tones.wav")" \
    --title Tone --marks "$(IFS=,; echo "${marks[*]}")" --save >/dev/null 2>&1 ) || fail "the marking of Tones.wav failed"
[ -f "$audio/Tones.cue" ] || fail "no Tones.cue"
echo "----- Tones.cue"; tr -d '\r' < "$audio/Tones.cue"; echo "-----"
shnsplit -q -f "$audio/Tones.cue" -d "$audio/split" -o wav "$audio/Tones.wav" || fail "shnsplit refused Tones.cue"
start=0
i=0
for piece in "$audio"/split/split-track*.wav; do
  expected=$((marks[i] * 75 / 1000 * 588))   # the mark's frame, in samples
  echo "$(basename "$piece"): starts at sample $start (mark: $expected), $(soxi -s "$piece") samples"
  [ "$start" = "$expected" ] || fail "$(basename "$piece") starts at sample $start, its mark at $expected"
  start=$((start + $(soxi -s "$piece")))
  i=$((i + 1))
done
[ $i = ${#marks[@]} ] || fail "shnsplit made $i pieces, expected ${#marks[@]}"

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
( cd "$audio" && wine "$work/standin_player.exe" "$(winepath -w "$audio/gen_lumo.dll")" --file "$(winepath -w "$audio/Long Mix.flac")" \
    --title Part --marks "$(IFS=,; echo "${long[*]}")" --save >/dev/null 2>&1 ) || fail "the marking of Long Mix.flac failed"
metaflac --import-cuesheet-from="$audio/Long Mix.cue" "$audio/Long Mix.flac" || fail "metaflac refused Long Mix.cue"
offsets=$(metaflac --export-cuesheet-to=- "$audio/Long Mix.flac" | awk '/INDEX 01/ { print $3 }' | tr '\n' ' ')
wanted=""
for ms in "${long[@]}"; do f=$((ms * 75 / 1000)); wanted+=$(printf '%02d:%02d:%02d ' $((f / 4500)) $((f / 75 % 60)) $((f % 75))); done
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
box=$(waitFor MSGBOX)
echo "message box: ${box#* * }"
sleep 0.3
xdotool key Return
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
click "$(at "$main" mark | awk '{print $1, $2 + 40}')"
xdotool key alt+F4
for _ in $(seq 1 50); do kill -0 "$player_pid" 2>/dev/null || break; sleep 0.1; done
player_pid=""
echo "session 4: PASSED"
echo "demo: PASSED (screenshots in $OUT)"
