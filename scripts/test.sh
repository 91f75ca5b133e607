#!/usr/bin/env bash
# The test command: installs what is missing, builds, and runs every test under Wine on a
# virtual display. Ends with CTest's summary line.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/setup.sh"
configureAndBuild
trap stopDisplay EXIT
startDisplay
cd "$BUILD"
ctest --output-on-failure "$@"
