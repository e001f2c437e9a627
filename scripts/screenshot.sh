#!/usr/bin/env bash
# Starts the utility under a private Xvfb, waits for its main window and saves a picture of it.
# Usage: screenshot.sh BUILD_DIR OUTPUT.png [utility folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$2
folder=${3:-}
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

program="$build/zeltasc"
if [ -n "$folder" ]; then
  cp "$program" "$folder/zeltasc"
  program="$folder/zeltasc"
fi

export SCU_SHOT_PROGRAM=$program SCU_SHOT_OUT=$out
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  # Keep the real desktop out of it: no file-type registration in the user'"'"'s home.
  export HOME=$(mktemp -d) XDG_CONFIG_HOME= XDG_DATA_HOME=
  "$SCU_SHOT_PROGRAM" >/dev/null 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 1 100); do
    win=$(xdotool search --name "^ZELTA Startup Configuration Utility" 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && break
    sleep 0.1
  done
  if [ -z "$win" ]; then
    echo "The main window did not appear." >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  sleep 1
  import -window "$win" "$SCU_SHOT_OUT"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
'
