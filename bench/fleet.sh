#!/bin/bash
# tarvo-prg against the tools a fleet script would otherwise use, side by
# side in one run on the same files (page cache warm, every command run
# BENCH_FLEET_RUNS times in turn, the median wall time shown):
#
# - check of 3,000 typical CP1251 program files (26 parameters,
#   50 departments, 8 header lines, a comment and 4 payments each) against
#   bench/check.awk, which makes the same checks;
# - dump of a valid 50 MB program file (whole files one after another)
#   against wc -l of the same file, and the peak memory of dump for that
#   file and for a 5 MB one.
#
#   bench/fleet.sh [TARVO_PRG]      default: build/tarvo-prg
#
# Needs bash (its clock takes no process) and GNU time (/usr/bin/time) for
# the memory figures.
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
SOURCE_DATE_EPOCH=1700000000 "$prg" build --encoding CP1251 "$work/base.prg" <"$work/base.json"

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

# The valid 50 MB file, and one of 5 MB for the memory comparison.
i=0
while [ $i -lt 64 ]; do cat "$work/base.prg"; i=$((i + 1)); done >"$work/block.prg"
: >"$work/valid50.prg"
while [ "$(stat -c %s "$work/valid50.prg")" -lt 52428800 ]; do cat "$work/block.prg" >>"$work/valid50.prg"; done
head -c 5242880 "$work/valid50.prg" | sed '$d' >"$work/valid5.prg"
# The same records in UTF-8, cut to 50 MB of whole lines, for the default
# encoding "System" in a UTF-8 locale.
iconv -f CP1251 -t UTF-8 "$work/valid50.prg" | head -c 52428800 | sed '$d' >"$work/valid50u.prg"

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
check_awk() { LC_ALL=C awk -f "$repo/bench/check.awk" "$@"; }

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
echo "awk: $(readlink -f "$(command -v awk)"), $(awk -W version 2>/dev/null | head -n 1)"
echo "fleet: $# files, $(cat "$@" | wc -c) bytes; valid file: $(stat -c %s "$work/valid50.prg") bytes, $(wc -l <"$work/valid50.prg") lines"
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
dump_cp1251() { "$prg" dump --encoding CP1251 "$work/valid50.prg"; }
count_cp1251() { wc -l "$work/valid50.prg"; }
dump_utf8() { LC_ALL=C.UTF-8 "$prg" dump "$work/valid50u.prg"; }
count_utf8() { wc -l "$work/valid50u.prg"; }

side_by_side "check, 3000 files" 1 tarvo-prg check_fleet_prg awk check_fleet_awk
side_by_side "dump, 50 MB file" 8 tarvo-prg dump_cp1251 "wc -l" count_cp1251
side_by_side "dump, 50 MB UTF-8" 8 tarvo-prg dump_utf8 "wc -l" count_utf8

cd "$work"
if [ -x /usr/bin/time ]; then
    m5=$(/usr/bin/time -f %M "$prg" dump --encoding CP1251 valid5.prg 2>&1 >/dev/null)
    m50=$(/usr/bin/time -f %M "$prg" dump --encoding CP1251 valid50.prg 2>&1 >/dev/null)
    printf 'dump, peak memory:  5 MB file %d KiB   50 MB file %d KiB\n' "$m5" "$m50"
fi
