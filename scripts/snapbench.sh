#!/usr/bin/env bash
# The snapping benchmark: how close to a track boundary the plug-in puts a pressed mark.
# Builds transitions with known boundaries from real music (Debian's drascula-music and
# asc-music, decoded to 44.1 kHz WAV; the same transitions also passed through OGG and MP3 and
# decoded back) and from synthetic songs made with sox: silent gaps of 0.4 to 2.5 s, hard cuts, a
# spoken jingle (espeak-ng), applause (shaped noise) and an 8 s crossfade; half the gaps also
# under a noise floor; and the synthetic songs turned down, a gap under that noise floor and a
# cut. A seeded listener presses at each boundary (80 % react 250 +- 80 ms, 20 % anticipate), with "Mark earlier by" 250 ms. bench/snapBench.cpp (the host's g++ on the audio/
# code) draws the presses and runs the rule on features it computes itself; then snap_bench.exe
# runs the real gen_lumo.dll in the stand-in player under Wine: it plays each transition, waits
# until the plug-in has read it through the player's decode-file service, marks every press
# with the capture message the hot key sends, commits it with the Info window's OK and reads its
# INDEX 01 back from the Cue editor. The table printed per type and source is the plug-in's; it
# also says how often its marks equal the native rule's. Last, a 2-hour WAV (1.27 GB, made with
# sox and deleted after): the time from the start of playback until the plug-in has read it
# all, and the longest wait of the player's loop meanwhile. Not part of the test command.
#   bash scripts/snapbench.sh [SEED] [--native]
# --native also prints the native rule's table on the same presses (for tuning the rule: on the
# synthetic rows only) and the features' time natively and as the plug-in's i686 build.
# The audio is made again only when this script changed (build/snapbench/).
set -euo pipefail
source "$(dirname "$0")/env.sh"  # ROOT, BUILD and the Wine settings
WORK=$BUILD/snapbench
seed=2024
native=""
for argument in "$@"; do
  case $argument in
    --native) native=1 ;;
    *) seed=$argument ;;
  esac
done
songSeed=2024  # the synthetic songs stay the same whatever the listener's seed

packages=(sox ffmpeg espeak-ng drascula-music asc-music g++)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "snapbench: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
bash "$ROOT/scripts/setup.sh"  # Wine, the cross compiler, Xvfb, CMake

RATE=44100
export SOX_OPTS="-D -V1 -R"  # no dither, no warnings, the same noise every time (repeatable rows)
mkdir -p "$WORK"
hash=$(sha256sum "$0" | cut -d' ' -f1)
list=$WORK/transitions.txt

samples() { soxi -s "$1"; }
seconds() { awk -v s="$1" -v r="$2" 'BEGIN { printf "%d", s * r + 0.5 }'; }  # seconds, rate: samples

# An effect chain for sox: notes of one voice, drawn from a seeded generator. Arguments: seed,
# beat in seconds, length in seconds, voice (melody, bass, kick, hat), instrument, key in Hz.
chain() {
  awk -v seed="$1" -v beat="$2" -v len="$3" -v voice="$4" -v inst="$5" -v key="$6" 'BEGIN {
    srand(seed); split("0 2 4 5 7 9 11 12 14 16", scale, " ")
    for (t = 0; t < len; t += d) {
      if (voice == "melody") {
        d = (rand() < 0.6 ? beat / 2 : beat); f = key * 2 ^ (scale[int(rand() * 10) + 1] / 12)
        if (rand() < 0.08) printf "synth %.4f sine 100 vol 0 : ", d
        else printf "synth %.4f %s %.2f fade q 0.004 %.4f %.4f : ", d, inst, f, d, d * 0.7
      } else if (voice == "bass") {
        d = beat; f = key / 2 * 2 ^ (scale[rand() < 0.5 ? 1 : 5] / 12)
        printf "synth %.4f sine %.2f fade q 0.01 %.4f %.4f : ", d, f, d, d * 0.5
      } else if (voice == "kick") {
        d = beat; printf "synth 0.14 sine 150:45 fade q 0 0.14 0.12 pad 0 %.4f : ", d - 0.14
      } else {
        d = beat; printf "synth 0.04 whitenoise highpass 5000 fade q 0 0.04 0.035 pad %.4f %.4f : ", d / 2, d / 2 - 0.04
      }
    }
  }' | sed 's/ : $//'
}

