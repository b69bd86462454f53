#!/usr/bin/env bash
# Checks an installed Vidoteq: the menu entry, icon and metainfo are in place and valid, and the
# menu entry's command starts the window on a first start (it makes the starter catalog).
set -euo pipefail
prefix=${1:-/usr}
desktop=$prefix/share/applications/org.morvik.Vidoteq.desktop
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.morvik.Vidoteq.metainfo.xml"
test -s "$prefix/share/icons/hicolor/scalable/apps/org.morvik.Vidoteq.svg"
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1)
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
