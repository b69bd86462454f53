#!/usr/bin/env bash
# Checks an installed Vidoteq: the menu entry, icon and metainfo are in place and valid, and the
# menu entry's command starts the window on a first start (it makes the starter catalog).
set -euo pipefail
prefix=${1:-/usr}
desktop=$prefix/share/applications/org.morvik.Vidoteq.desktop
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.morvik.Vidoteq.metainfo.xml"
test -s "$prefix/share/icons/hicolor/scalable/apps/org.morvik.Vidoteq.svg"
# .vdq files are catalogs to the desktop; the manuals and the tool's completion are in place.
grep -q 'application/x-vidoteq-catalog' "$prefix/share/mime/packages/org.morvik.Vidoteq.xml"
# The desktop's database has taken the type in (dpkg's trigger ran update-mime-database).
if command -v update-mime-database >/dev/null; then
  test -s "$prefix/share/mime/application/x-vidoteq-catalog.xml"
fi
grep -q '^MimeType=application/x-vidoteq-catalog;' "$desktop"
test -s "$prefix/share/man/man1/vidoteq.1.gz"
test -s "$prefix/share/man/man1/vidoteq-cli.1.gz"
test -s "$prefix/share/bash-completion/completions/vidoteq-cli"
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1)
# The file the desktop hands over (%f) is left out: the check starts the program on its own.
exec_line=${exec_line// %[fFuU]/}
command -v "${exec_line%% *}" >/dev/null
# The intake probes files, and old catalogs are read, in worker processes of these programs, found
# beside the window's.
test -x "$(dirname "$(command -v "${exec_line%% *}")")/vidoteq-probe"
test -x "$(dirname "$(command -v "${exec_line%% *}")")/vidoteq-convert"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data QT_QPA_PLATFORM=offscreen
sh -c "$exec_line" >"$home/out.log" 2>&1 &
pid=$!
catalog=$XDG_DATA_HOME/Morvik/Vidoteq/vidoteq.vdq
for _ in $(seq 1 100); do
  [ -s "$catalog" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
sleep 1
if ! kill -0 "$pid" 2>/dev/null; then
  echo "the installed window did not stay up:" >&2
  cat "$home/out.log" >&2
  exit 1
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
test -s "$catalog" || { echo "no starter catalog at $catalog" >&2; exit 1; }
vidoteq-cli --catalog "$catalog" stats
echo "the installed Vidoteq starts from its menu entry: $exec_line"
