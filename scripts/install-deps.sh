#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need,
# and only when something is missing. Works as root or through sudo.
set -e
packages="cmake g++ make qt6-base-dev qt6-5compat-dev qt6-tools-dev qt6-tools-dev-tools
qt6-l10n-tools qt6-translations-l10n libgl-dev xvfb xauth desktop-file-utils appstream"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
    as_root=""
else
    as_root="sudo"
fi
echo "Installing:$missing"
$as_root apt-get update -qq
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
