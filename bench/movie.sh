#!/usr/bin/env bash
# CPU cost of a movie shown full screen: a 20-second 640x480 MPEG-1 movie under Xvfb at 1280x1024,
# played by the reference pipeline (playbin scaling to 1280x960 into an X image sink) and by the
# utility's movie window (tools/play-movie), one after the other in the same X server. Prints the
# CPU seconds (user + system) of each run, the medians and their ratio: the reference as a whole
# process, the utility from opening the movie window to its close (as when a movie is started from
# the main window; its process as a whole, with Qt's start-up, is shown beside it).
# Usage: bench/movie.sh [-n RUNS]   (default: 3 runs of each)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build
runs=3
if [ "${1:-}" = -n ]; then runs=$2; shift 2; fi
player=$build/tools/play-movie/play-movie
if [ ! -x "$player" ]; then
  cmake --build "$build" --target play-movie -j2 >/dev/null
fi

# gst-launch ignores a video sink it cannot make and plays on without scaling: refuse instead.
gst-inspect-1.0 ximagesink >/dev/null 2>&1 ||
  { echo "movie.sh: the reference needs ximagesink (Debian package gstreamer1.0-x)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
movie=$work/movie.mpg
gst-launch-1.0 -q -e \
  videotestsrc num-buffers=500 pattern=ball ! video/x-raw,width=640,height=480,framerate=25/1 ! \
  videoconvert ! video/x-raw,format=I420 ! mpeg2enc format=0 bitrate=1500 ! mpegvideoparse ! queue ! mux. \
  audiotestsrc num-buffers=500 samplesperbuffer=1764 wave=sine freq=440 ! \
  audio/x-raw,rate=44100,channels=2 ! audioconvert ! avenc_mp2 bitrate=192000 ! mpegaudioparse ! queue ! mux. \
  avmux_mpeg name=mux ! filesink location="$movie"

# Runs inside the X server: one line per run, "reference SECONDS", "utility SECONDS" or
# "process SECONDS".
cat >"$work/runs.sh" <<'RUNS'
set -euo pipefail
movie=$1 player=$2 runs=$3
cpu() { # command... -> CPU seconds of the command and its children
  local TIMEFORMAT='%3U %3S' t
  t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  awk '{ printf "%.3f\n", $1 + $2 }' <<<"$t"
}
for ((i = 0; i < runs; i++)); do
  echo "reference $(cpu gst-launch-1.0 playbin uri="file://$movie" audio-sink="fakesink sync=true" \
    video-sink="videoconvert ! videoscale ! video/x-raw,width=1280,height=960 ! ximagesink")"
  out=$(mktemp)
  echo "process $(QT_QPA_PLATFORM=xcb cpu sh -c '"$0" "$1" >"$2"' "$player" "$movie" "$out")"
  echo "utility $(sed -n 's/^movie CPU seconds: //p' "$out")"
  rm -f "$out"
done
RUNS
results=$(xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/runs.sh" "$movie" "$player" "$runs")
echo "$results"
awk '
  { seconds[$1] = seconds[$1] " " $2 }
  function median(list,   n, v, i, j, t) {
    n = split(list, v, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] + 0 < v[i] + 0) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  END {
    r = median(seconds["reference"]); u = median(seconds["utility"]); p = median(seconds["process"])
    printf "median CPU seconds: reference %.2f, utility %.2f, ratio %.2f (goal: at most 0.60)\n", r, u, u / r
    printf "the utility'"'"'s whole process, with its start-up: %.2f, ratio %.2f\n", p, p / r
  }' <<<"$results"
