#!/usr/bin/env bash
# Installs ZELTA SCU into a prefix (for one user: ~/.local), removes exactly what it installed,
# or packs the self-contained utility folder into a tarball.
#   install.sh install   PREFIX BUILD_DIR [DESTDIR]
#   install.sh uninstall PREFIX
#   install.sh dist      BUILD_DIR VERSION
# An installed copy: the program PREFIX/lib/zeltasc/zeltasc with the marker installation.ini
# beside it, which names the utility folder PREFIX/share/zeltasc/shipped (readme.txt and the
# sample language files); the command PREFIX/bin/zeltasc; a menu entry, icons, the XPD file type,
# the AppStream metadata and the manual page. Each user's settings.ini lives in
# $XDG_CONFIG_HOME/zeltasc/ (made by the first "Exit"), never in the prefix; each user's own
# language files in $XDG_DATA_HOME/zeltasc/, which is PREFIX/share/zeltasc itself for the prefix
# ~/.local: install puts nothing beside them, and uninstall removes no file it did not put there.
# With DESTDIR, the files go to DESTDIR/PREFIX for a package to be made of them (the paths inside
# them still name PREFIX), and nothing outside DESTDIR is touched.
# COMMAND_DIR (default bin) is the command's folder under the prefix; Debian's games use games.
set -euo pipefail

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
sizes=(16 32 48 64 128 256)
utility_files=(readme.txt Deutsch.lng Francais.lng)
menu_entry=org.example.zeltasc.desktop
metainfo=org.example.zeltasc.metainfo.xml
mime_package=zeltasc-xpd.xml
mime_type=application/x-zelta-xpd
marker=installation.ini
# readme.txt and the language files that come with the program, apart from the user's own.
shipped=share/zeltasc/shipped
# Folders install made, relative to the prefix, so that uninstall removes them when empty.
created_list=lib/zeltasc/created-folders
# The files install put there with their SHA-256 sums: uninstall removes only those still as put.
record=lib/zeltasc/installed-files
# The readme.txt and language files of earlier versions, which put them into share/zeltasc itself.
earlier_shipped=(
  0d9da7647c9b2ddf7f5dc0689d2b409f50b8e14757a65e062ea88b9e7dd39b23 # readme.txt, first install
  349907cf43ffed1c83ba1fde1ca626792bd768d7595c34af00f1abc8f9208e89 # readme.txt
  e0131d367c1bd3288bdffc2ad0fef6ca0de7072e612fee77f5c8a6f4a4ef8f3c # Deutsch.lng
  72e3f28fe653500bc8355d01c80ce4877df273b71ad534847f414bfb5e902d35 # Francais.lng
)
command_dir="${COMMAND_DIR:-bin}"

# Every file that install puts under the prefix, relative to it.
installed_files() {
  echo "$command_dir/zeltasc"
  echo lib/zeltasc/zeltasc
  echo "lib/zeltasc/$marker"
  for name in "${utility_files[@]}"; do echo "$shipped/$name"; done
  echo "share/applications/$menu_entry"
  echo "share/metainfo/$metainfo"
  echo "share/mime/packages/$mime_package"
  echo share/man/man6/zeltasc.6
  for size in "${sizes[@]}"; do
    echo "share/icons/hicolor/${size}x${size}/apps/zeltasc.png"
    echo "share/icons/hicolor/${size}x${size}/mimetypes/application-x-zelta-xpd.png"
  done
}

# The folders that hold installed files, up to the prefix: those of the desktop's kinds
# (applications, icons/hicolor/..., metainfo, mime/packages, man/man6) and the program's own. The
# prefix's own layout (bin, games, lib, share, share/man), which a system prefix such as
# /usr/local has before anything is installed into it, is left out.
own_folders() {
  local file
  installed_files | while read -r file; do
    while file="$(dirname "$file")"; [ "$file" != . ]; do
      case "$file" in
        "$command_dir" | bin | games | lib | share | share/man) ;;
        *) echo "$file" ;;
      esac
    done
  done
}

# The SHA-256 sum of a file.
file_sum() {
  sha256sum -- "$1" | cut -d' ' -f1
}

# Whether a file holds what this or an earlier version ships as the named readme.txt or language
# file.
shipped_content() {
  local path="$1" name="$2" sum known
  cmp -s "$path" "$source_dir/resources/$name" && return 0
  sum="$(file_sum "$path")"
  for known in "${earlier_shipped[@]}"; do [ "$sum" = "$known" ] && return 0; done
  return 1
}

