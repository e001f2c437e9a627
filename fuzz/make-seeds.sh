#!/usr/bin/env bash
# Makes the seed corpus of every fuzz target from the project's own fixtures: the PE programs of
# the version-reader tests, the demo installation's registry and settings files, the language
# files, archives packed by the archive component (libzip) and by Info-ZIP's zip, the movie
# window's Parameters text and command lines the game gets. Nothing here is kept in the
# repository as a binary file. Usage: make-seeds.sh BUILD_FUZZ_DIR OUTPUT_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: make-seeds.sh BUILD_FUZZ_DIR OUTPUT_FOLDER}
out=${2:?usage: make-seeds.sh BUILD_FUZZ_DIR OUTPUT_FOLDER}
build=$(cd "$build" && pwd)
mkdir -p "$out" && out=$(cd "$out" && pwd)
packer=$build/fuzz/fuzz_seed_packer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
for t in ini version_resource wine_registry key_values zip_directory xpd_extract language_file \
  windows_text parameters command_line desktop_exec manager_settings; do
  mkdir -p "$out/fuzz_$t"
done

# Profile files and language files.
sed -n "/<<'INI'/,/^INI\$/p" "$here/tools/demo/make-demo-install.sh" | sed '1d;$d' \
  >"$out/fuzz_ini/settings.ini"
