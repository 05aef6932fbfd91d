#!/bin/sh
# Rebuilds the built-in language files res/embedded/lang1.ini .. lang3.ini (UTF-16 little endian
# with a byte-order mark) from their UTF-8 sources in res/lang/. The generated files are kept in
# the repository, so a build never needs this script; run it after editing a source.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
for n in 1 2 3; do
  out="$here/embedded/lang$n.ini"
  tmp="$out.tmp"
  printf '\377\376' >"$tmp"
  iconv -f UTF-8 -t UTF-16LE "$here/lang/lang$n.txt" >>"$tmp"
  mv "$tmp" "$out"
done
