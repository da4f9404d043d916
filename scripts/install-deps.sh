#!/bin/sh
# Installs the Debian 12 packages that building, running, testing and
# packaging need, and only when something is missing. Works as root or
# through sudo.
#
# The build dependencies are those of debian/control (Build-Depends), so
# there is one list; to them come the tools that the test suite, the
# package build and its checks use beside the build.
set -e
cd "$(dirname "$0")/.."

# Build-Depends of debian/control, one name a line: the field with its
# continuation lines, split at commas, the first of alternatives, without
# versions, architectures and build profiles. debhelper-compat is provided
# by debhelper.
build_depends=$(awk '
    /^Build-Depends:/ { field = 1; sub(/^Build-Depends:/, ""); print; next }
    field && /^[ \t]/ { print; next }
    { field = 0 }
' debian/control | tr '\n' ' ' | tr ',' '\n' | sed \
    -e 's/|.*//' -e 's/([^)]*)//g' -e 's/\[[^]]*\]//g' -e 's/<[^>]*>//g' \
    -e 's/:[a-z0-9-]*//' -e 's/^[ \t]*//' -e 's/[ \t]*$//' -e 's/^debhelper-compat$/debhelper/' |
    grep -v '^$')
if [ -z "$build_depends" ]; then
    echo "install-deps.sh: no Build-Depends found in debian/control" >&2
    exit 1
fi

# The compiler and make, which a Debian build takes for granted
# (build-essential); the tests and running the editor under X (xvfb,
# xauth); the package build and lintian.
tools="build-essential xvfb xauth desktop-file-utils appstream qt6-translations-l10n
dpkg-dev debhelper lintian fakeroot"
# strace makes a read fail in the tests of tarvo-prg (they skip without it).
tools="$tools strace"

missing=""
for p in $build_depends $tools; do
    case " $missing " in *" $p "*) continue ;; esac
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
