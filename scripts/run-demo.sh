#!/usr/bin/env bash
# Builds Travik and starts it on the built-in demo instrument (an emulated
# tracer holding five tracks), with its data in build/demo-home.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
mkdir -p build/demo-home
# The browser engine refuses to run as root with its sandbox on.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
exec ./build/bin/travik --program-folder build/demo-home --hid-library build/bin/libTravikSim.so "$@"