# An earlier version put readme.txt and the language files into share/zeltasc itself, which for
# the prefix ~/.local is also the user's own language folder: the files still as that version
# put them go, a file of the user's own stays.
remove_earlier_shipped() {
  local root="$1" name path
  for name in "${utility_files[@]}"; do
    path="$root/share/zeltasc/$name"
    if [ -f "$path" ] && [ ! -L "$path" ] && shipped_content "$path" "$name"; then rm -f "$path"; fi
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
# Caches left with nothing to describe are removed instead of refreshed.
refresh_desktop() {
  local prefix="$1"
  local mime="$prefix/share/mime" applications="$prefix/share/applications"
  if [ -d "$mime/packages" ] && [ -n "$(ls -A "$mime/packages")" ]; then
    if command -v update-mime-database >/dev/null; then
      update-mime-database "$mime" >/dev/null 2>&1 || true
    fi
  elif [ -d "$mime" ]; then
    remove_mime_database "$mime"
  fi
  if [ -d "$applications" ] && compgen -G "$applications/*.desktop" >/dev/null; then
    if command -v update-desktop-database >/dev/null; then
      update-desktop-database -q "$applications" >/dev/null 2>&1 || true
    fi
  else
    rm -f "$applications/mimeinfo.cache"
  fi
  # Icon theme readers notice a changed theme folder by its time.
  if [ -d "$prefix/share/icons/hicolor" ]; then touch "$prefix/share/icons/hicolor"; fi
}

# The files update-mime-database derives from the packages, once no package is left: its cache
# files and the per-type descriptions in the media-type folders.
remove_mime_database() {
  local mime="$1" name folder
  for name in aliases generic-icons globs globs2 icons magic mime.cache subclasses treemagic \
              types version XMLnamespaces; do
    rm -f "$mime/$name"
  done
  for folder in "$mime"/*/; do
    folder="${folder%/}"
    [ "$(basename "$folder")" = packages ] && continue
    rm -f "$folder"/*.xml
    rmdir "$folder" 2>/dev/null || true
  done
}

# Reports the build dependencies that are missing (Build-Depends of debian/control, without the
# test tools); nothing is installed.
check_build_dependencies() {
  if ! command -v dpkg-checkbuilddeps >/dev/null; then
    if command -v dpkg >/dev/null; then
      echo "install.sh: dpkg-checkbuilddeps is missing; install build-essential (and dpkg-dev)." >&2
      exit 1
    fi
    return 0 # not a Debian system: the build says what it misses
  fi
  local output
  if ! output="$(cd "$source_dir" && dpkg-checkbuilddeps -P nocheck 2>&1)"; then
    local missing="${output##*Unmet build dependencies: }"
    missing="$(sed -E 's/ \([^)]*\)//g' <<<"$missing")"
    echo "These packages are needed to build ZELTA SCU and are missing: $missing" >&2
    echo "Install them with:  sudo apt-get install --no-install-recommends $missing" >&2
    exit 1
  fi
}

# Moves the settings that an earlier version kept in the prefix's utility folder to the user's
# configuration folder, unless the user has settings there already.
move_old_settings() {
  local prefix="$1"
  local old="$prefix/share/zeltasc/settings.ini"
  local config="${XDG_CONFIG_HOME:-}"
  [[ "$config" == /* ]] || config="$HOME/.config"
  [ -f "$old" ] || return 0
  if [ -e "$config/zeltasc/settings.ini" ]; then
    echo "Note: $old is from an earlier version; your settings are in $config/zeltasc/settings.ini."
  else
    mkdir -p -m 700 "$config/zeltasc"
    mv "$old" "$config/zeltasc/settings.ini"
    echo "Moved your settings from $old to $config/zeltasc/settings.ini."
  fi
}

do_install() {
  local prefix="$1" build="$2" destdir="${3:-}"
  for needed in "$build/zeltasc" "$build/icons/hicolor/256x256/apps/zeltasc.png"; do
    [ -e "$needed" ] || { echo "install.sh: $needed is missing; build first" >&2; exit 1; }
  done
  local root prefix_made=
  if [ -n "$destdir" ]; then
    [[ "$prefix" == /* ]] || { echo "install.sh: with DESTDIR the prefix must be absolute" >&2; exit 1; }
    root="$destdir$prefix"
  else
    [ -d "$prefix" ] || prefix_made=yes
    mkdir -p "$prefix"
    prefix="$(cd "$prefix" && pwd)"
    root="$prefix"
  fi
  local exec
  exec="$(exec_argument "$prefix/$command_dir/zeltasc")"

  # The folders that do not exist yet, noted before anything is made (an install over an earlier
  # one keeps that one's notes).
  local created=() folder path
  if [ -z "$destdir" ]; then
    for folder in $(installed_files | xargs -n1 dirname | sort -u); do
      path="$root/$folder"
      while [ ! -d "$path" ] && [ "$path" != "$root" ]; do
        created+=("${path#"$root/"}")
        path="$(dirname "$path")"
      done
    done
    if [ -n "$prefix_made" ]; then created+=(.); fi
    # An earlier version noted no folders: the command's folder and lib/ were made by it when they
    # hold nothing but what it installed.
    if [ ! -f "$root/$created_list" ]; then
      for folder in "$command_dir" lib; do
        if [ "$(ls -A "$root/$folder" 2>/dev/null)" = zeltasc ]; then created+=("$folder"); fi
      done
    fi
  fi

  if [ -z "$destdir" ]; then remove_earlier_shipped "$root"; fi
  install -D -m 755 "$build/zeltasc" "$root/lib/zeltasc/zeltasc"
  printf '%s\n' \
    "; Written by the installation: this copy of ZELTA SCU is installed. Each user's settings.ini" \
    "; lives in \$XDG_CONFIG_HOME/zeltasc/ (else ~/.config/zeltasc/), the user's own language files" \
    "; in \$XDG_DATA_HOME/zeltasc/ (else ~/.local/share/zeltasc/)." \
    "[Installation]" \
    "UtilityFolder=../../$shipped" >"$root/lib/zeltasc/$marker"
  chmod 644 "$root/lib/zeltasc/$marker"
  for name in "${utility_files[@]}"; do
    install -D -m 644 "$source_dir/resources/$name" "$root/$shipped/$name"
  done
  install -d "$root/$command_dir"
  ln -sfn ../lib/zeltasc/zeltasc "$root/$command_dir/zeltasc"

  local entry
  entry="$(<"$source_dir/resources/desktop/$menu_entry.in")"
  install -d "$root/share/applications"
  printf '%s\n' "${entry//@EXEC@/"$exec"}" >"$root/share/applications/$menu_entry"
  chmod 644 "$root/share/applications/$menu_entry"
  install -D -m 644 "$source_dir/resources/desktop/$metainfo" "$root/share/metainfo/$metainfo"
  install -D -m 644 "$source_dir/resources/desktop/$mime_package" \
    "$root/share/mime/packages/$mime_package"
  install -D -m 644 "$source_dir/resources/desktop/zeltasc.6" "$root/share/man/man6/zeltasc.6"
  for size in "${sizes[@]}"; do
    for icon in apps/zeltasc.png mimetypes/application-x-zelta-xpd.png; do
      install -D -m 644 "$build/icons/hicolor/${size}x${size}/$icon" \
        "$root/share/icons/hicolor/${size}x${size}/$icon"
    done
  done
  if [ -n "$destdir" ]; then return 0; fi

  installed_files | grep -vxF "$command_dir/zeltasc" | (cd "$root" && xargs -d '\n' sha256sum --) \
    >"$root/$record"
  if [ -f "$root/$created_list" ]; then mapfile -t -O ${#created[@]} created <"$root/$created_list"; fi
  if [ ${#created[@]} -gt 0 ]; then
    printf '%s\n' "${created[@]}" | sort -u >"$root/$created_list"
  fi
  # An earlier version kept its program in the utility folder.
  rm -f "$root/share/zeltasc/zeltasc"
  move_old_settings "$prefix"
  refresh_desktop "$prefix"
  echo "Installed ZELTA SCU into $prefix (run it with $prefix/$command_dir/zeltasc)."
}

# Takes this program's own default for XPD packages out of the user's mimeapps.list, when it still
# names the installed menu entry; every other line stays as it is.
remove_default_application() {
  local config="${XDG_CONFIG_HOME:-}"
  [[ "$config" == /* ]] || config="$HOME/.config"
  local list="$config/mimeapps.list"
  [ -f "$list" ] || return 0
  # A link (into a repository of dotfiles, say) stays a link: the file it points at changes.
  list="$(readlink -f -- "$list")"
  local kept
  kept="$(mktemp "$list.XXXXXX")"
  awk -v type="$mime_type" -v entry="$menu_entry" '
    /^[ \t]*\[/ { section = $0; sub(/^[ \t]*/, "", section); sub(/[ \t\r]*$/, "", section) }
    {
      if (section == "[Default Applications]") {
        line = $0; sub(/\r$/, "", line)
        split(line, part, "=")
        key = part[1]; value = substr(line, length(part[1]) + 2)
        gsub(/^[ \t]+|[ \t]+$/, "", key); gsub(/^[ \t]+|[ \t;]+$/, "", value)
        if (key == type && value == entry) next
      }
      print
    }' "$list" >"$kept"
  if cmp -s "$list" "$kept"; then
    rm -f "$kept"
  else
    chmod --reference="$list" "$kept"
    mv "$kept" "$list"
  fi
}

