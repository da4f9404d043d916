#!/bin/sh
# Builds the Debian packages in a clean root of a Debian release, as a
# build daemon would, and checks them there:
#
#   scripts/build-in-clean-root.sh [--reproducible] [--fresh] [--keep] RELEASE
#
# RELEASE is bookworm (Debian 12) or trixie (Debian 13). The steps:
#   1. a pristine root of RELEASE (debootstrap, variant buildd), made once
#      and kept; every run works in copies of it, brought up to date first;
#   2. in one copy, the Build-Depends alone (apt-get build-dep), then
#      dpkg-buildpackage as an ordinary user with the test suite, so that a
#      missing Build-Depends or a test that needs root shows; lintian of
#      that release (-EvIL +pedantic) on the source and binary packages,
#      which must name nothing; the autopkgtest of debian/tests;
#   3. with --reproducible, a second build in another folder, with another
#      umask, time zone and locale (and without the tests): every .deb
#      must be bit-identical to the first build's;
#   4. in a second copy, the packages installed with apt as a user would
#      (with what they recommend) and purged; then installed again, the
#      smoke test of debian/tests run against them as an ordinary user
#      (programs with no locale and in a CP1251 locale, the editor under
#      Xvfb), and purged: the root must be as after the first purge, file
#      for file (what they brought in, Qt and the rest, stays for that
#      comparison; apt's and dpkg's own records are left out of it).
#
# Runs as root (debootstrap, chroot, mounts); needs debootstrap and reaches
# the Debian archive. The roots, the package cache and the results live
# under $TARVO_ROOTS (default /var/tmp/tarvo-roots), never in the
# repository; the results of the last run of RELEASE stay in
# $TARVO_ROOTS/RELEASE/out. --fresh makes the pristine root anew; --keep
# leaves the working copies for a look inside. TARVO_JOBS (default 2) is
# the build's parallel jobs; TARVO_MIRROR the archive.
set -eu

usage()
{
    echo "usage: $0 [--reproducible] [--fresh] [--keep] bookworm|trixie" >&2
    exit 2
}

repo=$(cd "$(dirname "$0")/.." && pwd)
self="$repo/scripts/$(basename "$0")"
roots=${TARVO_ROOTS:-/var/tmp/tarvo-roots}
mirror=${TARVO_MIRROR:-http://deb.debian.org/debian}
jobs=${TARVO_JOBS:-2}

# ---------------------------------------------------------------------------
# Steps that run inside a private mount namespace (see enter_root): every
# mount made there goes when the step ends, whatever way it ends, so no
# mount outlives a run and removing a working copy never reaches into the
# host's /dev or the package cache.

# mount_root ROOT CACHE: what a chroot needs to build and run programs.
mount_root()
{
    mount -t proc proc "$1/proc"
    mount -t sysfs sysfs "$1/sys"
    mount --rbind /dev "$1/dev"
    mkdir -p "$2"
    mount --bind "$2" "$1/var/cache/apt/archives"
    cp /etc/resolv.conf "$1/etc/resolv.conf"
}

# in_root ROOT COMMAND...: COMMAND run by sh in ROOT, as root, with a plain
# environment.
in_root()
{
    _root=$1
    shift
    chroot "$_root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive /bin/sh -ec "$*"
}

# in_root_offline ROOT COMMAND...: the same without the network, in a
# network namespace of its own: an X server started there shares no socket
# name with one on the host (X's abstract sockets belong to the network
# namespace, not to the root).
in_root_offline()
{
    _root=$1
    shift
    unshare --net -- chroot "$_root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive /bin/sh -ec "$*"
}

# The root's package lists and packages brought up to date; the cache of
# downloaded packages is shared by every copy of the release.
refresh_root()
{
    in_root "$1" 'apt-get update -qq && apt-get -y -qq -o Dpkg::Use-Pty=0 dist-upgrade >/dev/null'
}

# A list of the root's files and what they hold, for telling what an
# install and purge left behind: the places that change by themselves or
# belong to apt's and dpkg's own bookkeeping are left out.
snapshot()
{
    in_root "$1" '
        files() {
            find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
                -o -path /var/tmp -o -path /var/log -o -path /var/cache/apt -o -path /var/lib/apt \
                -o -path /root -o -path /home -o -path /var/cache/debconf -o -path /var/cache/ldconfig \
                -o -path "/var/lib/dpkg/*-old" -o -path /var/lib/dpkg/status \
                -o -path /var/lib/dpkg/lock -o -path /var/lib/dpkg/lock-frontend \
                -o -path /var/lib/dpkg/triggers/Lock \) -prune -o "$@"
        }
        { files -printf "%p %M %u:%g %l\n"; files -type f -print0 | xargs -0 md5sum; } | LC_ALL=C sort'
}