# A synthetic song of about LENGTH seconds at the level LEVEL dBFS (peak), 44.1 kHz stereo.
song() {  # out seed length level
  local out=$1 s=$2 len=$3 level=$4
  local beat key inst
  beat=$(awk -v s="$s" 'BEGIN { srand(s); printf "%.3f", 0.35 + rand() * 0.3 }')
  key=$(awk -v s="$s" 'BEGIN { srand(s + 1); split("196 220 247 262 294 330 349", k, " "); print k[int(rand() * 7) + 1] }')
  inst=$(awk -v s="$s" 'BEGIN { srand(s + 2); split("pluck sawtooth square triangle pluck", k, " "); print k[int(rand() * 5) + 1] }')
  local t=$WORK/tmp
  # shellcheck disable=SC2046
  sox -n -r $RATE -c 1 -b 16 "$t-mel.wav" $(chain "$s" "$beat" "$len" melody "$inst" "$key") lowpass 4000
  # shellcheck disable=SC2046
  sox -n -r $RATE -c 1 -b 16 "$t-bass.wav" $(chain $((s + 7)) "$beat" "$len" bass sine "$key")
  # shellcheck disable=SC2046
  sox -n -r $RATE -c 1 -b 16 "$t-kick.wav" $(chain $((s + 8)) "$beat" "$len" kick sine "$key")
  # shellcheck disable=SC2046
  sox -n -r $RATE -c 1 -b 16 "$t-hat.wav" $(chain $((s + 9)) "$beat" "$len" hat sine "$key")
  sox -m -v 0.5 "$t-mel.wav" -v 0.4 "$t-bass.wav" -v 0.45 "$t-kick.wav" -v 0.2 "$t-hat.wav" "$out" \
      remix 1 1 trim 0 "$len" gain -n "$level"
}

# Applause: bands of noise beating at different rates, swelling and dying away, 5 s.
applause() {  # out
  local t=$WORK/tmp
  sox -n -r $RATE -c 1 -b 16 "$t-a1.wav" synth 5 whitenoise band 2500 1500 tremolo 11.3 90
  sox -n -r $RATE -c 1 -b 16 "$t-a2.wav" synth 5 pinknoise band 1500 1200 tremolo 7.7 80
  sox -n -r $RATE -c 1 -b 16 "$t-a3.wav" synth 5 whitenoise highpass 3000 tremolo 17.1 95
  sox -m "$t-a1.wav" "$t-a2.wav" "$t-a3.wav" -c 2 "$1" remix 1 1 fade q 0.6 5 2.5 gain -n -16
}

# A spoken jingle at RATE, stereo, its silence at both ends trimmed.
jingle() {  # out text
  espeak-ng -s 165 -w "$WORK/tmp-j.wav" "$2"
  sox "$WORK/tmp-j.wav" -r "$RATE" -c 2 -b 16 "$1" silence 1 0 -60d reverse silence 1 0 -60d reverse gain -n -6
}

