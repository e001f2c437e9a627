#!/usr/bin/env bash
# Opens the utility. With a display it runs in the foreground; without one it runs under Xvfb,
# saves a screenshot of what it opened under the build folder and ends.
set -euo pipefail
build=${1:-build}
program="$build/zeltasc"

# The demo installation, when the project provides one, is what the utility opens.
if [ -x tools/demo/run-demo.sh ]; then
  exec bash tools/demo/run-demo.sh "$build"
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$program"
fi

echo "No display (DISPLAY is not set): running the utility under Xvfb instead."
shot="$build/zeltasc-main-window.png"
bash scripts/screenshot.sh "$build" "$shot"
echo "Screenshot of the main window: $shot"
