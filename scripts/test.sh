#!/usr/bin/env bash
# Builds everything and runs every test: the fuzz run over track files first,
# then the QtTest programs through ctest (headless).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

cmake -S . -B build-fuzz -G Ninja -DTRAVIK_FUZZ=ON -DTRAVIK_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
echo "fuzzing track files for ${TRAVIK_FUZZ_SECONDS:-60} s"
./build-fuzz/bin/fuzz_track_file -max_total_time="${TRAVIK_FUZZ_SECONDS:-60}" -max_len=16384 \
  -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 "$corpus" fuzz/corpus 2>&1 | tail -n 12

export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
cd build
ctest --output-on-failure --timeout 600
