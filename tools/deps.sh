#!/usr/bin/env bash
# Installs the Debian packages Vidoteq needs (only what is missing).
#   tools/deps.sh run    to build and run the program
#   tools/deps.sh test   to build and run every test too (the default)
#   tools/deps.sh package  to make the Debian package
#   tools/deps.sh ci     everything CI checks as well: format, package, desktop files
set -euo pipefail
what=${1:-test}
# libqt6opengl6-dev: Qt Charts' CMake files need Qt's OpenGL ones, and Debian 12's qt6-charts-dev
# does not bring them.
run=(cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n qt6-tools-dev qt6-l10n-tools
     libsqlite3-dev libmediainfo-dev libxlsxwriter-dev mdbtools-dev libblkid-dev librhash-dev
     qt6-charts-dev libqt6opengl6-dev)
test=(libgtest-dev ffmpeg unzip e2fsprogs xfsprogs mount)
package=(dpkg-dev file)
ci=(clang-format desktop-file-utils appstream lintian shared-mime-info)
case "$what" in
  run) packages=("${run[@]}") ;;
  test) packages=("${run[@]}" "${test[@]}") ;;
  package) packages=("${run[@]}" "${package[@]}") ;;
  ci) packages=("${run[@]}" "${test[@]}" "${package[@]}" "${ci[@]}") ;;
  *) echo "usage: tools/deps.sh [run|test|package|ci]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sh -c "$install"
elif command -v sudo >/dev/null 2>&1; then
  sudo sh -c "$install"
else
  # Debian leaves sudo out when a root password is set at install: say what to run as root.
  {
    echo "Vidoteq needs these Debian packages, which are not installed: ${missing[*]}"
    echo "This user is not root and sudo is not installed. Install them as root, then run this again:"
    echo "  su -c '$install'"
  } >&2
  exit 1
fi
