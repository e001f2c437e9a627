#!/usr/bin/env bash
# Lays out a demo installation of the game under DEST:
#   DEST/game/      the game folder: launcher.exe, bin/ZELTA.EXE and bin/ZELTADBG.EXE (the
#                   stand-in game), levels, cutscenes, a short movie, a recorded PAD demo
#   DEST/prefix/    a private Wine-style prefix: system.reg points at the game folder, z: -> /
#   DEST/utility/   the utility (zeltasc) with settings.ini and its name tables, readme.txt
#   DEST/demo.xpd   a recorded demo package (made with Info-ZIP's zip)
# Prints nothing but errors. Usage: make-demo-install.sh DEST [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dest=${1:?usage: make-demo-install.sh DEST [BUILD_DIR]}
build=${2:-${SCU_BUILD_DIR:-$here/../../build}}
build=$(cd "$build" && pwd)
for program in zeltasc standin-game; do
  if [ ! -x "$build/$program" ]; then
    echo "make-demo-install.sh: $build/$program is missing; build the project first" >&2
    exit 1
  fi
done

mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
game=$dest/game
rm -rf "$game" "$dest/prefix" "$dest/utility" "$dest/demo.xpd"
mkdir -p "$game/bin" "$game/data/maps/cutscene" "$game/data/fmv" "$dest/prefix/dosdevices" "$dest/utility"

printf 'ZELTA launcher\n' >"$game/launcher.exe"
install -m 0755 "$build/standin-game" "$game/bin/ZELTA.EXE"
install -m 0755 "$build/standin-game" "$game/bin/ZELTADBG.EXE"
for level in K1 K2 K3 TOWER; do printf 'ZELTA level %s\n' "$level" >"$game/data/maps/$level.clz"; done
for scene in C1 C2; do printf 'ZELTA cutscene %s\n' "$scene" >"$game/data/maps/cutscene/$scene.clz"; done
printf 'ZELTA PAD DEMO\n-level=data\\maps\\K2\n' >"$game/bin/K2.pad"

if command -v gst-launch-1.0 >/dev/null 2>&1; then
  gst-launch-1.0 -q -e videotestsrc num-buffers=50 pattern=ball \
    ! video/x-raw,width=320,height=240,framerate=25/1 ! videoconvert ! video/x-raw,format=I420 \
    ! mpeg2enc format=0 bitrate=1000 ! mpegvideoparse ! queue ! mux. \
    audiotestsrc num-buffers=50 samplesperbuffer=1764 wave=sine freq=440 \
    ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! avenc_mp2 bitrate=192000 \
    ! mpegaudioparse ! queue ! mux. avmux_mpeg name=mux ! filesink location="$game/data/fmv/intro.mpg" \
    >/dev/null 2>&1 || rm -f "$game/data/fmv/intro.mpg"
fi

# The installation record, as a 32-bit installer leaves it in a Wine prefix.
windows_game="Z:${game//\//\\}\\"
escaped=${windows_game//\\/\\\\}
cat >"$dest/prefix/system.reg" <<REG
WINE REGISTRY Version 2
;; All keys relative to \\\\Machine

#arch=win32

[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1700000000
"InstalledPath"="$escaped"
REG
ln -s / "$dest/prefix/dosdevices/z:"

install -m 0755 "$build/zeltasc" "$dest/utility/zeltasc"
cat >"$dest/utility/settings.ini" <<'INI'
[config]
version=ZELTA.EXE
settings=0
level=0
godmode=0
debugkeys=0
nofmv=1
windowed=1
fullscreen=0
lang=English (Default)

[levels]
K1=The Harbour
K2=Old Quarry
K3=Sunken Library
TOWER=The Tower

[cutscenes]
C1=Arrival
C2=Farewell

[fmvs]
intro=Introduction
INI
printf 'ZELTA SCU demo installation.\r\n' >"$dest/utility/readme.txt"

# A recorded demo package for level K3, built with another ZIP tool.
package_work=$(mktemp -d)
trap 'rm -rf "$package_work"' EXIT
printf 'ZELTA PAD DEMO\n-level=data\\maps\\K3\n' >"$package_work/K3.tmp"
printf '[config]\r\nsettings=0\r\nlevel=0\r\ngodmode=1\r\ndebugkeys=0\r\nnofmv=1\r\nwindowed=1\r\nfullscreen=0\r\nlang=English (Default)\r\n' \
  >"$package_work/xpd.ini"
(cd "$package_work" && zip -q -9 -X "$dest/demo.xpd" K3.tmp xpd.ini)