# failed OUT MESSAGE: a check that failed; the run goes on with the next and
# fails at its end.
failed()
{
    echo "$2" >&2
    echo "$2" >>"$1/failures"
}

stage_build()
{
    release=$1 work=$2 out=$3 reproducible=$4
    mount_root "$work/build" "$roots/$release/cache"
    refresh_root "$work/build"
    # The Build-Depends as a build daemon installs them: nothing
    # recommended, so that only what debian/control names is there.
    in_root "$work/build" '
        apt-get -y -qq -o Dpkg::Use-Pty=0 -o APT::Install-Recommends=false build-dep /build/src/tarvo >/dev/null
        id builder >/dev/null 2>&1 || useradd --home-dir /build --no-create-home --shell /bin/sh builder
        chown -R builder: /build'
    echo "== $release: dpkg-buildpackage with the test suite"
    in_root "$work/build" "cd /build/src/tarvo && runuser -u builder -- env -i PATH=/usr/bin:/bin HOME=/build \
        LC_ALL=C.UTF-8 TZ=UTC DEB_BUILD_OPTIONS=parallel=$jobs sh -c 'umask 022 && dpkg-buildpackage -us -uc'" \
        >"$out/build.log" 2>&1 || {
        tail -n 80 "$out/build.log"
        echo "$release: the build failed; its log is $out/build.log" >&2
        return 1
    }
    grep -E '^[0-9]+% tests passed|tests passed, ' "$out/build.log" || true

    echo "== $release: lintian -EvIL +pedantic"
    in_root "$work/build" 'apt-get -y -qq -o Dpkg::Use-Pty=0 -o APT::Install-Recommends=false install lintian >/dev/null'
    in_root "$work/build" 'lintian --version'
    # The packages follow the Debian policy of Debian 13 (Standards-Version
    # 4.7.2), which Debian 12's lintian, knowing policy up to 4.6.2, calls
    # newer than itself: that one tag is left out there.
    suppress=""
    [ "$release" = bookworm ] && suppress="--suppress-tags newer-standards-version"
    if in_root "$work/build" "cd /build/src && runuser -u builder -- lintian -EvIL +pedantic $suppress \
        --fail-on error,warning,info,pedantic,experimental tarvo_*.changes" >"$out/lintian.log" 2>&1 &&
        ! grep -qE '^[EWIPX]: ' "$out/lintian.log"; then
        echo "lintian: nothing named"
    else
        grep -v '^N: ' "$out/lintian.log" >&2 || true
        failed "$out" "$release: lintian named something; its report is $out/lintian.log"
    fi

    echo "== $release: autopkgtest"
    # The test's Depends are there before it runs without the network.
    in_root "$work/build" 'apt-get -y -qq -o Dpkg::Use-Pty=0 install autopkgtest \
        $(sed -n "/^Depends:/,/^[A-Z]/s/^ \([a-z0-9.+-]*\),$/\1/p" /build/src/tarvo/debian/tests/control |
          grep -v "^tarvo") >/dev/null'
    if in_root_offline "$work/build" 'cd /build/src && autopkgtest tarvo_*.deb tarvo-prg_*.deb tarvo/ -- null' \
        >"$out/autopkgtest.log" 2>&1; then
        sed -n '/@@@ summary/,$p' "$out/autopkgtest.log" | grep -E 'PASS|FAIL|SKIP'
    else
        tail -n 60 "$out/autopkgtest.log"
        failed "$out" "$release: the autopkgtest failed; its log is $out/autopkgtest.log"
    fi
    for file in "$work/build/build/src/"*; do
        [ ! -f "$file" ] || cp "$file" "$out/"
    done

    [ "$reproducible" = yes ] || return 0
    # The source package unpacked elsewhere and built again with another
    # umask, time zone and locale.
    echo "== $release: a second build for the comparison (another path, umask, time zone, locale)"
    in_root "$work/build" '
        localedef -i bg_BG -f UTF-8 bg_BG.UTF-8
        mkdir -p /srv/other/place && cd /srv/other/place
        dpkg-source -x /build/src/tarvo_*.dsc tarvo-source >/dev/null
        chown -R builder: /srv/other'
    in_root "$work/build" "cd /srv/other/place/tarvo-source && runuser -u builder -- env -i PATH=/usr/bin:/bin \
        HOME=/srv/other LANG=bg_BG.UTF-8 LC_ALL=bg_BG.UTF-8 TZ=Asia/Tokyo \
        DEB_BUILD_OPTIONS='nocheck parallel=$jobs' sh -c 'umask 002 && dpkg-buildpackage -us -uc -b'" \
        >"$out/build-again.log" 2>&1 || {
        tail -n 40 "$out/build-again.log"
        failed "$out" "$release: the second build failed; its log is $out/build-again.log"
        return 0
    }
    same=yes
    for deb in "$work/build/build/src/"*.deb; do
        name=$(basename "$deb")
        if cmp -s "$deb" "$work/build/srv/other/place/$name"; then
            echo "identical: $name"
        else
            echo "DIFFERENT: $name" >&2
            same=no
        fi
    done
    [ "$same" = yes ] || failed "$out" "$release: the packages are not reproducible"
}

