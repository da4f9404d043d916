#!/bin/bash
# tarvo-prg against the tools a fleet script would otherwise use, side by
# side in one run on the same files (page cache warm, every command run
# BENCH_FLEET_RUNS times in turn, the median wall time shown):
#
# - check of 3,000 typical CP1251 program files (26 parameters,
#   50 departments, 8 header lines, a comment and 4 payments each) against
#   bench/check.awk under mawk, which makes the same checks, and against
#   cat of the same files (reading the bytes is the floor);
# - the peak memory of check over the 3,000 files;
# - set --cell department.3.price=1.30 over the same 3,000 files, and over
#   30,000 (the fleet ten times), against LC_ALL=C sed -i making the same
#   change on the same files (set puts every file on disk before it takes
#   its old one's place; sed does not), and the peak memory of set over the
#   30,000 files.
#
#   bench/fleet.sh [TARVO_PRG]      default: build/tarvo-prg
#
# Needs bash (its clock takes no process), mawk, GNU sed, and GNU time
# (/usr/bin/time) for the memory figures.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
prg=$(readlink -f "${1:-"$repo/build/tarvo-prg"}")
runs=${BENCH_FLEET_RUNS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# One typical document as JSON; every machine of the fleet gets its own
# prices and header line.
items() { # COUNT MAKE: MAKE 1 .. MAKE COUNT, with commas between
    local i
    for ((i = 1; i <= $1; i++)); do
        ((i > 1)) && printf ','
        "$2" "$i"
    done
}
param() { printf '"%d"' $(($1 * 7 % 100)); }
department() { printf '{"name":"Минерална вода %d","price":"1.%02d","tax":"Б","digits":"2"}' "$1" $(($1 % 100)); }
header() { printf '"АВТОМАТ ЗА НАПИТКИ %d"' "$1"; }
payment() { printf '{"name":"Плащане %d","value":"1.00","index":"%d"}' "$1" $(($1 - 1)); }
printf '{"params":[%s],"departments":[%s],"headerLines":[%s],"comment":"Склад 3","payments":[%s]}\n' \
    "$(items 26 param)" "$(items 50 department)" "$(items 8 header)" "$(items 4 payment)" >"$work/base.json"
export SOURCE_DATE_EPOCH=1700000000 # every file written carries the same stamp
"$prg" build --encoding CP1251 "$work/base.prg" <"$work/base.json"

mkdir "$work/fleet"
LC_ALL=C awk -v dir="$work/fleet" '
    { line[NR] = $0 }
    END {
        for (m = 1; m <= 3000; m++) {
            out = sprintf("%s/machine%04d.prg", dir, m)
            for (i = 1; i <= NR; i++) {
                l = line[i]
                if (l ~ /^D\t/) {
                    n = split(l, f, "\t")
                    f[5] = sprintf("%d.%02d", 1 + (m + i) % 9, (m * i) % 100)
                    l = f[1]
                    for (k = 2; k <= n; k++) l = l "\t" f[k]
                } else if (l ~ /^H\t1\t/) {
                    sub(/\t[^\t]*\r$/, sprintf("\tАВТОМАТ %04d\r", m), l)
                }
                print l > out
            }
            close(out)
        }
    }' "$work/base.prg"

median_ms() { # command...; prints the median wall time in ms of $runs runs
    times=""
    r=0
    while [ $r -lt "$runs" ]; do
        start=${EPOCHREALTIME/./}
        "$@" >/dev/null 2>&1 || true
        end=${EPOCHREALTIME/./}
        times="$times $((end - start))"
        r=$((r + 1))
    done
    echo $times | tr ' ' '\n' | sort -n | awk '{ t[NR] = $1 } END { printf "%.1f", t[int((NR + 1) / 2)] / 1000 }'
}

cd "$work/fleet"
set -- machine*.prg
check_prg() { "$prg" check --encoding CP1251 "$@"; }
awk=$(command -v mawk || command -v awk)
check_awk() { LC_ALL=C "$awk" -f "$repo/bench/check.awk" "$@"; }

# Both find nothing in the fleet, and the same in a file of faults, or they
# would not be making the same checks.
check_prg "$@" >"$work/prg.out" || { echo "tarvo-prg check found something in the fleet" >&2; exit 1; }
check_awk "$@" >"$work/awk.out" || { echo "check.awk found something in the fleet" >&2; exit 1; }
printf 'X\t1\ta\r\nS\t99\tb\r\nS\tfive\tc\r\nS\t\td\r\nC\t3\te\r\nD\t2\tn\tt\t1,50\t2\r\n%b' \
    'D\t3\tn\tt\t1.5\t2.5\r\nY\t1\tn\tabc\t0\r\nD\t4\tn\tt\t1e5\t99999999999\r\n' >"$work/faults.prg"
check_prg "$work/faults.prg" >"$work/prg.out" || true
check_awk "$work/faults.prg" >"$work/awk.out" || true
if ! cmp -s "$work/prg.out" "$work/awk.out" || [ ! -s "$work/prg.out" ]; then
    echo "tarvo-prg check and check.awk disagree on a file of faults" >&2
    diff "$work/prg.out" "$work/awk.out" >&2 || true
    exit 1
fi

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(uname -sr), load $(cut -d" " -f1-3 /proc/loadavg)"
echo "awk: $(readlink -f "$awk"), $("$awk" -W version 2>/dev/null | head -n 1)"
echo "fleet: $# files, $(cat "$@" | wc -c) bytes"
echo

mid() { echo $* | tr ' ' '\n' | sort -n | sed -n 2p; }

# LABEL AIM NAME1 COMMAND1 NAME2 COMMAND2: the two commands (functions) in
# turn for three rounds, so that a change of load hits both; the middle of
# each one's three medians, and their ratio against the aim.
side_by_side() {
    local a_ms="" b_ms="" round x y
    for ((round = 0; round < 3; round++)); do
        a_ms="$a_ms $(median_ms "$4")"
        b_ms="$b_ms $(median_ms "$6")"
    done
    x=$(mid $a_ms) y=$(mid $b_ms)
    printf '%-19s %s %8.1f ms   %s %8.1f ms   ratio %.2f (aim <= %s)\n' "$1:" "$3" "$x" "$5" "$y" \
        "$(echo "$x $y" | awk '{ print $1 / $2 }')" "$2"
}

fleet=("$@")
check_fleet_prg() { check_prg "${fleet[@]}"; }
check_fleet_awk() { check_awk "${fleet[@]}"; }
read_fleet_cat() { cat "${fleet[@]}"; }

side_by_side "check, 3000 files" 0.1 tarvo-prg check_fleet_prg awk check_fleet_awk
side_by_side "check, 3000 files" 1.2 tarvo-prg check_fleet_prg cat read_fleet_cat

if [ -x /usr/bin/time ]; then
    m=$(/usr/bin/time -f %M "$prg" check --encoding CP1251 "${fleet[@]}" 2>&1 >/dev/null)
    printf 'check, peak memory: 3000 files %d KiB\n' "$m"
fi

# set against sed -i: the same change to the same files. Both leave the files
# byte for byte alike, or they would not be doing the same work.
set_prg() { "$prg" set --encoding CP1251 --cell department.3.price=1.30 "$@"; }
set_sed() { LC_ALL=C sed -i 's/^\(D\t3\t[^\t]*\t[^\t]*\t\)[^\t]*/\11.30/' "$@"; }
mkdir "$work/by-set" "$work/by-sed"
cp "${fleet[@]}" "$work/by-set/"
cp "${fleet[@]}" "$work/by-sed/"
(cd "$work/by-set" && set_prg machine*.prg) || { echo "tarvo-prg set failed on the fleet" >&2; exit 1; }
(cd "$work/by-sed" && set_sed machine*.prg)
if ! diff -r -q "$work/by-set" "$work/by-sed" >/dev/null; then
    echo "tarvo-prg set and sed -i leave different files" >&2
    exit 1
fi
rm -rf "$work/by-set" "$work/by-sed"

set_fleet_prg() { set_prg "${fleet[@]}"; }
set_fleet_sed() { set_sed "${fleet[@]}"; }
side_by_side "set, 3000 files" 1.5 tarvo-prg set_fleet_prg sed set_fleet_sed

# 30,000 files: the fleet ten times, in ten folders.
big=()
for ((copy = 0; copy < 10; copy++)); do
    mkdir "$work/fleet$copy"
    cp "${fleet[@]}" "$work/fleet$copy/"
    big+=("$work/fleet$copy"/machine*.prg)
done
set_big_prg() { set_prg "${big[@]}"; }
set_big_sed() { set_sed "${big[@]}"; }
runs=3 side_by_side "set, 30000 files" 1.5 tarvo-prg set_big_prg sed set_big_sed
if [ -x /usr/bin/time ]; then
    m=$(/usr/bin/time -f %M "$prg" set --encoding CP1251 --cell department.3.price=1.30 "${big[@]}" 2>&1 >/dev/null)
    printf 'set, peak memory: 30000 files %d KiB (aim <= 30 MB)\n' "$m"
fi
