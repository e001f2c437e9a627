#!/usr/bin/env bash
# Opens the utility on the demo installation. With a display it lays the installation out under
# BUILD_DIR/demo/install and opens the utility there (with a private Wine prefix and desktop
# folders); without one it takes the headless road (run-headless-demo.sh).
# Usage: run-demo.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set): running the demo under Xvfb instead."
  exec bash "$here/run-headless-demo.sh" "$build"
fi
install=$build/demo/install
bash "$here/make-demo-install.sh" "$install" "$build"
mkdir -p "$build/demo/home"
export WINEPREFIX=$install/prefix HOME=$build/demo/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export ZELTA_STANDIN_LOG=$build/demo/game.log
exec "$install/utility/zeltasc"