# Transitions. Each appends "type source path boundary" to the list.
join() { sox "$@"; }
gapOf() {  # source a b gapSeconds name
  local gap
  gap=$(seconds "$4" "$(soxi -r "$2")")
  sox "$2" "$WORK/tmp-pad.wav" pad 0 "${gap}s"
  join "$WORK/tmp-pad.wav" "$3" "$WORK/$5.wav"
  echo "gap $1 $WORK/$5.wav $(($(samples "$2") + gap))" >> "$list.new"
}
hissOf() {  # source gap-name: the same gap under a noise floor (a tape's) peaking at -50 dBFS
  local path=$WORK/$2.wav
  sox "$path" "$WORK/tmp-hiss.wav" synth pinknoise gain -n -50
  sox -m -v 1 "$path" -v 1 "$WORK/tmp-hiss.wav" "$WORK/$2-hiss.wav"
  echo "gap-hiss $1 $WORK/$2-hiss.wav $(awk -v p="$path" '$3 == p { print $4 }' "$list.new")" >> "$list.new"
}
cutOf() {  # source a b name
  join "$2" "$3" "$WORK/$4.wav"
  echo "cut $1 $WORK/$4.wav $(samples "$2")" >> "$list.new"
}
jingleOf() {  # source a jingle b name
  join "$2" "$3" "$4" "$WORK/$5.wav"
  echo "jingle $1 $WORK/$5.wav $(samples "$2")" >> "$list.new"
}
applauseOf() {  # source a b name: the applause starts 1 s before a ends, b 3.5 s into it
  local rate a lead
  rate=$(soxi -r "$2"); a=$(samples "$2"); lead=$((a - $(seconds 1 "$rate")))
  sox "$WORK/applause.wav" -r "$rate" "$WORK/tmp-ap.wav"
  sox "$WORK/tmp-ap.wav" "$WORK/tmp-ap2.wav" pad "${lead}s" 0
  sox "$3" "$WORK/tmp-b.wav" pad "$((lead + $(seconds 3.5 "$rate")))s" 0
  sox -m -v 1 "$2" -v 1 "$WORK/tmp-ap2.wav" -v 1 "$WORK/tmp-b.wav" "$WORK/$4.wav"
  echo "applause $1 $WORK/$4.wav $((lead + $(seconds 3.5 "$rate")))" >> "$list.new"
}
crossfadeOf() {  # source a b name: 8 s, the boundary in its middle
  local rate a lead
  rate=$(soxi -r "$2"); a=$(samples "$2"); lead=$((a - $(seconds 8 "$rate")))
  sox "$2" "$WORK/tmp-a.wav" fade t 0 -0 8
  sox "$3" "$WORK/tmp-b.wav" fade t 8 pad "${lead}s" 0
  sox -m -v 1 "$WORK/tmp-a.wav" -v 1 "$WORK/tmp-b.wav" "$WORK/$4.wav"
  echo "crossfade $1 $WORK/$4.wav $((lead + $(seconds 4 "$rate")))" >> "$list.new"
}

# Two quiet synthetic songs (their loud level less 40 dB below the hiss): a gap under the same
# noise floor as hissOf's, and a hard cut.
quietOf() {  # a b gapSeconds name
  local gap
  gap=$(seconds "$3" $RATE)
  tailOf "$1" "$WORK/tmp-tail.wav"; headOf "$2" "$WORK/tmp-head.wav"; midOf "$1" "$WORK/tmp-mid.wav"
  sox "$WORK/tmp-tail.wav" "$WORK/tmp-pad.wav" pad 0 "${gap}s"
  join "$WORK/tmp-pad.wav" "$WORK/tmp-head.wav" "$WORK/tmp-quiet.wav"
  sox "$WORK/tmp-quiet.wav" "$WORK/tmp-hiss.wav" synth pinknoise gain -n -50
  sox -m -v 1 "$WORK/tmp-quiet.wav" -v 1 "$WORK/tmp-hiss.wav" "$WORK/$4-hiss.wav"
  echo "quiet-hiss synthetic $WORK/$4-hiss.wav $(($(samples "$WORK/tmp-tail.wav") + gap))" >> "$list.new"
  join "$WORK/tmp-mid.wav" "$WORK/tmp-head.wav" "$WORK/$4-cut.wav"
  echo "quiet-cut synthetic $WORK/$4-cut.wav $(samples "$WORK/tmp-mid.wav")" >> "$list.new"
}

# Excerpts of a decoded track: its last, first and middle 12 s.
tailOf() { sox "$1" "$2" trim "-$(seconds 12 "$(soxi -r "$1")")s"; }
headOf() { sox "$1" "$2" trim 0 12; }
midOf() { local s; s=$(samples "$1"); sox "$1" "$2" trim "$((s / 2 - $(seconds 6 "$(soxi -r "$1")")))s" 12; }

