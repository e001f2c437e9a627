#!/usr/bin/env bash
# Installs ZELTA SCU into a prefix (for one user: ~/.local), removes exactly what it installed,
# or packs the self-contained utility folder into a tarball.
#   install.sh install   PREFIX BUILD_DIR
#   install.sh uninstall PREFIX
#   install.sh dist      BUILD_DIR VERSION
# The utility is a self-contained folder (PREFIX/share/zeltasc: the program, readme.txt and the
# sample language files; settings.ini is made there by the first "Exit"), run by the command
# PREFIX/bin/zeltasc, with a menu entry, icons, the XPD file type and AppStream metadata.
set -euo pipefail

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
sizes=(16 32 48 64 128 256)
utility_files=(readme.txt Deutsch.lng Francais.lng)
menu_entry=org.example.zeltasc.desktop
metainfo=org.example.zeltasc.metainfo.xml
mime_package=zeltasc-xpd.xml

# Every file that install puts under the prefix, relative to it.
installed_files() {
  echo bin/zeltasc
  echo share/zeltasc/zeltasc
  for name in "${utility_files[@]}"; do echo "share/zeltasc/$name"; done
  echo "share/applications/$menu_entry"
  echo "share/metainfo/$metainfo"
  echo "share/mime/packages/$mime_package"
  for size in "${sizes[@]}"; do
    echo "share/icons/hicolor/${size}x${size}/apps/zeltasc.png"
    echo "share/icons/hicolor/${size}x${size}/mimetypes/application-x-zelta-xpd.png"
  done
}

# The desktop entry's Exec program: quoted when it holds a blank or another reserved character.
exec_argument() {
  local program="$1"
  case "$program" in
    *[\"\`\$\\]*)
      echo "install.sh: the prefix must not hold quotes, backslashes or \$: $program" >&2
      exit 1 ;;
  esac
  program="${program//%/%%}"
  if [[ "$program" =~ ^[A-Za-z0-9/._+,=@%-]+$ ]]; then
    printf '%s' "$program"
  else
    printf '"%s"' "$program"
  fi
}

# Tells the desktop about the changed menu entries and file types, when its tools are present.
refresh_desktop() {
  local prefix="$1"
  if command -v update-mime-database >/dev/null && [ -d "$prefix/share/mime/packages" ]; then
    update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || true
  fi
  if command -v update-desktop-database >/dev/null && [ -d "$prefix/share/applications" ]; then
    update-desktop-database -q "$prefix/share/applications" >/dev/null 2>&1 || true
  fi
  # Icon theme readers notice a changed theme folder by its time.
  if [ -d "$prefix/share/icons/hicolor" ]; then touch "$prefix/share/icons/hicolor"; fi
}

do_install() {
  local prefix="$1" build="$2"
  prefix="$(mkdir -p "$prefix" && cd "$prefix" && pwd)"
  for needed in "$build/zeltasc" "$build/icons/hicolor/256x256/apps/zeltasc.png"; do
    [ -e "$needed" ] || { echo "install.sh: $needed is missing; build first" >&2; exit 1; }
  done
  local exec
  exec="$(exec_argument "$prefix/bin/zeltasc")"

  install -D -m 755 "$build/zeltasc" "$prefix/share/zeltasc/zeltasc"
  for name in "${utility_files[@]}"; do
    install -D -m 644 "$source_dir/resources/$name" "$prefix/share/zeltasc/$name"
  done
  mkdir -p "$prefix/bin"
  ln -sfn ../share/zeltasc/zeltasc "$prefix/bin/zeltasc"

  local entry
  entry="$(<"$source_dir/resources/desktop/$menu_entry.in")"
  install -d "$prefix/share/applications"
  printf '%s\n' "${entry//@EXEC@/"$exec"}" >"$prefix/share/applications/$menu_entry"
  chmod 644 "$prefix/share/applications/$menu_entry"
  install -D -m 644 "$source_dir/resources/desktop/$metainfo" "$prefix/share/metainfo/$metainfo"
  install -D -m 644 "$source_dir/resources/desktop/$mime_package" \
    "$prefix/share/mime/packages/$mime_package"
  for size in "${sizes[@]}"; do
    for icon in apps/zeltasc.png mimetypes/application-x-zelta-xpd.png; do
      install -D -m 644 "$build/icons/hicolor/${size}x${size}/$icon" \
        "$prefix/share/icons/hicolor/${size}x${size}/$icon"
    done
  done
  refresh_desktop "$prefix"
  echo "Installed ZELTA SCU into $prefix (run it with $prefix/bin/zeltasc)."
}

do_uninstall() {
  local prefix="$1"
  [ -d "$prefix" ] || { echo "Nothing installed in $prefix."; return; }
  prefix="$(cd "$prefix" && pwd)"
  local file
  while read -r file; do
    if [ "$file" = bin/zeltasc ]; then
      # Only the link that install made.
      if [ -L "$prefix/$file" ] && [ "$(readlink "$prefix/$file")" = ../share/zeltasc/zeltasc ]; then
        rm -f "$prefix/$file"
      fi
    else
      rm -f "$prefix/$file"
    fi
  done < <(installed_files)
  # The utility folder goes when it is empty; settings.ini keeps it.
  rmdir "$prefix/share/zeltasc" 2>/dev/null || true
  refresh_desktop "$prefix"
  if [ -e "$prefix/share/zeltasc/settings.ini" ]; then
    echo "Removed ZELTA SCU from $prefix; your settings stay in $prefix/share/zeltasc/settings.ini."
  else
    echo "Removed ZELTA SCU from $prefix."
  fi
}

do_dist() {
  local build="$1" version="$2"
  [ -e "$build/zeltasc" ] || { echo "install.sh: $build/zeltasc is missing; build first" >&2; exit 1; }
  local name="zeltasc-$version"
  local stage="$build/dist/$name"
  rm -rf "$build/dist"
  # Without its debugging information: the tarball is for players.
  install -D -m 755 -s "$build/zeltasc" "$stage/zeltasc"
  for file in "${utility_files[@]}"; do
    install -D -m 644 "$source_dir/resources/$file" "$stage/$file"
  done
  local tarball="$build/$name-linux-$(uname -m).tar.gz"
  tar --sort=name --owner=0 --group=0 --numeric-owner -czf "$tarball" -C "$build/dist" "$name"
  rm -rf "$build/dist"
  echo "$tarball"
}

case "${1:-}" in
  install) [ $# -eq 3 ] || { echo "usage: $0 install PREFIX BUILD_DIR" >&2; exit 2; }
    do_install "$2" "$3" ;;
  uninstall) [ $# -eq 2 ] || { echo "usage: $0 uninstall PREFIX" >&2; exit 2; }
    do_uninstall "$2" ;;
  dist) [ $# -eq 3 ] || { echo "usage: $0 dist BUILD_DIR VERSION" >&2; exit 2; }
    do_dist "$2" "$3" ;;
  *) echo "usage: $0 install PREFIX BUILD_DIR | uninstall PREFIX | dist BUILD_DIR VERSION" >&2
    exit 2 ;;
esac
