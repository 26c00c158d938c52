#!/usr/bin/env bash
# Builds a MIME database from the data file type in $1 (resources/pelmora.xml) in a temporary
# folder and asks the desktop tools what they make of sample files: data files, whatever their
# first line looks like, are ours; other files named .pmd keep the type the system gives them.
# Exits 77 (skipped) when update-mime-database, xdg-mime or gio is missing.
set -euo pipefail

xml=${1:?usage: check_mime.sh MIME_XML}
for tool in update-mime-database xdg-mime gio; do
  command -v "$tool" >/dev/null || {
    echo "skipped: $tool not installed"
    exit 77
  }
done
[ -d /usr/share/mime/packages ] || {
  echo "skipped: no system MIME database"
  exit 77
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

mkdir -p "$tmp/data/mime/packages" "$tmp/files"
cp "$xml" "$tmp/data/mime/packages/"
XDG_DATA_HOME="$tmp/data" update-mime-database "$tmp/data/mime"

# xdg-mime asks gio on a GNOME desktop; the user database of XDG_DATA_HOME comes on top of the
# system one.
query() {
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME="$tmp/data" \
    XDG_DATA_DIRS=/usr/share GIO_USE_VFS=local xdg-mime query filetype "$1"
}

crlf() { printf '%s\r\n' "$@"; }
sample() {  # sample KIND: the bytes of a sample file
  case $1 in
    written) crlf '[Numbers]' 'total=1' 'W=01-02-03-04-05-06' '1=05-12-23-34-45-56' ;;
    capitals) crlf '[NUMBERS]' 'TOTAL=0' ;;
    bom) printf '\xef\xbb\xbf' && crlf '[Numbers]' 'total=0' ;;
    comment-first) crlf '' '; tickets' '[Numbers]' 'total=0' ;;
    # Another program's .pmd: a compound document, as office programs write.
    compound) printf '\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1' && head -c 504 /dev/zero ;;
  esac
}

ours=application/x-pelmora-data
# File name, content, expected type. Names without an extension leave the choice to the
# content alone, which is what a .pmd shared with another type comes down to.
cases=(
  "lotto.pmd written $ours"
  "LOTTO.PMD written $ours"
  "written written $ours"
  "capitals capitals $ours"
  "bom bom $ours"
  "comment-first comment-first $ours"
  "layout.pmd compound application/x-pagemaker"
  "numbers.txt written text/plain"
)
failures=0
for c in "${cases[@]}"; do
  read -r name kind want <<<"$c"
  sample "$kind" >"$tmp/files/$name"
  got=$(query "$tmp/files/$name" 2>&1) || true
  if [ "$got" != "$want" ]; then
    echo "FAIL: $name ($kind) is '$got', expected '$want'" >&2
    failures=$((failures + 1))
  fi
done

[ "$failures" -eq 0 ] || exit 1
echo "MIME type OK"
