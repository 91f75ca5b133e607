#!/usr/bin/env bash
# The main job: installs what is missing, builds gen_lumo.dll, and runs a marking session in
# the stand-in player on a virtual display, printing the sheet the plug-in wrote.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/setup.sh"
configureAndBuild
trap stopDisplay EXIT
startDisplay
cd "$BUILD/bin"
wine standin_player.exe gen_lumo.dll | tr -d '\r'
