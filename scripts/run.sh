#!/usr/bin/env bash
# Opens the utility on the demo installation. With a display it runs in the foreground; without
# one it runs the demo under Xvfb and saves pictures under BUILD_DIR/demo/.
set -euo pipefail
build=${1:-build}
exec bash tools/demo/run-demo.sh "$build"
