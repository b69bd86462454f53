#!/bin/sh
# Runs the window under Xvfb on a small generated catalog and saves each page as a PNG.
#   tools/screenshot.sh [build folder] [output folder]
# Needs the targets vidoteq and gen_catalog built in the build folder, xvfb-run and ImageMagick.
# LOCALE=en_US.UTF-8 shows the English window (the default C.UTF-8 shows the Russian one).
set -eu
BUILD=$(cd "${1:-build}" && pwd)
OUT=${2:-screenshots}
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$BUILD/gen_catalog" "$tmp/sample.vdq" 60 900 >/dev/null
for page in ${PAGES:-0 1 2 3 4}; do
    rm -rf "$tmp/config"
    mkdir -p "$tmp/config/Morvik"
    # The settings file stands in for the registry key; the page is chosen through it.
    printf '[View]\nData=%s\nActivePage=%s\nLeft=0\nTop=0\n' "$tmp/sample.vdq" "$page" \
        >"$tmp/config/Morvik/Vidoteq.ini"
    XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" HOME="$tmp" LC_ALL="${LOCALE:-C.UTF-8}" \
        xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
            "$0/vidoteq" & pid=$!
            sleep 4
            import -window root "$1/raw.png"
            kill $pid; wait $pid 2>/dev/null || true' "$BUILD" "$tmp"
    convert "$tmp/raw.png" -crop 1090x876+0+0 +repage "$OUT/page$page.png"
    echo "$OUT/page$page.png"
done
