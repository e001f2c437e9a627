#!/usr/bin/env bash
# Runs every test of a build folder; X11 and end-to-end tests start their own Xvfb. In a
# sanitizer build (make asan) the unit tests run with LeakSanitizer, since a leak in the rules
# layer is a fault; the other tests run with it too, minus the allocations that
# lsan-suppressions.txt names.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
cd "$build"
jobs=$(nproc 2>/dev/null || echo 2)
if ! grep -q '^SCU_SANITIZE:BOOL=ON$' CMakeCache.txt; then
  ctest --output-on-failure --timeout 600 -j"$jobs"
  exit
fi
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
status=0
ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure --timeout 600 -j"$jobs" -L '^unit$' ||
  status=$?
# Qt 6.8 (Debian 13's; not Debian 12's 6.4) asks the desktop portal at start which screenshot
# version it has, and a program that ends before the answer leaves the pending call behind; the
# tests use no portal, so Qt is told not to ask.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$here/lsan-suppressions.txt:print_suppressions=0 \
  QT_NO_XDG_DESKTOP_PORTAL=1 ctest --output-on-failure --timeout 600 -j"$jobs" -LE '^unit$' ||
  status=$?
exit "$status"
