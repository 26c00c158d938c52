#!/usr/bin/env bash
# Packs the build folder $1 into a .deb in a temporary folder and checks what a distribution
# would: the package declares its dependencies, carries its licence and changelog, has
# compressed manual pages that format cleanly, and lintian finds nothing to report. Exits 77
# (skipped) when lintian is missing and everything else passed.
set -euo pipefail

build=${1:?usage: check_package.sh BUILD_DIR [CPACK]}
cpack=${2:-cpack}
for tool in dpkg-deb dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || {
    echo "skipped: $tool not installed"
    exit 77
  }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

(cd "$build" && "$cpack" -G DEB -B "$out") >"$out/cpack.log" 2>&1 || {
  cat "$out/cpack.log" >&2
  echo "FAIL: cpack -G DEB" >&2
  exit 1
}
debs=("$out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || {
  echo "FAIL: cpack made no single .deb: ${debs[*]}" >&2
  exit 1
}
deb=${debs[0]}

depends=$(dpkg-deb -f "$deb" Depends)
[ -n "$depends" ] || fail "the package has no Depends"
for lib in libc6 libqt6widgets6; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

root="$out/root"
dpkg-deb -x "$deb" "$root"
doc="$root/usr/share/doc/pelmora"
grep -q '^License: Expat' "$doc/copyright" 2>/dev/null || fail "no Expat licence in $doc/copyright"
if [ -f "$doc/changelog.gz" ]; then
  gzip -t "$doc/changelog.gz" || fail "changelog.gz is no gzip file"
  version=$(dpkg-deb -f "$deb" Version)
  zcat "$doc/changelog.gz" | head -1 | grep -qF "pelmora ($version)" ||
    fail "the changelog's first entry is not version $version"
else
  fail "no changelog.gz"
fi

for page in pelmora pelmora-check; do
  gz="$root/usr/share/man/man1/$page.1.gz"
  [ -f "$gz" ] || {
    fail "$page.1.gz is not installed"
    continue
  }
  [ ! -e "${gz%.gz}" ] || fail "$page.1 is installed uncompressed as well"
  title=$(zcat "$gz" | head -1)
  grep -q '@' <<<"$title" && fail "$page.1 has an unfilled title line: $title"
  if command -v groff >/dev/null; then
    warnings=$(zcat "$gz" | groff -man -ww -z -Tutf8 2>&1)
    [ -z "$warnings" ] || fail "$page.1 formats with warnings: $warnings"
  fi
done

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
if ! command -v lintian >/dev/null; then
  echo "skipped: lintian not installed"
  exit 77
fi
# Informational tags are fine; any error or warning fails, and so does lintian failing to run.
if ! report=$(lintian --tag-display-limit 0 --fail-on error,warning "$deb" 2>&1) ||
  grep -q '^[EW]: ' <<<"$report"; then
  echo "$report" >&2
  echo "FAIL: lintian" >&2
  exit 1
fi
echo "package OK: $depends"