do_uninstall() {
  local prefix="$1"
  [ -d "$prefix" ] || { echo "Nothing installed in $prefix."; return; }
  prefix="$(cd "$prefix" && pwd)"
  local created=()
  if [ -f "$prefix/$created_list" ]; then
    mapfile -t created <"$prefix/$created_list"
    rm -f "$prefix/$created_list"
  fi
  local -A recorded=()
  local sum file path kept=()
  if [ -f "$prefix/$record" ]; then
    while read -r sum file; do recorded[$file]="$sum"; done <"$prefix/$record"
  fi
  while read -r file; do
    path="$prefix/$file"
    if [ "$file" = "$command_dir/zeltasc" ]; then
      # Only the link that install made (or the one an earlier version made).
      if [ -L "$path" ]; then
        case "$(readlink "$path")" in
          ../lib/zeltasc/zeltasc | ../share/zeltasc/zeltasc) rm -f "$path" ;;
        esac
      fi
    elif [ -n "${recorded[$file]+set}" ]; then
      # Recorded: removed while it holds what install put there, else it is the user's now.
      if [ -f "$path" ] && [ ! -L "$path" ] && [ "$(file_sum "$path")" = "${recorded[$file]}" ]; then
        rm -f "$path"
      elif [ -e "$path" ]; then
        kept+=("$path")
      fi
    else
      rm -f "$path" # put there by an earlier version, which kept no record
    fi
  done < <(installed_files; echo share/zeltasc/zeltasc)
  remove_earlier_shipped "$prefix"
  rm -f "$prefix/$record"
  refresh_desktop "$prefix"
  remove_default_application
  # The folders that hold nothing any more, deepest first: the program's own places, and the
  # others that install noted it made (an earlier version noted none: its places go all the same).
  local folder
  while read -r folder; do
    if [ "$folder" = . ]; then rmdir "$prefix" 2>/dev/null || true
    else rmdir "$prefix/$folder" 2>/dev/null || true; fi
  done < <({ own_folders; [ ${#created[@]} -eq 0 ] || printf '%s\n' "${created[@]}"; } | sort -u |
           awk 'NF { print ($0 == "." ? -1 : gsub("/", "/")), $0 }' | sort -rn | cut -d' ' -f2-)
  for path in "${kept[@]}"; do echo "Kept $path: it was changed after it was installed."; done
  if [ -e "$prefix/share/zeltasc/settings.ini" ]; then
    echo "Removed ZELTA SCU from $prefix; the settings of an earlier version stay in $prefix/share/zeltasc/settings.ini."
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
  install) [ $# -eq 3 ] || [ $# -eq 4 ] ||
      { echo "usage: $0 install PREFIX BUILD_DIR [DESTDIR]" >&2; exit 2; }
    do_install "$2" "$3" "${4:-}" ;;
  uninstall) [ $# -eq 2 ] || { echo "usage: $0 uninstall PREFIX" >&2; exit 2; }
    do_uninstall "$2" ;;
  dist) [ $# -eq 3 ] || { echo "usage: $0 dist BUILD_DIR VERSION" >&2; exit 2; }
    do_dist "$2" "$3" ;;
  check-build-deps) check_build_dependencies ;;
  *) echo "usage: $0 install PREFIX BUILD_DIR [DESTDIR] | uninstall PREFIX | dist BUILD_DIR VERSION | check-build-deps" >&2
    exit 2 ;;
esac
