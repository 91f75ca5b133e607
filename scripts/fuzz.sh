#!/usr/bin/env bash
# Fuzzes the code that turns outside text into sheet text (escape filter, tag text, cue file
# name, settings values, the recovery copy, the UTF-8 and UTF-16 conversions), the sheet check
# (against libcue, a real cue reader), the sheet edits (nudge, shift, placement), the chapter
# export, the track list reader and the audio floor (PCM to frame features, the mark rule), built
# natively with clang's libFuzzer and Address/UndefinedBehavior sanitizers, seeded from the
# tests' inputs.
#   bash scripts/fuzz.sh [SECONDS]   each fuzzer for SECONDS (default 60)
#   bash scripts/fuzz.sh --smoke     a short run of each, as the test command does
# A fuzzer is built again only when its sources, the flags or the compiler changed: a hash of
# them is kept beside each binary (fuzz_NAME.hash).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}/fuzz
seconds=${1:-60}
smoke=""
if [ "$seconds" = "--smoke" ]; then smoke=1; seconds=3; fi

[ -n "$smoke" ] || bash "$ROOT/scripts/setup.sh"   # clang and its fuzzer runtime among the rest

mkdir -p "$BUILD"
flags=(-std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$ROOT")
common=("$ROOT/base/text.cpp" "$ROOT/base/textLines.cpp" "$ROOT/base/pathText.cpp" "$ROOT/base/utf8Text.cpp" "$ROOT/base/asciiText.cpp")
# The sheet check and the one reader of the sheet's structure it reads tracks with.
check="sheet/sheetCheck.cpp sheet/trackCheck.cpp sheet/valueCheck.cpp sheet/discCodes.cpp sheet/sheetProblems.cpp sheet/sheetTracks.cpp
       sheet/sheetLines.cpp sheet/sheetWords.cpp sheet/cueTime.cpp"
declare -A sources=(
  [escapes]="tests/fuzz/fuzzEscapes.cpp sheet/escapeFilter.cpp tests/fuzz/charCaseStandIn.cpp"
  [tagtext]="tests/fuzz/fuzzTagText.cpp sheet/tagText.cpp sheet/cueTime.cpp sheet/escapeFilter.cpp tests/fuzz/charCaseStandIn.cpp"
  [cuepath]="tests/fuzz/fuzzCuePath.cpp sheet/cueFileName.cpp"
  [settings]="tests/fuzz/fuzzSettings.cpp base/settingsText.cpp base/iniText.cpp"
  [recovery]="tests/fuzz/fuzzRecovery.cpp sheet/recoveryText.cpp sheet/sheetLines.cpp sheet/sheetWords.cpp sheet/cueTime.cpp"
  [sheetcheck]="tests/fuzz/fuzzSheetCheck.cpp $check"
  [sheetedit]="tests/fuzz/fuzzSheetEdit.cpp $check sheet/markFacts.cpp sheet/sheetMarks.cpp sheet/sheetShift.cpp sheet/sheetPlace.cpp sheet/textEdit.cpp"
  [utf8]="tests/fuzz/fuzzUtf8.cpp"
  [tracklist]="tests/fuzz/fuzzTracklist.cpp sheet/tracklistText.cpp sheet/sheetLines.cpp sheet/sheetWords.cpp sheet/cueTime.cpp"
  [chapters]="tests/fuzz/fuzzChapters.cpp sheet/chapterExport.cpp sheet/sheetTracks.cpp sheet/sheetLines.cpp sheet/sheetWords.cpp sheet/cueTime.cpp"
  [audio]="tests/fuzz/fuzzAudio.cpp audio/bandSpectrum.cpp audio/changePoints.cpp audio/featureExtractor.cpp audio/frameFeatures.cpp audio/markSnap.cpp audio/silenceRuns.cpp audio/bandChange.cpp"
)
declare -A libraries=([sheetcheck]="-lcue")
# The sheet edits start from the sheet check's seeds: whole sheets.
declare -A seedFiles=([sheetedit]=sheetcheck)

status=0
printf '%-10s %8s %10s %12s  %s\n' fuzzer seconds runs "corpus" result
for name in escapes tagtext cuepath settings recovery sheetcheck sheetedit utf8 chapters tracklist audio; do
  files=()
  for f in ${sources[$name]}; do files+=("$ROOT/$f"); done
  # The fuzzers include only the ground floor's headers and their own.
  hash=$( { clang++ --version; echo "${flags[*]} ${libraries[$name]:-}"; cat "${files[@]}" "${common[@]}" \
            "$ROOT"/base/*.h "$ROOT"/sheet/*.h "$ROOT"/audio/*.h "$ROOT"/tests/fuzz/*.h; } | sha256sum | cut -d' ' -f1)
  if [ ! -x "$BUILD/fuzz_$name" ] || [ "$(cat "$BUILD/fuzz_$name.hash" 2>/dev/null)" != "$hash" ]; then
    rm -f "$BUILD/fuzz_$name.hash"
    clang++ "${flags[@]}" "${files[@]}" "${common[@]}" ${libraries[$name]:-} -o "$BUILD/fuzz_$name"
    echo "$hash" > "$BUILD/fuzz_$name.hash"
  fi
  corpus="$BUILD/corpus_$name"
  mkdir -p "$corpus"
  # Seeds, behind the fuzzer's leading size bytes: each line of the seed file as it stands; for
  # the sheet check, the sheet edits and the chapters, whole sheets with CR LF line ends, a line
  # "%%" after each.
  i=0
  sheet=""
  while IFS= read -r line; do
    seeds=${seedFiles[$name]:-$name}
    if [ "$seeds" = sheetcheck ] || [ "$seeds" = chapters ]; then
      if [ "$line" != "%%" ]; then sheet+="$line"$'\r\n'; continue; fi
      line=$sheet
      sheet=""
    fi
    i=$((i + 1))
    { printf '\x40\x10\x27\x00\x00'; printf '%s' "$line"; } > "$corpus/seed$i"
  done < "$ROOT/tests/fuzz/seeds/${seedFiles[$name]:-$name}.txt"
  log="$BUILD/fuzz_$name.log"
  if "$BUILD/fuzz_$name" "$corpus" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
       -artifact_prefix="$BUILD/crash_${name}_" >"$log" 2>&1; then
    result="no findings"
  else
    result="FINDING (see $log and $BUILD/crash_${name}_*)"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  printf '%-10s %8s %10s %12s  %s\n' "$name" "$seconds" "${runs:-?}" "$(ls "$corpus" | wc -l) inputs" "$result"
done
exit $status
