#!/usr/bin/env bash
# Runs every test of a build folder; X11 and end-to-end tests start their own Xvfb.
set -euo pipefail
build=${1:-build}
cd "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
ctest --output-on-failure --timeout 600 -j"$(nproc 2>/dev/null || echo 2)"
