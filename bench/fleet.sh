#!/bin/bash
# tarvo-prg against the tools a fleet script would otherwise use, side by
# side in one run, interleaved (each command in turn, round after round, the
# median of each shown with their ratio), so that a change of load hits both:
#
# - check of a fleet of typical CP1251 program files (26 parameters, 50
#   departments, 8 header lines, a comment and 4 payments each; 3,000 files
#   unless BENCH_FLEET_FILES says otherwise) and of that fleet ten times in
#   ten folders (BENCH_FLEET_COPIES, 0 to leave the big fleet out) against
#   cat of the same files (reading the bytes is the floor) and, on the
#   fleet, against bench/check.awk under mawk, which makes the same checks;
#   the peak memory of check;
# - set --cell department.3.price=1.30 over both fleets against
#   LC_ALL=C sed -i making the same change, each run on a fresh copy of the
#   fleet (copied, then put on disk with sync, before the clock starts): set
#   puts every file on disk before it takes its old one's place, sed does
#   not; the peak memory of set over the big fleet;
# - set over the fleet alone, then with another program's 2 GB of
#   written but unsynced data waiting (BENCH_DIRTY_MB, 0 to leave it out):
#   set flushes its own files only, so its time should not change;
# - the one-file commands (dump, check of one file) and --version against
#   cat of that file, the programs started 20 times in turn.
#
#   bench/fleet.sh [TARVO_PRG]      default: build/tarvo-prg
#
# Environment: BENCH_FLEET_RUNS (runs of each command per round, default 5),
# BENCH_FLEET_ROUNDS (default 3), BENCH_DIRTY_MB (default 2048),
# BENCH_FLEET_FILES (default 3000), BENCH_FLEET_COPIES (default 10),
# BENCH_WORK (where the fleets are made; default a temporary folder).
# Needs bash (its clock takes no process), mawk, GNU sed, GNU time
# (/usr/bin/time) for the memory figures, and room for about 2.5 GB.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
prg=$(readlink -f "${1:-"$repo/build/tarvo-prg"}")
runs=${BENCH_FLEET_RUNS:-5}
rounds=${BENCH_FLEET_ROUNDS:-3}
dirty_mb=${BENCH_DIRTY_MB:-2048}
files=${BENCH_FLEET_FILES:-3000}
copies_of_fleet=${BENCH_FLEET_COPIES:-10}
bigfiles=$((files * copies_of_fleet))
work=$(mktemp -d "${BENCH_WORK:-${TMPDIR:-/tmp}}/fleet.XXXXXX")
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
LC_ALL=C awk -v dir="$work/fleet" -v files="$files" '
    { line[NR] = $0 }
    END {
        for (m = 1; m <= files; m++) {
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
# The big fleet: the fleet BENCH_FLEET_COPIES times, in as many folders.
mkdir "$work/big"
for ((copy = 0; copy < copies_of_fleet; copy++)); do
    cp -r "$work/fleet" "$work/big/fleet$copy"
done
sync

cd "$work/fleet"
fleet=(machine*.prg)
check_prg() { "$prg" check --encoding CP1251 "$@"; }
awk=$(command -v mawk || command -v awk)
check_awk() { LC_ALL=C "$awk" -f "$repo/bench/check.awk" "$@"; }

# Both find nothing in the fleet, and the same in a file of faults, or they
# would not be making the same checks.
check_prg "${fleet[@]}" >"$work/prg.out" || { echo "tarvo-prg check found something in the fleet" >&2; exit 1; }
check_awk "${fleet[@]}" >"$work/awk.out" || { echo "check.awk found something in the fleet" >&2; exit 1; }
printf 'X\t1\ta\r\nS\t99\tb\r\nS\tfive\tc\r\nS\t\td\r\nC\t3\te\r\nD\t2\tn\tt\t1,50\t2\r\n%b' \
    'D\t3\tn\tt\t1.5\t2.5\r\nY\t1\tn\tabc\t0\r\nD\t4\tn\tt\t1e5\t99999999999\r\n' >"$work/faults.prg"
check_prg "$work/faults.prg" >"$work/prg.out" || true
check_awk "$work/faults.prg" >"$work/awk.out" || true
if ! cmp -s "$work/prg.out" "$work/awk.out" || [ ! -s "$work/prg.out" ]; then
    echo "tarvo-prg check and check.awk disagree on a file of faults" >&2
    diff "$work/prg.out" "$work/awk.out" >&2 || true
    exit 1
fi

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(uname -sr)"
echo "file system of the fleet: $(stat -f -c %T "$work"), $(df -P "$work" | awk 'NR == 2 { print $1 }')"
echo "awk: $(readlink -f "$awk"), $("$awk" -W version 2>/dev/null | head -n 1)"
echo "fleet: ${#fleet[@]} files, $(cat "${fleet[@]}" | wc -c) bytes; load before: $(cut -d" " -f1-3 /proc/loadavg)"
echo

# The wall time of one run of a command, in microseconds; its output goes.
clock() {
    local start end
    start=${EPOCHREALTIME/./}
    "$@" >/dev/null 2>&1 || true
    end=${EPOCHREALTIME/./}
    echo $((end - start))
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'; }
load() { cut -d" " -f1 /proc/loadavg; }

# LABEL AIM UNIT NAME1 COMMAND1 NAME2 COMMAND2 [PREPARE]: the two commands
# (functions) in turn, BENCH_FLEET_ROUNDS rounds of BENCH_FLEET_RUNS runs
# each; PREPARE (a function) runs before every run, off the clock. The
# median of each, their ratio against the aim, and the load average seen.
side_by_side() {
    local label=$1 aim=$2 unit=$3 name1=$4 command1=$5 name2=$6 command2=$7 prepare=${8:-true}
    local a="" b="" loads="" round r x y divide=1000
    [[ $unit == s ]] && divide=1000000
    for ((round = 0; round < rounds; round++)); do
        for ((r = 0; r < runs; r++)); do
            $prepare
            a="$a $(clock "$command1")"
            $prepare
            b="$b $(clock "$command2")"
            loads="$loads $(load)"
        done
    done
    x=$(echo "$a" | median) y=$(echo "$b" | median)
    printf '%-34s %s %9.3f %s   %s %9.3f %s   ratio %.2f (aim <= %s)   load %s\n' "$label:" "$name1" \
        "$(echo "$x $divide" | awk '{ print $1 / $2 }')" "$unit" "$name2" \
        "$(echo "$y $divide" | awk '{ print $1 / $2 }')" "$unit" "$(echo "$x $y" | awk '{ print $1 / $2 }')" \
        "$aim" "$(echo "$loads" | tr ' ' '\n' | grep . | sort -n | sed -n '1p;$p' | paste -sd- -)"
}

# check against cat and awk, on the fleet and the big fleet.
shopt -s nullglob
big=("$work"/big/fleet*/machine*.prg)
shopt -u nullglob
check_fleet_prg() { check_prg "${fleet[@]}"; }
check_fleet_awk() { check_awk "${fleet[@]}"; }
read_fleet_cat() { cat "${fleet[@]}"; }
check_big_prg() { check_prg "${big[@]}"; }
read_big_cat() { cat "${big[@]}"; }
side_by_side "check, $files files, against awk" 0.1 ms tarvo-prg check_fleet_prg awk check_fleet_awk
side_by_side "check, $files files, against cat" 0.5 ms tarvo-prg check_fleet_prg cat read_fleet_cat
if ((bigfiles > 0)); then
    side_by_side "check, $bigfiles files, against cat" 0.5 ms tarvo-prg check_big_prg cat read_big_cat
    if [ -x /usr/bin/time ]; then
        m=$(/usr/bin/time -f %M "$prg" check --encoding CP1251 "${big[@]}" 2>&1 >/dev/null)
        printf 'check, peak memory: %d files %d KiB\n' "$bigfiles" "$m"
    fi
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

# Each run of set or sed on a fresh copy, on disk before the clock starts.
fresh() { # FROM...: copies into $work/run (the files in $copies)
    rm -rf "$work/run"
    mkdir "$work/run"
    local from
    for from in "$@"; do cp -r "$from" "$work/run/"; done
    sync
}
fresh_fleet() { fresh "$work/fleet"; copies=("$work"/run/fleet/machine*.prg); }
fresh_big() { fresh "$work"/big/fleet*; copies=("$work"/run/fleet*/machine*.prg); }
set_copies() { set_prg "${copies[@]}"; }
sed_copies() { set_sed "${copies[@]}"; }
side_by_side "set, $files fresh files, against sed -i" 1.2 ms tarvo-prg set_copies sed sed_copies fresh_fleet
if ((bigfiles > 0)); then
    runs=$(((runs + 1) / 2)) side_by_side "set, $bigfiles fresh files, against sed -i" 1.2 s tarvo-prg set_copies sed \
        sed_copies fresh_big
    if [ -x /usr/bin/time ]; then
        fresh_big
        m=$(/usr/bin/time -f %M "$prg" set --encoding CP1251 --cell department.3.price=1.30 "${copies[@]}" 2>&1 >/dev/null)
        printf 'set, peak memory: %d files %d KiB (aim <= 30 MB)\n' "$bigfiles" "$m"
    fi
fi

# set while another program's written data waits to be put on disk: a run
# on a fresh copy alone, then one on a fresh copy with dd's unsynced data
# waiting (removed and synced after it), in turn.
if ((dirty_mb > 0)); then
    quiet="" dirty="" loads=""
    for ((round = 0; round < rounds; round++)); do
        fresh_fleet
        quiet="$quiet $(clock set_copies)"
        fresh_fleet
        dd if=/dev/zero of="$work/dirty" bs=1M count="$dirty_mb" status=none
        waiting=$(awk '/^Dirty:/ { print int($2 / 1024) }' /proc/meminfo)
        dirty="$dirty $(clock set_copies)"
        loads="$loads $(load)"
        rm -f "$work/dirty"
        sync
    done
    x=$(echo "$dirty" | median) y=$(echo "$quiet" | median)
    printf '%-34s %s %9.3f ms   %s %9.3f ms   ratio %.2f (aim <= 1.2)   load %s\n' \
        "set, $files files, ${dirty_mb} MB unsynced:" "with" "$(echo "$x" | awk '{ print $1 / 1000 }')" "without" \
        "$(echo "$y" | awk '{ print $1 / 1000 }')" "$(echo "$x $y" | awk '{ print $1 / $2 }')" \
        "$(echo "$loads" | tr ' ' '\n' | grep . | sort -n | sed -n '1p;$p' | paste -sd- -)"
    echo "  (dirty data waiting when the last such run started: $waiting MB)"
fi

# The one-file commands against cat of the same file.
one=$work/fleet/machine0001.prg
cat_one() { cat "$one"; }
dump_one() { "$prg" dump --encoding CP1251 "$one"; }
check_one() { "$prg" check --encoding CP1251 "$one"; }
version() { "$prg" --version; }
runs=20 side_by_side "dump, one file, against cat" 2 ms tarvo-prg dump_one cat cat_one
runs=20 side_by_side "check, one file, against cat" 2 ms tarvo-prg check_one cat cat_one
runs=20 side_by_side "--version, against cat of a file" 2 ms tarvo-prg version cat cat_one
