#!/usr/bin/env bash
# The benchmark command: builds, runs the benchmark under Wine on a virtual display and prints
# its table, then the release DLL's size and imports. The argument "startup" runs only the
# start-up rows.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/setup.sh"
configureAndBuild
trap stopDisplay EXIT
startDisplay
cd "$BUILD/bin"
wine lumo_bench.exe "$@" | tr -d '\r'
echo
echo "gen_lumo.dll: $(stat -c %s gen_lumo.dll) bytes (target: under 192 KB = 196608 bytes)"
echo "imports: $(i686-w64-mingw32-objdump -p gen_lumo.dll | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')"
