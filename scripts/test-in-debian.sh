#!/usr/bin/env bash
# Runs this tree's tests, or another command, in a minimal Debian system of another release:
#   test-in-debian.sh [--network] [--again] RELEASE [COMMAND...]  (as root; default: make test)
# The system is made with debootstrap under BUILD_DIR (default build)/debian-RELEASE/root, from
# the Debian mirror that the machine's apt uses, with what scripts/install-deps.sh installs. A
# tarball of it as first made is kept beside it, named by a hash of the release, the mirror and
# install-deps.sh; later runs unpack that (for a week, then it is made again), so every run
# starts on an unused system. A copy of the working tree (the files git tracks or does not
# ignore: no build folders) goes to /src/zeltasc in it, and the command runs there as root with
# /proc, /dev and /sys mounted, in process, IPC and (without --network) network namespaces of its
# own: whatever it leaves running ends with it, and its X displays never meet the machine's.
# Every mount is made in a mount namespace of this script's own and unmounted on every way out.
# Prints how long each step took. --again runs in the system as the last run left it, the working
# tree copied over the copy there (build folders kept), to try a fix without building from nothing.
set -euo pipefail

args=("$@")
usage="usage: $0 [--network] [--again] RELEASE [COMMAND...]"
network=no
again=no
while [ $# -gt 0 ]; do
  case "$1" in
    --network) network=yes ;;
    --again) again=yes ;;
    --*) echo "$usage" >&2; exit 2 ;;
    *) break ;;
  esac
  shift