# Every kind of transition between the songs of one list (paths), named PREFIX-n.
transitions() {  # source prefix songs...
  local source=$1 prefix=$2
  shift 2
  local songs=("$@") n=${#songs[@]} a b
  local gaps=(0.4 0.7 1.0 1.5 2.0 2.5)
  local texts=("You are listening to Night Drive radio, the best music all night long."
               "Ninety four point five. More music, less talk."
               "And now, the news at the top of the hour. But first, one more song."
               "Night Drive. Stay with us.")
  for k in $(seq 0 $((n - 1))); do
    a=${songs[$k]}; b=${songs[$(((k + 1) % n))]}
    tailOf "$a" "$WORK/tmp-tail.wav"; headOf "$b" "$WORK/tmp-head.wav"; midOf "$a" "$WORK/tmp-mid.wav"
    gapOf "$source" "$WORK/tmp-tail.wav" "$WORK/tmp-head.wav" "${gaps[$((k % 6))]}" "$prefix-gap$k"
    gapOf "$source" "$WORK/tmp-tail.wav" "$WORK/tmp-head.wav" "${gaps[$(((k + 3) % 6))]}" "$prefix-gapb$k"
    hissOf "$source" "$prefix-gapb$k"
    cutOf "$source" "$WORK/tmp-mid.wav" "$WORK/tmp-head.wav" "$prefix-cut$k"
    if [ $((k % 2)) = 0 ]; then
      jingle "$WORK/tmp-jingle.wav" "${texts[$(((k / 2) % 4))]}"
      sox "$WORK/tmp-jingle.wav" -r "$(soxi -r "$a")" "$WORK/tmp-jingle2.wav"
      jingleOf "$source" "$WORK/tmp-mid.wav" "$WORK/tmp-jingle2.wav" "$WORK/tmp-head.wav" "$prefix-jingle$k"
      applauseOf "$source" "$WORK/tmp-tail.wav" "$WORK/tmp-head.wav" "$prefix-applause$k"
    fi
    crossfadeOf "$source" "$WORK/tmp-mid.wav" "$WORK/tmp-head.wav" "$prefix-crossfade$k"
  done
}

if [ "$(cat "$WORK/audio.hash" 2>/dev/null)" != "$hash" ] || [ ! -s "$list" ]; then
  echo "snapbench: making the transitions in $WORK"
  rm -f "$WORK"/*.wav "$WORK"/*.ogg "$WORK"/*.mp3 "$list.new"
  applause "$WORK/applause.wav"

  # Synthetic songs: 12 of them, 20 s each, at peak levels from -1 to -12 dBFS; half start with
  # a fade-in and end with a fade-out, half start on an attack and stop on a decaying note.
  synth=()
  for k in $(seq 1 12); do
    song "$WORK/song$k.wav" $((songSeed + 31 * k)) 20 "-$(((k * 5) % 12 + 1))"
    if [ $((k % 2)) = 0 ]; then
      sox "$WORK/song$k.wav" "$WORK/song$k-f.wav" fade t 0.3 -0 1.5
      mv "$WORK/song$k-f.wav" "$WORK/song$k.wav"
    fi
    synth+=("$WORK/song$k.wav")
  done
  transitions synthetic syn "${synth[@]}"

  # Real music: each track decoded, its silence at both ends trimmed (so that a boundary is the
  # first sound), 44.1 kHz tracks of 30 s and more; asc's three tracks among themselves, decoded
  # at 44.1 kHz (they are 22.05 kHz MP3s, and the stand-in's decoder reads 44.1 and 48 kHz only).
  real=()
  for f in /usr/share/scummvm/drascula/audio/track*.ogg; do
    name=$(basename "$f" .ogg)
    ffmpeg -nostdin -v error -y -i "$f" -ac 2 -c:a pcm_s16le "$WORK/tmp-dec.wav"
    sox "$WORK/tmp-dec.wav" "$WORK/real-$name.wav" silence 1 0 -60d reverse silence 1 0 -60d reverse
    [ "$(samples "$WORK/real-$name.wav")" -ge $((30 * RATE)) ] && real+=("$WORK/real-$name.wav")
  done
  transitions real-wav drascula "${real[@]:0:8}"
  low=()
  for f in /usr/share/games/asc/music/*.mp3; do
    name=$(basename "$f" .mp3)
    ffmpeg -nostdin -v error -y -i "$f" -ac 2 -ar $RATE -c:a pcm_s16le "$WORK/tmp-dec.wav"
    sox "$WORK/tmp-dec.wav" "$WORK/real-$name.wav" silence 1 0 -60d reverse silence 1 0 -60d reverse
    low+=("$WORK/real-$name.wav")
  done
  transitions real-wav asc "${low[@]}"

  # The real transitions through OGG Vorbis and MP3 and back to WAV.
  while read -r type source path boundary; do
    [ "$source" = real-wav ] || continue
    base=${path%.wav}
    ffmpeg -nostdin -v error -y -i "$path" -c:a libvorbis -q:a 4 "$base.ogg"
    ffmpeg -nostdin -v error -y -i "$base.ogg" -c:a pcm_s16le "$base-ogg.wav"
    ffmpeg -nostdin -v error -y -i "$path" -c:a libmp3lame -b:a 192k "$base.mp3"
    ffmpeg -nostdin -v error -y -i "$base.mp3" -c:a pcm_s16le "$base-mp3.wav"
    for codec in ogg mp3; do
      # The decoder may add or drop samples at the start (an MP3 encoder's delay): say so.
      difference=$(($(samples "$base-$codec.wav") - $(samples "$path")))
      [ "$difference" = 0 ] || echo "snapbench: $(basename "$base").$codec decodes $difference samples longer"
      echo "$type real-$codec $base-$codec.wav $boundary" >> "$list.new"
    done
    rm -f "$base.ogg" "$base.mp3"
  done < "$list.new"
  # The synthetic songs 16 dB quieter (peaks of -17 to -28 dBFS, as much of the real music is):
  # last, so that the listener's presses on the transitions above stay the same.
  for k in $(seq 1 12); do sox "$WORK/song$k.wav" "$WORK/quiet$k.wav" gain -16; done
  gaps=(0.4 0.7 1.0 1.5 2.0 2.5)
  for k in $(seq 1 12); do
    quietOf "$WORK/quiet$k.wav" "$WORK/quiet$((k % 12 + 1)).wav" "${gaps[$(((k + 1) % 6))]}" "syn-quiet$k"
  done
  rm -f "$WORK"/tmp-*.wav
  mv "$list.new" "$list"
  echo "$hash" > "$WORK/audio.hash"
fi

# The native half: the presses, and the rule on features computed natively (the files of the rule
# only, as the fuzzers build them).
rule=(bandSpectrum changePoints featureExtractor frameFeatures markSnap silenceRuns bandChange)
ruleSources=("${rule[@]/#/$ROOT/audio/}"); ruleSources=("${ruleSources[@]/%/.cpp}")
g++ -std=c++17 -O2 -Wall -Wextra -I"$ROOT" "$ROOT"/bench/snapBench.cpp "$ROOT"/bench/snapTable.cpp \
    "$ROOT"/bench/wavFeatures.cpp "${ruleSources[@]}" -o "$WORK/snapBench"
presses=$WORK/presses-$seed.txt
nativeTable=$("$WORK/snapBench" "$list" "$seed" "$presses")

# The plug-in in the stand-in player.
configureAndBuild
long=$WORK/two-hours.wav
finish() { rm -f "$long"; stopDisplay; }
trap finish EXIT
startDisplay
echo "snapbench: $(wc -l < "$list") transitions, seed $seed"
status=0
(cd "$BUILD/bin" && wine snap_bench.exe "$presses" | tr -d '\r') || status=1

echo
first=$(awk '$2 == "real-wav" { print $3; exit }' "$list")
sox "$first" "$long" repeat $((7200 * 10 / $(soxi -D "$first" | awk '{ printf "%d", $1 * 10 }') + 1)) trim 0 7200
echo "load average before (2 cores, shared): $(cut -d' ' -f1-3 /proc/loadavg)"
(cd "$BUILD/bin" && wine snap_bench.exe --long "$long" | tr -d '\r') || status=1
rm -f "$long"

if [ -n "$native" ]; then
  echo
  echo "the rule natively, on features of the same WAV files read here (the same presses):"
  echo "$nativeTable"
  echo
  echo "native (host g++ -O2):"
  "$WORK/snapBench" --time "$first"
  rm -rf "$WORK/objects"; mkdir -p "$WORK/objects"
  (cd "$WORK/objects" && i686-w64-mingw32-g++-posix -std=c++17 -Os -fno-exceptions -fno-rtti -I"$ROOT" -c "${ruleSources[@]}")
  i686-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -I"$ROOT" "$ROOT"/bench/snapBench.cpp \
      "$ROOT"/bench/snapTable.cpp "$ROOT"/bench/wavFeatures.cpp "$WORK"/objects/*.o -static -o "$WORK/snapBench.exe"
  echo "the plug-in's build (i686, -Os) under Wine:"
  wine "$WORK/snapBench.exe" --time "Z:${first//\//\\}" | tr -d '\r'
fi
exit $status
