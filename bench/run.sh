#!/usr/bin/env bash
# Builds and runs the benchmarks: the content scans and the name-table lookup at 2,000, 20,000 and
# 200,000 entries with the ratios between the sizes; packing and unpacking a 64 MiB demo through
# the archive component against zip -9 and unzip; then the settings-file micro-benchmarks when
# Google Benchmark is installed (arguments go to those). The start-up time is bench/startup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(scu_scale_bench scu_archive_bench)
grep -q '^benchmark_DIR:PATH=/' build/CMakeCache.txt && targets+=(scu_bench)
cmake --build build --target "${targets[@]}" -j2 >/dev/null
echo "== Content scans and LookupFileKey"
./build/bench/scu_scale_bench
echo
echo "== Archive component against zip -9 / unzip"
./build/bench/scu_archive_bench 64 3
if [ -x build/bench/scu_bench ]; then
  echo
  echo "== Settings file micro-benchmarks"
  ./build/bench/scu_bench "$@"
fi
