#!/usr/bin/env bash
# The test command: installs what is missing, builds, and runs every test under Wine on a
# virtual display, two at a time (the programs that show windows take turns). CTest prints
# each program as it starts and as it ends; the summary line comes last. Arguments go to ctest.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/setup.sh"
configureAndBuild
trap stopDisplay EXIT
startDisplay
cd "$BUILD"
ctest --output-on-failure -j2 "$@"
