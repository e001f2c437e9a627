#!/bin/sh
# Makes short MPEG-1 program streams (video and audio) for the movie tests and the demo
# installation, with Debian's GStreamer packages.
# Usage: make-test-movies.sh OUTPUT_FOLDER [--hard]
# Writes movie.mpg (75 frames, 3 seconds) and long.mpg (250 frames, 10 seconds); the output is
# the same on every run. With --hard also the movies for trying the player by hand (needs
# python3): big.webm (10 seconds of noise at 2560x1920, too large to decode in real time on most
# machines) and damaged.mpg (movie.mpg whose time stamps jump ahead part-way through).
set -eu
out="${1:?usage: make-test-movies.sh OUTPUT_FOLDER [--hard]}"
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

if [ "${2:-}" = --hard ]; then
    # Noise at 2560x1920 in VP8: every frame is a reference frame, so a decoder that falls behind
    # cannot skip any (slow to make: minutes).
    gst-launch-1.0 -q -e \
        videotestsrc num-buffers=250 pattern=snow ! video/x-raw,width=2560,height=1920,framerate=25/1 ! \
        videoconvert ! vp8enc deadline=1 cpu-used=16 target-bitrate=60000000 threads=2 ! queue ! mux. \
        audiotestsrc num-buffers=250 samplesperbuffer=1764 wave=sine freq=440 ! \
        audio/x-raw,rate=44100,channels=2 ! audioconvert ! vorbisenc ! queue ! mux. \
        webmmux name=mux ! filesink location="$out/.big.webm.part"
    mv "$out/.big.webm.part" "$out/big.webm"
    # movie.mpg with the time stamps of its video packets from 60,000 bytes on moved 20 seconds
    # ahead, as a damaged file has them: GStreamer alone plays it for about 23 seconds.
    python3 - "$out/movie.mpg" "$out/damaged.mpg" <<'PY'
import re, sys
data = bytearray(open(sys.argv[1], "rb").read())
for match in re.finditer(rb"\x00\x00\x01\xe0", bytes(data)):
    p = match.start() + 6
    if p < 60000:
        continue
    while data[p] == 0xFF:  # stuffing
        p += 1
    if data[p] & 0xC0 == 0x40:  # buffer size
        p += 2
    if data[p] & 0xF0 not in (0x20, 0x30):  # no time stamp
        continue
    b = data[p : p + 5]
    pts = ((b[0] >> 1) & 7) << 30 | b[1] << 22 | (b[2] >> 1) << 15 | b[3] << 7 | b[4] >> 1
    pts += 20 * 90000
    data[p : p + 5] = bytes([(b[0] & 0xF1) | ((pts >> 29) & 0x0E), (pts >> 22) & 0xFF,
                             ((pts >> 14) & 0xFE) | 1, (pts >> 7) & 0xFF, ((pts << 1) & 0xFE) | 1])
open(sys.argv[2], "wb").write(data)
PY
fi