cp "$here"/resources/*.lng "$out/fuzz_ini/"
cp "$here"/resources/*.lng "$out/fuzz_language_file/"

# Text from Windows files and file names: UTF-8, Windows-1252 and broken sequences.
cp "$here"/resources/*.lng "$out/fuzz_windows_text/"
printf 'Stra\337e der K\366nige \200 \236' >"$out/fuzz_windows_text/windows-1252"
printf 'K\303\244lte \320\226 \360\237\216\256' >"$out/fuzz_windows_text/utf-8"
printf 'd\351mo \303 \355\240\200 \300\257 \364\220\200\200' >"$out/fuzz_windows_text/broken"

# The demo prefix's registry, with a game folder put in.
sed -n '/<<REG/,/^REG$/p' "$here/tools/demo/make-demo-install.sh" | sed '1d;$d' |
  sed -e 's/\\\\\\\\/\\\\/g' -e 's/\$escaped/Z:\\\\opt\\\\zelta\\\\game\\\\/' \
    >"$out/fuzz_wine_registry/system.reg"
# A registry cut while it was written: its last line a key header, without newline, that sorts
# before the record's key.
printf '[Software\\\\Classes\\\\A] 1\n"v"="w"\n[Software\\\\Classes\\\\B] 1' \
  >"$out/fuzz_wine_registry/cut.reg"

# Steam's key-value files: a library list (current and older form), a compatibility-tool mapping
# and a tool's declaration.
printf '"libraryfolders"\n{\n\t"0"\n\t{\n\t\t"path"\t\t"/home/ann/.local/share/Steam"\n\t\t"apps"\n\t\t{\n\t\t\t"228980"\t\t"1"\n\t\t}\n\t}\n\t"1"\n\t{\n\t\t"path"\t\t"/mnt/games/SteamLibrary"\n\t}\n}\n' \
  >"$out/fuzz_key_values/libraryfolders.vdf"
printf '"LibraryFolders"\n{\n\t"TimeNextStatsReport"\t\t"1700000000"\n\t"1"\t\t"/mnt/old \\"quoted\\""\n}\n' \
  >"$out/fuzz_key_values/libraryfolders-old.vdf"
printf '"InstallConfigStore" { "Software" { "Valve" { "Steam" { "CompatToolMapping" { "100" { "name" "proton_8" "config" "" "priority" "250" } } } } } } // end\n' \
  >"$out/fuzz_key_values/config.vdf"
printf '"compatibilitytools" { "compat_tools" { "GE-Proton9-1" { "install_path" "." [$LINUX] "display_name" "GE" } } }\n' \
  >"$out/fuzz_key_values/compatibilitytool.vdf"

# The managers' small settings: a Lutris game file, a bottle, a prefix's version line.
printf 'game:\n  prefix: /home/ann/Games/zelta\nsystem:\n  env:\n    DXVK_HUD: fps\nwine:\n  overrides:\n    ddraw: native,builtin\n    d3d8: disabled\n  version: lutris-7.2-x86_64\n' \
  >"$out/fuzz_manager_settings/game.yml"
printf 'Arch: win64\nDLL_Overrides:\n  ddraw: n,b\nEnvironment_Variables:\n  "A B": "x # y"\nRunner: soda-9.0\n' \
  >"$out/fuzz_manager_settings/bottle.yml"
printf '10.0-100\n' >"$out/fuzz_manager_settings/version"

# Programs with version resources.
sh "$here/tests/fixtures/make-pe-fixtures.sh" "$work/pe" >/dev/null
cp "$work"/pe/* "$out/fuzz_version_resource/"

# Archives: a package packed by the component (libzip), the same by zip stored and deflated,
# written to a pipe (sizes after the data), with a folder, a link and a program, and a
# self-extracting program (a PE file padded past byte 14000, the archive after it).
mkdir -p "$work/p/bin" && cd "$work/p"
printf 'PADDEMO\0\1\2\3' >K1.tmp
printf '[xpd]\r\nlevel=K1\r\ngodmode=0\r\n' >xpd.ini
printf 'MZ program' >ZELTA.EXE
cp K1.tmp bin/K2.tmp
ln -s /etc/passwd link.tmp
"$packer" "$work/libzip.xpd" "$work/p/K1.tmp" "$work/p/xpd.ini"
zip -q -X "$work/deflated.xpd" K1.tmp xpd.ini
zip -q -X -0 "$work/stored.xpd" K1.tmp xpd.ini
zip -q -X - K1.tmp xpd.ini | cat >"$work/streamed.xpd"
zip -q -X -r "$work/folders.xpd" bin xpd.ini
zip -q -X -y "$work/link.xpd" link.tmp K1.tmp
zip -q -X "$work/program.xpd" ZELTA.EXE xpd.ini
cp "$work/pe/build52.exe" "$work/SETUP.EXE"
truncate -s 14100 "$work/SETUP.EXE"
cat "$work/deflated.xpd" >>"$work/SETUP.EXE"
zip -q -A "$work/SETUP.EXE"
cd "$here"
for f in "$work"/*.xpd "$work/SETUP.EXE"; do
  cp "$f" "$out/fuzz_zip_directory/"
  cp "$f" "$out/fuzz_xpd_extract/"
done

# The movie window's Parameters text and variants of it.
params=$(sed -n '/kParameters =/,/;/p' "$here/player/untFMV.h" | grep -o '"[^"]*"' | tr -d '"\n')
printf '%s' "$params" >"$out/fuzz_parameters/movie"
printf '%s' "$params" | sed 's/Show Controls=No/Show Controls=Yes/;s/Volume=0/Volume=-400/' \
  >"$out/fuzz_parameters/controls"
printf 'Play Count=0|Start Marker=5|End Marker=90|Repeat Forever=Yes|Object Format=Time|Size=Half Size|Mute=1|Rate=1500|Balance=-2064|' \
  >"$out/fuzz_parameters/markers"

# Argument strings the game is started with, and word lists (separated by NUL bytes).
printf '%s' '-padrecord=bin\K1.tmp -level=data\maps\K1 -debugkeys' >"$out/fuzz_command_line/record"
printf '%s' '"two words" a\\\"b "c d\\" -mode=1024x768x60' >"$out/fuzz_command_line/quoted"
printf 'C:\\Games\\ZELTA\\\0-level=data\\maps\\K1\0\0with space\0a"b\\' >"$out/fuzz_command_line/words"

# Program paths for the desktop entry.
printf '%s' '/opt/zelta/zeltasc' >"$out/fuzz_desktop_exec/plain"
printf '%s' '/home/ann/zelta copy/zeltasc' >"$out/fuzz_desktop_exec/space"
printf '%s' '/a$b/100%/c\d/`e`"f"' >"$out/fuzz_desktop_exec/reserved"
