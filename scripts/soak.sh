#!/usr/bin/env bash
# The long soak: the soak tests with 10,000 capture cycles and 200 plug-in lifetimes in one
# player process (the test command runs 1,000 and 40). Builds first; prints the tests' output.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$ROOT/scripts/setup.sh"
configureAndBuild
trap stopDisplay EXIT
startDisplay
cd "$BUILD"
LUMO_LONG_SOAK=1 ctest -R '^soak_tests$' --verbose
