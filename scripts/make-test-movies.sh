#!/bin/sh
# Makes short MPEG-1 program streams (video and audio) for the movie tests and the demo
# installation, with Debian's GStreamer packages.
# Usage: make-test-movies.sh OUTPUT_FOLDER [--hard]
# Writes movie.mpg (75 frames, 3 seconds) and long.mpg (250 frames, 10 seconds); the output is
# the same on every run. With --hard also the movies for trying the player by hand: big.mpg
# (10 seconds at 2560x1920, too large for most machines to decode in real time) and damaged.mpg
# (movie.mpg with 400 bytes of noise written into its middle, which breaks its timing).
set -eu
out="${1:?usage: make-test-movies.sh OUTPUT_FOLDER [--hard]}"
mkdir -p "$out"

make_movie() { # name frames pattern [width height bitrate encoder-options]
    tmp="$out/.$1.part"
    gst-launch-1.0 -q -e \
        videotestsrc num-buffers="$2" pattern="$3" ! video/x-raw,width="${4:-320}",height="${5:-240}",framerate=25/1 ! \
        videoconvert ! video/x-raw,format=I420 ! mpeg2enc format=0 bitrate="${6:-1000}" ${7:-} ! mpegvideoparse ! queue ! mux. \
        audiotestsrc num-buffers="$2" samplesperbuffer=1764 wave=sine freq=440 ! \
        audio/x-raw,rate=44100,channels=2 ! audioconvert ! avenc_mp2 bitrate=192000 ! mpegaudioparse ! queue ! mux. \
        avmux_mpeg name=mux ! filesink location="$tmp"
    mv "$tmp" "$out/$1"
}

make_movie movie.mpg 75 ball
make_movie long.mpg 250 smpte
# Not a movie: for the error road.
printf 'This is a text file, not a movie.\n' > "$out/notamovie.mpg"

if [ "${2:-}" = --hard ]; then
    make_movie big.mpg 250 ball 2560 1920 20000 bufsize=1000
    cp "$out/movie.mpg" "$out/.damaged.part"
    # The same noise on every run.
    LC_ALL=C awk 'BEGIN { srand(20); for (i = 0; i < 400; i++) printf "%c", int(rand() * 256) }' |
        dd of="$out/.damaged.part" bs=1 seek=60000 conv=notrunc status=none
    mv "$out/.damaged.part" "$out/damaged.mpg"
fi
