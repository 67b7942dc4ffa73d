#!/usr/bin/env bash
# Builds Travik and starts it with its data in build/demo-home.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
mkdir -p build/demo-home
exec ./build/bin/travik --program-folder build/demo-home "$@"
