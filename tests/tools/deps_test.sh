#!/usr/bin/env bash
# The install step as a user without root: with sudo it asks sudo, without it it names what is
# missing and the command to run as root, and stops with status 1.
#   deps_test.sh SOURCE_FOLDER
set -u
src=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
cp "$src/tools/deps.sh" "$tmp/deps.sh"
mkdir "$tmp/bin"
for t in bash sh id grep cat; do ln -s "$(command -v $t)" "$tmp/bin/$t"; done
# Every package is missing.
printf '#!/bin/sh\nexit 1\n' >"$tmp/bin/dpkg-query"
chmod 755 "$tmp/bin/dpkg-query" "$tmp"/deps.sh
fails=0
check() { # description, condition
  if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fails=$((fails + 1)); fi
}
# Runs deps.sh as an ordinary user with only $tmp/bin on the path.
as_user() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=65534 --regid=65534 --clear-groups env -i PATH="$tmp/bin" HOME="$tmp" bash "$tmp/deps.sh" "$@"
  else
    env -i PATH="$tmp/bin" HOME="$tmp" bash "$tmp/deps.sh" "$@"
  fi
}

as_user run >"$tmp/out" 2>"$tmp/err"
rc=$?
check "without sudo: exit status 1 (got $rc)" '[ $rc -eq 1 ]'
check "without sudo: names the missing packages" \
  'grep -q "not installed: cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n" "$tmp/err"'
check "without sudo: gives the command to run as root" \
  'grep -qF "su -c '"'"'apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends cmake" "$tmp/err"'
check "without sudo: says sudo is missing" 'grep -q "sudo is not installed" "$tmp/err"'
check "without sudo: test packages only for the test step" '! grep -q ffmpeg "$tmp/err"'

as_user test >"$tmp/out" 2>"$tmp/err"
check "the test step names ffmpeg and GoogleTest too" 'grep -q "libgtest-dev ffmpeg" "$tmp/err"'

# With sudo, the same install goes through sudo.
printf '#!/bin/sh\necho "$@" >"%s/sudo.args"\n' "$tmp" >"$tmp/bin/sudo"
chmod 755 "$tmp/bin/sudo"
chmod 777 "$tmp"
as_user run >"$tmp/out" 2>"$tmp/err"
rc=$?
check "with sudo: exit status 0 (got $rc)" '[ $rc -eq 0 ]'
check "with sudo: apt-get runs through sudo" 'grep -q "apt-get install -y --no-install-recommends cmake" "$tmp/sudo.args"'

as_user nonsense >"$tmp/out" 2>"$tmp/err"
rc=$?
check "an unknown step is a usage error (got $rc)" '[ $rc -eq 2 ]'

[ $fails -eq 0 ] && echo "all checks passed" || echo "$fails checks failed"
exit $((fails > 0))
