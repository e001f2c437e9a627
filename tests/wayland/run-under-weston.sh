#!/usr/bin/env bash
# Runs a command as a client of a compositor of its own: a headless weston (no keyboard, no
# pointer, so it never activates a window) with XWayland, on its own socket and runtime folder.
# The command gets WAYLAND_DISPLAY, XDG_RUNTIME_DIR, DISPLAY (XWayland) and QT_QPA_PLATFORM=wayland;
# weston runs with --debug so that weston-screenshooter can take pictures of the screen.
set -euo pipefail

runtime=$(mktemp -d "${TMPDIR:-/tmp}/scu-weston.XXXXXX")
chmod 700 "$runtime"
socket="scu-wayland-$$"
weston_pid=""
command_pid=""
cleanup() {
  if [ -n "$command_pid" ]; then
    kill "$command_pid" 2>/dev/null || true
  fi
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT
# Stopped from outside (a test timeout), the compositor goes too.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# XWayland listens in /tmp/.X11-unix, which only an X server creates; weston does not.
if [ ! -d /tmp/.X11-unix ]; then
  mkdir -p /tmp/.X11-unix
  chmod 1777 /tmp/.X11-unix 2>/dev/null || true
fi

# No animations: a closing window would stay on the screen until its fade ends.
cat >"$runtime/weston.ini" <<'INI'
[shell]
animation=none
close-animation=none
startup-animation=none
focus-animation=none
INI
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --use-pixman --xwayland \
  --config="$runtime/weston.ini" --socket="$socket" --debug --idle-time=0 --width=1280 --height=1024 \
  --log="$runtime/weston.log" >"$runtime/weston.out" 2>&1 &
weston_pid=$!

display=""
for _ in $(seq 1 200); do
  display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$runtime/weston.log" 2>/dev/null || true)
  display=${display%%$'\n'*}
  if [ -n "$display" ] && [ -S "$runtime/$socket" ]; then
    break
  fi
  if ! kill -0 "$weston_pid" 2>/dev/null; then
    break
  fi
  sleep 0.05
done
if [ -z "$display" ] || [ ! -S "$runtime/$socket" ]; then
  echo "weston with XWayland did not start:" >&2
  cat "$runtime/weston.log" "$runtime/weston.out" >&2 2>/dev/null || true
  exit 1
fi

# Qt's window-decoration plugin makes a one-time allocation that is lost when Qt unloads the plugin
# at exit; LeakSanitizer then reports it with a stack it cannot name, so no suppression can match
# it. Under the sanitizers (scripts/test.sh sets ASAN_OPTIONS) the windows go without decorations.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export QT_WAYLAND_DISABLE_WINDOWDECORATION=1
fi

status=0
env XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" DISPLAY="$display" \
  QT_QPA_PLATFORM=wayland "$@" &
command_pid=$!
wait "$command_pid" || status=$?
command_pid=""
if [ "$status" -ne 0 ]; then
  echo "--- weston log ---" >&2
  tail -n 40 "$runtime/weston.log" >&2 || true
fi
exit "$status"
