#!/bin/sh
# Makes short MPEG-1 program streams (video and audio) for the movie tests and the demo
# installation, with Debian's GStreamer packages. Usage: make-test-movies.sh OUTPUT_FOLDER
# Writes movie.mpg (75 frames, 3 seconds) and long.mpg (250 frames, 10 seconds); the output is
# the same on every run.
set -eu
out="${1:?usage: make-test-movies.sh OUTPUT_FOLDER}"
mkdir -p "$out"

make_movie() { # name frames pattern
    tmp="$out/.$1.part"
    gst-launch-1.0 -q -e \
        videotestsrc num-buffers="$2" pattern="$3" ! video/x-raw,width=320,height=240,framerate=25/1 ! \
        videoconvert ! video/x-raw,format=I420 ! mpeg2enc format=0 bitrate=1000 ! mpegvideoparse ! queue ! mux. \
        audiotestsrc num-buffers="$2" samplesperbuffer=1764 wave=sine freq=440 ! \
        audio/x-raw,rate=44100,channels=2 ! audioconvert ! avenc_mp2 bitrate=192000 ! mpegaudioparse ! queue ! mux. \
        avmux_mpeg name=mux ! filesink location="$tmp"
    mv "$tmp" "$out/$1"
}

make_movie movie.mpg 75 ball
make_movie long.mpg 250 smpte
# Not a movie: for the error road.
printf 'This is a text file, not a movie.\n' > "$out/notamovie.mpg"