done
[ $# -ge 1 ] || { echo "$usage" >&2; exit 2; }
release="$1"
shift
command=("$@")
[ ${#command[@]} -gt 0 ] || command=(make test)
say() { echo "test-in-debian.sh: $*" >&2; }

[[ "$release" =~ ^[a-z]+$ ]] || { say "not a release name: $release"; exit 2; }
if [ "$(id -u)" -ne 0 ]; then
  say "run it as root: debootstrap, chroot and mount need root"
  exit 1
fi
if ! command -v debootstrap >/dev/null; then
  say "debootstrap is missing; install it with: apt-get install debootstrap (make deps does)"
  exit 1
fi
if [ ! -e "/usr/share/debootstrap/scripts/$release" ]; then
  say "this debootstrap does not know the release $release"
  exit 1
fi
for tool in unshare chroot git tar sha256sum; do
  command -v "$tool" >/dev/null || { say "$tool is missing"; exit 1; }
done

# Everything below runs in a mount namespace of its own: its mounts are never seen outside it,
# and they all go with its last process, even when the script is killed.
if [ "${SCU_DEBIAN_OWN_MOUNTS:-}" != yes ]; then
  exec unshare --mount --propagation private -- env SCU_DEBIAN_OWN_MOUNTS=yes bash "$0" "${args[@]}"
fi

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-build}"
case "$build" in /*) ;; *) build="$source_dir/$build" ;; esac
work="$build/debian-$release"
root="$work/root"
mkdir -p "$work"

# --- mounts and the way out ---------------------------------------------------------------
mounts=() # mount points, in the order they were made
child=""  # the step running now, in the background so that a signal reaches the trap at once

mount_system() {
  local target="$1"
  mount -t proc proc "$target/proc"
  mounts+=("$target/proc")
  mount --rbind /dev "$target/dev"
  mounts+=("$target/dev")
  mount --make-rslave "$target/dev"
  mount -t sysfs sysfs "$target/sys"
  mounts+=("$target/sys")
}

unmount_all() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -R "${mounts[i]}" 2>/dev/null || umount -R -l "${mounts[i]}" ||
      say "could not unmount ${mounts[i]}"
  done
  mounts=()
}

# Mount points at or below a folder (mountinfo writes a blank as \040).
mounts_below() {
  local escaped="${1// /\\040}"
  awk -v dir="$escaped" '$5 == dir || index($5, dir "/") == 1 { print $5 }' /proc/self/mountinfo
}

# Processes whose root is the system being made (left by a package's scripts, or by a stopped
# step). The command's own processes need no search: they end with its process namespace.
end_processes_inside() {
  local link pid
  for link in /proc/[0-9]*/root; do
    pid="${link#/proc/}"
    pid="${pid%/root}"
    if [ "$(readlink "$link" 2>/dev/null)" = "$1" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
  done
}

cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  if [ -n "$child" ]; then
    kill -TERM "$child" 2>/dev/null || true
    sleep 1
    kill -KILL "$child" 2>/dev/null || true
    wait "$child" 2>/dev/null || true
  fi
  if [ -d "$work/new-root" ]; then end_processes_inside "$work/new-root"; fi
  unmount_all
  exit "$status"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Runs a step in the background and waits for it, so that INT and TERM are handled at once.
step() {
  "$@" <&0 &
  child=$!
  local status=0
  wait "$child" || status=$?
  child=""
  return "$status"
}

# Removes a system folder, never through a mount into the machine's own folders.
remove_system() {
  [ -e "$1" ] || return 0
  if [ -n "$(mounts_below "$1")" ]; then
    say "something is still mounted in $1; not removing it:"
    mounts_below "$1" >&2
    exit 1
  fi
  rm -rf --one-file-system "$1"
}

seconds_of() { echo "$(($(date +%s) - $1)) s"; }

# --- the mirror ------------------------------------------------------------------------------
# The URL of the Debian archive, and of its security archive, that the machine's apt reads;
# SCU_DEBIAN_MIRROR overrides the first.
apt_source() {
  apt-cache policy 2>/dev/null | awk -v label="$1" '
    $1 ~ /^[0-9]+$/ && $2 ~ /^[a-z]+:\/\// { url = $2; next }
    /^ *release / && index($0, "o=Debian,") && index($0, "l=" label ",") { print url; exit }'
}
mirror="${SCU_DEBIAN_MIRROR:-$(apt_source Debian)}"
mirror="${mirror:-http://deb.debian.org/debian}"
security="$(apt_source Debian-Security)"
arch="$(dpkg --print-architecture)"

# --- the system ------------------------------------------------------------------------------
key="$(printf '%s\n' "$release" "$arch" "$mirror" "$security" "system-v1" |
  cat - "$source_dir/scripts/install-deps.sh" | sha256sum | cut -c1-16)"
tarball="$work/system-$key.tar"

make_system() {
  local new="$work/new-root" started
  remove_system "$new"
  started=$(date +%s)
  say "debootstrap $release from $mirror"
  step debootstrap --variant=minbase --arch="$arch" "$release" "$new" "$mirror" \
    >"$work/debootstrap.log" 2>&1 || {
    tail -n 20 "$work/debootstrap.log" >&2
    say "debootstrap failed; the whole log is $work/debootstrap.log"
    exit 1
  }
  say "debootstrap: $(seconds_of "$started")"

  started=$(date +%s)
  rm -f "$new/etc/apt/sources.list"
  {
    printf 'Types: deb\nURIs: %s\nSuites: %s %s-updates\nComponents: main\n' \
      "$mirror" "$release" "$release"
    printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n'
    if [ -n "$security" ]; then
      printf '\nTypes: deb\nURIs: %s\nSuites: %s-security\nComponents: main\n' \
        "$security" "$release"
      printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n'
    fi
  } >"$new/etc/apt/sources.list.d/debian.sources"
  # A test system: package scripts start no services.
  printf '#!/bin/sh\nexit 101\n' >"$new/usr/sbin/policy-rc.d"
  chmod 755 "$new/usr/sbin/policy-rc.d"
  cp /etc/resolv.conf "$new/etc/resolv.conf"
  install -D -m 644 "$source_dir/scripts/install-deps.sh" "$new/tmp/install-deps.sh"
  mount_system "$new"
  step chroot "$new" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive bash -c \
    'apt-get update -qq && bash /tmp/install-deps.sh && apt-get clean' \
    >"$work/install-deps.log" 2>&1 || {
    tail -n 30 "$work/install-deps.log" >&2
    say "installing the packages failed; the whole log is $work/install-deps.log"
    exit 1
  }
  unmount_all
  rm -f "$new/tmp/install-deps.sh"
  say "packages: $(seconds_of "$started")"

  started=$(date +%s)
  rm -f "$work"/system-*.tar
  step tar -C "$new" -cf "$tarball.part" . && mv "$tarball.part" "$tarball"
  remove_system "$root"
  mv "$new" "$root"
  say "kept as $tarball: $(seconds_of "$started")"
}

marker="$root/etc/scu-system"
if [ "$again" = yes ] && [ "$(cat "$marker" 2>/dev/null)" = "$key" ]; then
  say "again in $root, as the last run left it"
else
  if [ "$again" = yes ]; then say "no system of a last run with these packages: starting afresh"; fi
  if [ -f "$tarball" ] && [ -z "$(find "$tarball" -mtime +6)" ]; then
    started=$(date +%s)
    remove_system "$root"
    mkdir -p "$root"
    step tar -C "$root" -xf "$tarball"
    say "unpacked $tarball: $(seconds_of "$started")"
  else
    make_system
  fi
fi
echo "$key" >"$marker"

# --- the tree and the command ------------------------------------------------------------------
started=$(date +%s)
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root/src/zeltasc"
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard) |
  (cd "$source_dir" && while IFS= read -r -d '' file; do
    if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
  done) |
  tar -C "$source_dir" --null -T - -cf - | tar -C "$root/src/zeltasc" -xf -
say "tree copied to $root/src/zeltasc: $(seconds_of "$started")"

mount_system "$root"
namespaces=(--pid --fork --kill-child --mount-proc="$root/proc" --ipc)
[ "$network" = yes ] || namespaces+=(--net)
started=$(date +%s)
say "running in $release: ${command[*]}"
status=0
# shellcheck disable=SC2016 # expanded by the inner shells
step unshare "${namespaces[@]}" -- bash -c '
  if [ "$1" = no ] && command -v ip >/dev/null; then ip link set lo up; fi
  root="$2"
  shift 2
  exec chroot "$root" /usr/bin/env -i \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root USER=root LOGNAME=root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    DEBIAN_FRONTEND=noninteractive ${CI:+CI="$CI"} ${JOBS:+JOBS="$JOBS"} bash -c '\''cd /src/zeltasc && exec "$@"'\'' bash "$@"
' bash "$network" "$root" "${command[@]}" || status=$?
say "${command[*]} in $release: $(seconds_of "$started"), exit status $status"
exit "$status"