stage_install()
{
    release=$1 work=$2 out=$3
    mount_root "$work/install" "$roots/$release/cache"
    refresh_root "$work/install"
    echo "== $release: install, run, purge"
    # What the checks themselves use, there before the packages come and
    # still there after they go.
    in_root "$work/install" '
        apt-get -y -qq -o Dpkg::Use-Pty=0 -o APT::Install-Recommends=false install \
            locales xvfb xauth x11-utils desktop-file-utils >/dev/null
        localedef -i bg_BG -f CP1251 bg_BG.CP1251
        localedef -i bg_BG -f UTF-8 bg_BG.UTF-8
        id tester >/dev/null 2>&1 || useradd --create-home --shell /bin/sh tester'
    mkdir -p "$work/install/tmp/debs" "$work/install/tmp/tests"
    cp "$out"/tarvo_*.deb "$out"/tarvo-prg_*.deb "$work/install/tmp/debs/"
    cp "$repo/debian/tests/smoke" "$work/install/tmp/tests/"
    # As a user installs them, with what they recommend; then they alone go
    # again, and the root as it is then, with everything they brought, is
    # what their purge must leave.
    install='apt-get -y -qq -o Dpkg::Use-Pty=0 install /tmp/debs/tarvo_*.deb /tmp/debs/tarvo-prg_*.deb >/dev/null'
    purge='apt-get -y -qq -o Dpkg::Use-Pty=0 purge tarvo tarvo-prg >/dev/null'
    in_root "$work/install" "$install && $purge"
    snapshot "$work/install" >"$out/before-install.txt"
    in_root "$work/install" "$install"
    in_root_offline "$work/install" 'chmod 755 /tmp/tests/smoke && runuser -u tester -- env -i PATH=/usr/bin:/bin \
        HOME=/home/tester /tmp/tests/smoke' ||
        failed "$out" "$release: the smoke test of the installed packages failed"
    in_root "$work/install" "$purge"
    snapshot "$work/install" >"$out/after-purge.txt"
    if diff -u "$out/before-install.txt" "$out/after-purge.txt" >"$out/trace.diff"; then
        echo "purge: the root is as it was before the install"
    else
        head -n 60 "$out/trace.diff" >&2
        failed "$out" "$release: the purged packages left a trace; the whole difference is $out/trace.diff"
    fi
}

