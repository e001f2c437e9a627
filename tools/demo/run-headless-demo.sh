#!/usr/bin/env bash
# The demo without a display: under Xvfb, lays out the demo installation, takes a picture of the
# utility's main window, then opens the bundled demo package the way the desktop would
# ("zeltasc demo.xpd"), takes a picture of the game's window, and reports the argument string the
# stand-in game received and which files of the game folder appeared and disappeared.
# Pictures go to BUILD_DIR/demo/. Usage: run-headless-demo.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
out=$build/demo
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/make-demo-install.sh" "$work/install" "$build"

export SCU_DEMO_WORK=$work SCU_DEMO_OUT=$out
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  install=$SCU_DEMO_WORK/install
  # Nothing of the real user is touched: private home, desktop folders and Wine prefix.
  export HOME=$SCU_DEMO_WORK/home XDG_CONFIG_HOME=$SCU_DEMO_WORK/home/.config
  export XDG_DATA_HOME=$SCU_DEMO_WORK/home/.local/share WINEPREFIX=$install/prefix
  export ZELTA_STANDIN_LOG=$SCU_DEMO_WORK/game.log ZELTA_STANDIN_MAIN_MS=4000
  mkdir -p "$HOME"

  wait_for() { # title regular expression -> window id
    for _ in $(seq 1 150); do
      id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
      if [ -n "$id" ]; then echo "$id"; return 0; fi
      sleep 0.1
    done
    return 1
  }
  shoot() { xwd -silent -id "$1" | /usr/bin/convert xwd:- "$2"; }

  # 1. The main window, opened normally on the demo installation.
  "$install/utility/zeltasc" >/dev/null 2>&1 &
  utility=$!
  if id=$(wait_for "^ZELTA Startup Configuration Utility"); then
    sleep 1
    shoot "$id" "$SCU_DEMO_OUT/main-window.png"
    echo "Main window: $SCU_DEMO_OUT/main-window.png"
  else
    echo "The main window did not appear." >&2
  fi
  kill "$utility" 2>/dev/null || true
  wait "$utility" 2>/dev/null || true

  # 2. The bundled package, opened as the desktop opens it.
  game=$install/game
  (cd "$game" && find . -type f | sort) >"$SCU_DEMO_WORK/before.txt"
  "$install/utility/zeltasc" "$install/demo.xpd" >/dev/null 2>&1 &
  utility=$!
  if id=$(wait_for "^ZELTA$"); then
    sleep 0.5
    (cd "$game" && find . -type f | sort) >"$SCU_DEMO_WORK/during.txt"
    shoot "$id" "$SCU_DEMO_OUT/game-window.png"
    echo "Game window: $SCU_DEMO_OUT/game-window.png"
  else
    echo "The game window did not appear." >&2
  fi
  status=0
  wait "$utility" || status=$?
  (cd "$game" && find . -type f | sort) >"$SCU_DEMO_WORK/after.txt"

  echo "The utility ended with status $status."
  echo "Arguments the game received: $(sed -n "s/^arguments=//p" "$ZELTA_STANDIN_LOG" 2>/dev/null | tail -n 1)"
  echo "Working folder of the game:  $(sed -n "s/^cwd=//p" "$ZELTA_STANDIN_LOG" 2>/dev/null | tail -n 1)"
  if [ -f "$SCU_DEMO_WORK/during.txt" ]; then
    echo "Files the package put into the game folder:"
    comm -13 "$SCU_DEMO_WORK/before.txt" "$SCU_DEMO_WORK/during.txt" | sed "s/^/  /"
    echo "Of those, removed after the game:"
    comm -23 "$SCU_DEMO_WORK/during.txt" "$SCU_DEMO_WORK/after.txt" | sed "s/^/  /"
  fi
  if cmp -s "$SCU_DEMO_WORK/before.txt" "$SCU_DEMO_WORK/after.txt"; then
    echo "The game folder holds the same files as before."
  else
    echo "The game folder changed:"; diff "$SCU_DEMO_WORK/before.txt" "$SCU_DEMO_WORK/after.txt" | sed "s/^/  /" || true
  fi
'
