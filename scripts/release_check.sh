#!/usr/bin/env bash
# Checks the quick start and the package build on a fresh Debian release, as a new user or a
# packager of that release would meet them:
#
#   sudo scripts/release_check.sh RELEASE [ROOT]     e.g. bookworm, trixie
#
# Makes a minimal root of RELEASE with debootstrap in ROOT (default: a new folder under /var/tmp),
# clones this repository's HEAD into it, runs `./dev.sh test` there, then the package steps of the
# README and lintian on the package. Prints one line per stage with its time and verdict; the
# output of each stage is kept in ROOT/log/STAGE.log. Needs root, debootstrap and the network.
set -uo pipefail
release=${1:?usage: $0 RELEASE [ROOT]}
root=${2:-$(mktemp -d "/var/tmp/pelmora-${release}.XXXXXX")}
repo=$(cd "$(dirname "$0")/.." && pwd)
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
mkdir -p "$root/log"

mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null; done
}
trap cleanup EXIT

failed=0
# stage NAME COMMAND...: runs the command, prints "NAME  SECONDS s  ok|FAILED".
stage() {
  local name=$1; shift
  local start=$SECONDS status
  "$@" >"$root/log/$name.log" 2>&1
  status=$?
  if [ $status -eq 0 ]; then
    printf '%-10s %5d s  ok\n' "$name" $((SECONDS - start))
  else
    printf '%-10s %5d s  FAILED (exit %d, see %s)\n' "$name" $((SECONDS - start)) $status \
      "$root/log/$name.log"
    failed=1
  fi
  return $status
}

bootstrap() {
  debootstrap --variant=minbase "$release" "$root" "$mirror" || return
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  local m
  for m in proc sys dev dev/pts; do
    mount --bind "/$m" "$root/$m" && mounted+=("$root/$m") || return
  done
}

clone() {
  rm -rf "$root/root/pelmora"
  git clone --quiet "$repo" "$root/root/pelmora"
}

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    bash -c "cd /root/pelmora && $1"
}

package() {
  in_root 'cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMORA_TESTS=OFF &&
           cmake --build build-release && (cd build-release && cpack -G DEB)'
}

lint() {
  in_root 'lintian --fail-on error,warning build-release/pelmora_*.deb'
}

echo "$release in $root"
stage bootstrap bootstrap || exit 1
stage clone clone || exit 1
stage test in_root './dev.sh test'
stage package package && stage lintian lint
exit $failed
