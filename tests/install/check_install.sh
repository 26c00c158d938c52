#!/usr/bin/env bash
# Installs the build folder $1 into a temporary prefix, checks the installed tree, and validates
# the desktop entry and the AppStream description. Exits 77 (skipped) when the validators are
# missing and everything else passed.
set -euo pipefail

build=${1:?usage: check_install.sh BUILD_DIR [CMAKE]}
cmake=${2:-cmake}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix" "$prefix.log"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

unset DESTDIR
"$cmake" --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || {
  cat "$prefix.log" >&2
  rm -f "$prefix.log"
  echo "FAIL: cmake --install" >&2
  exit 1
}
rm -f "$prefix.log"

sizes=(16 22 24 32 48 64 128 256)
appid=example.vordanik.pelmora
expected=(
  bin/pelmora
  bin/pelmora-check
  share/man/man1/pelmora.1.gz
  share/man/man1/pelmora-check.1.gz
  share/mime/packages/pelmora.xml
  share/doc/pelmora/copyright
  share/doc/pelmora/changelog.gz
  share/pelmora/pelmora.hlp
  share/applications/pelmora.desktop
  "share/metainfo/$appid.metainfo.xml"
  share/icons/hicolor/scalable/apps/pelmora.svg
)
for s in "${sizes[@]}"; do expected+=("share/icons/hicolor/${s}x${s}/apps/pelmora.png"); done

for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
# Only what a user runs or reads: no libraries, headers, tests or benchmarks ride along.
stray=$(cd "$prefix" && find . \( -type f -o -type l \) \( -path './include/*' -o -name '*.a' \
  -o -name '*.h' -o -name '*_test*' -o -name '*_bench' -o -name 'cmake_install.cmake' \) -print)
[ -z "$stray" ] || fail "installed build leftovers: $stray"

[ -x "$prefix/bin/pelmora" ] || fail "bin/pelmora is not executable"
[ -x "$prefix/bin/pelmora-check" ] || fail "bin/pelmora-check is not executable"

png_size() {  # width and height from the PNG header
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
  read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$bytes"
  echo "$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))x$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))"
}
for s in "${sizes[@]}"; do
  icon="$prefix/share/icons/hicolor/${s}x${s}/apps/pelmora.png"
  [ -f "$icon" ] || continue
  [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$icon is not a PNG"
  [ "$(png_size "$icon")" = "${s}x${s}" ] || fail "$icon is $(png_size "$icon"), not ${s}x${s}"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/pelmora.svg" || fail "the SVG icon is no SVG"

desktop="$prefix/share/applications/pelmora.desktop"
metainfo="$prefix/share/metainfo/$appid.metainfo.xml"
if [ -f "$desktop" ]; then
  grep -qx 'Exec=pelmora %f' "$desktop" ||
    fail "the menu entry does not start bin/pelmora with a file"
  grep -qx 'MimeType=application/x-pelmora-data;' "$desktop" ||
    fail "the menu entry does not open data files"
  grep -qx 'Icon=pelmora' "$desktop" || fail "the menu entry does not name the installed icon"
fi
if [ -f "$metainfo" ]; then
  grep -q "<id>$appid</id>" "$metainfo" || fail "the metainfo id is not $appid"
  grep -q '<launchable type="desktop-id">pelmora.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch pelmora.desktop"
  grep -q '<project_license>MIT</project_license>' "$metainfo" ||
    fail "the metainfo names no MIT licence"
  grep -q '@' "$metainfo" && fail "the metainfo has unfilled fields"
fi

missing_tools=()
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
else
  missing_tools+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
else
  missing_tools+=(appstreamcli)
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
if [ ${#missing_tools[@]} -gt 0 ]; then
  echo "skipped: ${missing_tools[*]} not installed"
  exit 77
fi
echo "install tree OK"
