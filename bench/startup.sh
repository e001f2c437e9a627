#!/usr/bin/env bash
# Time from the utility's start to its main window being mapped, under Xvfb, for three
# installations laid out in a temporary folder: an empty game folder; 2,000 levels, 500 cutscenes,
# 285 movies and 1,000 demos; and ten times that; every level, cutscene and movie named in the
# name tables. Then the prefix search, with no WINEPREFIX: a home without any prefix against homes
# with 40 Steam prefixes of 4 MB each, none or one of them holding the installation record. Runs
# alternate between the installations (and the programs, when several are given); the table shows
# medians.
# Usage: bench/startup.sh [-n RUNS] [PROGRAM...]   (default: 5 runs of build/zeltasc)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runs=5
if [ "${1:-}" = -n ]; then runs=$2; shift 2; fi
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=("$here/../build/zeltasc")
build=$here/../build
probe=$build/bench/scu_window_probe
if [ ! -x "$probe" ]; then
  cmake --build "$build" --target scu_window_probe -j2 >/dev/null
fi
for program in "${programs[@]}"; do
  [ -x "$program" ] || { echo "startup.sh: $program is not a program" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# install NAME LEVELS CUTSCENES MOVIES DEMOS
install() {
  local dest=$work/$1 levels=$2 scenes=$3 movies=$4 demos=$5
  local game=$dest/game
  mkdir -p "$game/bin" "$game/data/maps/cutscene" "$game/data/fmv" "$dest/prefix/dosdevices"
  # A Windows program with a version resource, when the test fixtures are built.
  if [ -f "$build/tests/fixtures/pe/build52.exe" ]; then
    cp "$build/tests/fixtures/pe/build52.exe" "$game/bin/ZELTA.EXE"
  else
    printf 'MZ' >"$game/bin/ZELTA.EXE"
  fi
  local windows_game="Z:${game//\//\\}\\"
  local escaped=${windows_game//\\/\\\\}
  printf 'WINE REGISTRY Version 2\n\n#arch=win32\n\n[Software\\\\Halvern\\\\Quellgard\\\\1.0] 1700000000\n"InstalledPath"="%s"\n' \
    "$escaped" >"$dest/prefix/system.reg"
  ln -s / "$dest/prefix/dosdevices/z:"
  {
    printf '[config]\r\nversion=ZELTA.EXE\r\nsettings=0\r\nlevel=0\r\nnofmv=1\r\nwindowed=1\r\nlang=English (Default)\r\n'
    printf '[levels]\r\n';    awk -v n="$levels" 'BEGIN { for (i = 1; i <= n; i++) printf "L%05d=Level %d of the valley\r\n", i, i }'
    printf '[cutscenes]\r\n'; awk -v n="$scenes" 'BEGIN { for (i = 1; i <= n; i++) printf "C%05d=Cutscene %d\r\n", i, i }'
    printf '[fmvs]\r\n';      awk -v n="$movies" 'BEGIN { for (i = 1; i <= n; i++) printf "M%05d=Movie %d\r\n", i, i }'
  } >"$dest/settings.ini"
  (cd "$game/data/maps" && awk -v n="$levels" 'BEGIN { for (i = 1; i <= n; i++) printf "L%05d.clz\n", i }' | xargs -r touch)
  (cd "$game/data/maps/cutscene" && awk -v n="$scenes" 'BEGIN { for (i = 1; i <= n; i++) printf "C%05d.clz\n", i }' | xargs -r touch)
  (cd "$game/data/fmv" && awk -v n="$movies" 'BEGIN { for (i = 1; i <= n; i++) printf "M%05d.mpg\n", i }' | xargs -r touch)
  (cd "$game/bin" && awk -v n="$demos" 'BEGIN { for (i = 1; i <= n; i++) printf "D%05d.pad\n", i }' | xargs -r touch)
  # One utility folder per program, each with its own copy of the settings file.
  local p=0
  for program in "${programs[@]}"; do
    mkdir -p "$dest/utility$p"
    cp "$program" "$dest/utility$p/zeltasc"
    cp "$dest/settings.ini" "$dest/utility$p/settings.ini"
    printf 'readme\r\n' >"$dest/utility$p/readme.txt"
    p=$((p + 1))
  done
}
install empty 0 0 0 0

# homes NAME RECORD: 40 Steam prefixes whose system.reg is 4 MB of keys; RECORD: the app id whose
# prefix holds the record of the empty installation, or "none".
reg=$work/system.reg
awk 'BEGIN {
  printf "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
  for (i = 0; size < 4194304; i++) {
    line = sprintf("[Software\\\\Classes\\\\CLSID\\\\{%08X-1234-5678-9ABC-DEF012345678}\\\\InprocServer32] 1700000000\n#time=1d9a0b0c0d0e0f0\n@=\"C:\\\\windows\\\\system32\\\\component%d.dll\"\n\"ThreadingModel\"=\"Both\"\n\n", i, i)
    printf "%s", line; size += length(line)
  } }' >"$reg"
homes() {
  local home=$work/home-$1 record=$2
  local compat=$home/.local/share/Steam/steamapps/compatdata
  mkdir -p "$home/.steam"
  for app in $(seq 1001 1040); do
    mkdir -p "$compat/$app/pfx/dosdevices"
    : >"$compat/$app/pfx.lock"
    if [ "$app" = "$record" ]; then
      { cat "$reg"; printf '[Software\\\\Wow6432Node\\\\Halvern\\\\Quellgard\\\\1.0] 1700000000\n"InstalledPath"="%s"\n' \
          "$(grep -o '"InstalledPath"=.*' "$work/empty/prefix/system.reg" | cut -d'"' -f4)"; } \
        >"$compat/$app/pfx/system.reg"
      ln -s / "$compat/$app/pfx/dosdevices/z:"
    else
      cp "$reg" "$compat/$app/pfx/system.reg"
    fi
  done
}
mkdir -p "$work/home-bare"
homes none none
homes one 1020
install 2000 2000 500 285 1000
install 20000 20000 5000 2857 10000

export SCU_BENCH_WORK=$work SCU_BENCH_PROBE=$probe SCU_BENCH_RUNS=$runs SCU_BENCH_PROGRAMS=${#programs[@]}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  work=$SCU_BENCH_WORK
  export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
  mkdir -p "$HOME"
  for run in $(seq 1 "$SCU_BENCH_RUNS"); do
    for installation in empty 2000 20000; do
      for p in $(seq 0 $((SCU_BENCH_PROGRAMS - 1))); do
        seconds=$(WINEPREFIX=$work/$installation/prefix \
          "$SCU_BENCH_PROBE" "ZELTA Startup Configuration Utility" 120 \
          "$work/$installation/utility$p/zeltasc" 2>/dev/null </dev/null || echo fail)
        echo "$installation $p $seconds" >>"$work/times.txt"
      done
    done
    for home in bare none one; do
      for p in $(seq 0 $((SCU_BENCH_PROGRAMS - 1))); do
        seconds=$(env -u WINEPREFIX HOME=$work/home-$home XDG_CONFIG_HOME=$work/home/.config \
          XDG_DATA_HOME=$work/home-$home/.local/share \
          "$SCU_BENCH_PROBE" "ZELTA Startup Configuration Utility" 120 \
          "$work/empty/utility$p/zeltasc" 2>/dev/null </dev/null || echo fail)
        echo "home-$home $p $seconds" >>"$work/times.txt"
      done
    done
  done
'

median() { # installation program -> median seconds
  awk -v i="$1" -v p="$2" '$1 == i && $2 == p && $3 != "fail" { print $3 }' "$work/times.txt" |
    sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "nan" }'
}

echo "Time to the main window under Xvfb, medians of $runs alternating runs ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
p=0
for program in "${programs[@]}"; do
  [ ${#programs[@]} -eq 1 ] || echo "program $p: $program"
  empty=$(median empty $p) small=$(median 2000 $p) large=$(median 20000 $p)
  fails=$(awk -v p="$p" '$2 == p && $3 == "fail"' "$work/times.txt" | wc -l)
  awk -v e="$empty" -v s="$small" -v l="$large" 'BEGIN {
    printf "  %-72s %8.3f s\n", "empty game folder", e
    printf "  %-72s %8.3f s  %5.2f x empty\n", "2,000 levels, 500 cutscenes, 285 movies, 1,000 demos, all named", s, s / e
    printf "  %-72s %8.3f s  extra cost %5.1f x that of 2,000\n", "20,000 levels, 5,000 cutscenes, 2,857 movies, 10,000 demos, all named", l, (l - e) / (s - e)
  }'
  bare=$(median home-bare $p) none=$(median home-none $p) one=$(median home-one $p)
  awk -v b="$bare" -v n="$none" -v o="$one" 'BEGIN {
    printf "  %-72s %8.3f s\n", "home without prefixes (no WINEPREFIX)", b
    printf "  %-72s %8.3f s  %5.2f x that home\n", "40 Steam prefixes of 4 MB, none holds the record", n, n / b
    printf "  %-72s %8.3f s  %5.2f x that home\n", "40 Steam prefixes of 4 MB, one holds the record", o, o / b
  }'
  [ "$fails" -eq 0 ] || echo "  ($fails runs did not show the window)"
  p=$((p + 1))
done