# ---------------------------------------------------------------------------

if [ "${1:-}" = "--stage" ]; then
    shift
    stage=$1
    shift
    "stage_$stage" "$@"
    exit
fi

reproducible=no fresh=no keep=no release=""
for argument in "$@"; do
    case $argument in
    --reproducible) reproducible=yes ;;
    --fresh) fresh=yes ;;
    --keep) keep=yes ;;
    bookworm | trixie) release=$argument ;;
    *) usage ;;
    esac
done
[ -n "$release" ] || usage
if [ "$(id -u)" -ne 0 ]; then
    echo "$0: needs root (debootstrap, chroot, mounts)" >&2
    exit 2
fi
command -v debootstrap >/dev/null || {
    echo "$0: needs debootstrap (apt-get install debootstrap)" >&2
    exit 2
}

started=$(date +%s)
base="$roots/$release"
pristine="$base/pristine"
work="$base/work.$$"
out="$base/out"
mkdir -p "$base/cache/debootstrap"

# enter_root STAGE ARGS...: a step of this script in a private mount
# namespace of its own.
enter_root()
{
    unshare --mount --propagation private -- sh "$self" --stage "$@"
}

cleanup()
{
    # The namespaces of the steps are gone by now, and their mounts with
    # them; --one-file-system guards against any left all the same.
    if [ "$keep" = no ] && [ -d "$work" ]; then
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "$fresh" = yes ] || [ ! -e "$pristine/.tarvo-pristine" ]; then
    echo "== $release: a pristine root (debootstrap --variant=buildd)"
    rm -rf --one-file-system "$pristine" "$pristine.new"
    unshare --mount --propagation private -- debootstrap --variant=buildd \
        --cache-dir="$base/cache/debootstrap" "$release" "$pristine.new" "$mirror" >"$base/debootstrap.log" 2>&1 || {
        tail -n 20 "$base/debootstrap.log"
        echo "$0: debootstrap failed; its log is $base/debootstrap.log" >&2
        exit 1
    }
    security=http://deb.debian.org/debian-security
    {
        echo "deb $mirror $release main"
        echo "deb $mirror $release-updates main"
        echo "deb $security $release-security main"
    } >"$pristine.new/etc/apt/sources.list"
    # Nothing that a package installs starts a service in the root.
    printf '#!/bin/sh\nexit 101\n' >"$pristine.new/usr/sbin/policy-rc.d"
    chmod 755 "$pristine.new/usr/sbin/policy-rc.d"
    printf 'Acquire::Languages "none";\nAPT::Keep-Downloaded-Packages "true";\n' \
        >"$pristine.new/etc/apt/apt.conf.d/90tarvo-clean-root"
    touch "$pristine.new/.tarvo-pristine"
    mv "$pristine.new" "$pristine"
fi

rm -rf --one-file-system "$out"
mkdir -p "$work" "$out"
cp -a "$pristine" "$work/build"
cp -a "$pristine" "$work/install"
# The source as git knows it (committed, or new and not ignored), without
# any build folder of the working tree.
mkdir -p "$work/build/build/src/tarvo"
(cd "$repo" && git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$work/build/build/src/tarvo")

enter_root build "$release" "$work" "$out" "$reproducible"
enter_root install "$release" "$work" "$out"

finished=$(date +%s)
took="$(((finished - started) / 60)) min $(((finished - started) % 60)) s"
if [ -s "$out/failures" ]; then
    echo "== $release: FAILED after $took:" >&2
    cat "$out/failures" >&2
    exit 1
fi
echo "== $release: all checks passed in $took; the packages and logs are in $out"
