#!/bin/sh
# Installs the Debian packages (Debian 12 or 13) that building, running,
# testing and packaging need, and only when something is missing. Works as
# root or through sudo.
#
# The build dependencies are the Build-Depends of debian/control, with their
# versions and those the tests use (marked <!nocheck>), so there is one
# list: apt-get build-dep reads it from there. To them come the tools used
# beside the build: an X server for running the editor without a desktop,
# lintian for the packages, debootstrap for the clean-root build
# (scripts/build-in-clean-root.sh).
set -e
cd "$(dirname "$0")/.."

tools="xvfb xauth x11-utils lintian debootstrap"

missing=""
for p in $tools; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# dpkg-checkbuilddeps (dpkg-dev) says whether the Build-Depends are met.
if [ -z "$missing" ] && command -v dpkg-checkbuilddeps >/dev/null && dpkg-checkbuilddeps 2>/dev/null; then
    exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
    as_root=""
else
    as_root="sudo"
fi
$as_root apt-get update -qq
echo "Installing the Build-Depends of debian/control${missing:+ and$missing}"
$as_root env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq --no-install-recommends ./
if [ -n "$missing" ]; then
    # shellcheck disable=SC2086
    $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
