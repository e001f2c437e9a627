#!/usr/bin/env bash
# Builds and runs the benchmarks of the settings file and the folder listing.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target scu_bench -j2
./build/bench/scu_bench "$@"
