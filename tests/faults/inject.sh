#!/bin/bash
# Saves that fail or die at every system call: `tarvo-prg build` and `set`
# on program files of the size operators have (CP1251), on the rename path
# (as root in a folder of its own) and on the in-place path (as the user
# nobody, the file writable in a folder only root may change). Each system
# call of the save fails in turn (ENOSPC, EIO, EDQUOT, EACCES where they
# fit), and the process is killed before each one. After every run the file
# must be byte for byte the old one or completely the new one (after the
# next read, which makes an interrupted save in place whole), the exit
# status must say which, and nothing may be left beside it. Then two `set`s
# on the same files at once, and many writers of one file at once.
#
# Usage: inject.sh TARVO-PRG [--reads] [--every]
#   --reads   also make each read fail (a read error must never be taken
#             for the end of the file)
#   --every   every kill point, not a sample of them
# Needs root (for the ordinary user's runs) and strace; skips (77) without.
set -u

prg=$(readlink -f "$1")
shift
with_reads=0
every=0
for arg in "$@"; do
    case $arg in
    --reads) with_reads=1 ;;
    --every) every=1 ;;
    esac
done
if [[ $(id -u) != 0 ]] || ! command -v strace >/dev/null || ! command -v runuser >/dev/null; then
    echo "SKIP: needs root, strace and runuser"
    exit 77
fi
# A sanitizer's run-time makes system calls of its own (and stops at the
# first that fails), so the numbers of a clean run say nothing of the next.
if ldd "$prg" 2>/dev/null | grep -q -E 'lib(asan|ubsan|tsan)'; then
    echo "SKIP: $prg is built with a sanitizer"
    exit 77
fi
if ! strace -o /dev/null true 2>/dev/null; then
    echo "SKIP: strace cannot trace here"
    exit 77
fi

work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT INT TERM
export SOURCE_DATE_EPOCH=1700000000 LC_ALL=C.UTF-8
failures=0
runs=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Documents as JSON: COUNT departments with Bulgarian names.
items() {
    local i
    for ((i = 1; i <= $1; i++)); do
        ((i > 1)) && printf ','
        "$2" "$i"
    done
}
param() { printf '"%d"' $(($1 * 7 % 100)); }
department() { printf '{"name":"%s %d","price":"1.%02d","tax":"Б","digits":"2"}' "$word" "$1" $(($1 % 100)); }
header() { printf '"%s %d"' "$title" "$1"; }
payment() { printf '{"name":"Плащане %d","value":"1.00","index":"%d"}' "$1" $(($1 - 1)); }
document() { # DEPARTMENTS WORD TITLE
    local word=$2 title=$3
    printf '{"params":[%s],"departments":[%s],"headerLines":[%s],"comment":"","payments":[%s]}\n' \
        "$(items 26 param)" "$(items "$1" department)" "$(items 8 header)" "$(items 4 payment)"
}
document 50 "Минерална вода Банкя 0.5 л" "АВТОМАТ ЗА НАПИТКИ" >"$work/old.json"
document 50 "Газирана минерална вода с лимон и мента 0.5 л" "АВТОМАТ ЗА ТОПЛИ НАПИТКИ" >"$work/new.json"
"$prg" build --encoding CP1251 "$work/old.prg" <"$work/old.json" || exit 1
"$prg" build --encoding CP1251 "$work/build-new.prg" <"$work/new.json" || exit 1
cp "$work/old.prg" "$work/set-new.prg"
set_cells=(--cell department.1.name=A --cell department.2.price=2.22 --cell "header.1=ДРУГ РЕД")
"$prg" set --encoding CP1251 "${set_cells[@]}" "$work/set-new.prg" || exit 1
echo "old file $(stat -c %s "$work/old.prg") bytes; build writes $(stat -c %s "$work/build-new.prg"), set $(stat -c %s "$work/set-new.prg")"

# The folder of one run, as its path takes it: "rename" a folder root owns
# and writes in; "inplace" a folder nobody may not write in, holding a file
# nobody owns, and nobody's own state folder for the journal.
prepare() { # RUN PATH
    rm -rf "$1"
    mkdir -m 755 "$1" "$1/data"
    mkdir -m 700 "$1/state"
    cp "$work/old.prg" "$1/data/vending.prg"
    if [[ $2 == inplace ]]; then
        chown nobody: "$1/state" "$1/data/vending.prg"
    fi
}

# Runs a command as the user of the path, its journal in the run's state
# folder.
as_user() { # RUN PATH COMMAND...
    local run=$1 path=$2
    shift 2
    if [[ $path == inplace ]]; then
        runuser -u nobody -- env XDG_STATE_HOME="$run/state" "$@"
    else
        XDG_STATE_HOME="$run/state" "$@"
    fi
}

run_tool() { # RUN PATH COMMAND [strace options...]
    local run=$1 path=$2 command=$3
    shift 3
    local target=$run/data/vending.prg
    if [[ $command == build ]]; then
        as_user "$run" "$path" "$@" "$prg" build --encoding CP1251 "$target" <"$work/new.json"
    else
        as_user "$run" "$path" "$@" "$prg" set --encoding CP1251 "${set_cells[@]}" "$target" </dev/null
    fi
}

# The system calls of one clean run after its start-up: from the first that
# names the file on. One "NAME N" line each, N counting that call's uses.
calls_after_start() { # PATH COMMAND
    local run=$work/clean
    prepare "$run" "$1"
    mkdir -m 1777 "$run/trace"
    run_tool "$run" "$1" "$2" strace -qq -o "$run/trace/log" -- >/dev/null 2>&1
    awk -v file="vending.prg" '
        { name = $0; sub(/\(.*/, "", name); count[name]++ }
        !started && !/^execve/ && index($0, file) { started = 1 }
        started && name ~ /^[a-z_0-9]+$/ && name != "exit_group" { print name, count[name] }
    ' "$run/trace/log"
}

# One run: the tool under strace with INJECTION, then the checks. Failures
# go to the run's own log.
one_run() { # ID PATH COMMAND INJECTION WHAT
    local run=$work/run$1 path=$2 command=$3 injection=$4 what=$5
    local target=$run/data/vending.prg new=$work/$command-new.prg status
    prepare "$run" "$path"
    run_tool "$run" "$path" "$command" strace -qq -f -o /dev/null -e "trace=${injection%%:*}" -e "inject=$injection" -- \
        >/dev/null 2>&1
    status=$?
    {
        # The next read makes an interrupted save whole.
        as_user "$run" "$path" "$prg" dump --encoding CP1251 "$target" >/dev/null 2>&1 </dev/null
        local state=old
        if cmp -s "$target" "$new"; then
            state=new
        elif ! cmp -s "$target" "$work/old.prg"; then
            echo "FAIL: $path $command, $what: the file is neither old nor new (status $status)"
            cp "$target" "$work/torn-$1.prg"
        fi
        case $status in
        0) [[ $state == new ]] || echo "FAIL: $path $command, $what: status 0 but the old file is there" ;;
        137) ;; # killed: either is right
        *) [[ $state == old ]] || echo "FAIL: $path $command, $what: status $status but the new file is there" ;;
        esac
        local left
        left=$(cd "$run/data" && ls -A | grep -vx vending.prg)
        [[ -z $left ]] || echo "FAIL: $path $command, $what: left beside the file: $left"
        if [[ -d $run/state/tarvo ]] && [[ -n $(ls -A "$run/state/tarvo") ]]; then
            echo "FAIL: $path $command, $what: a journal stayed after the next read"
        fi
    } >"$work/result$1"
    rm -rf "$run"
}

error_for() { # CALL OCCURRENCE: the error that call fails with this time
    local -a errors
    case $1 in
    openat) errors=(EACCES ENOSPC EDQUOT) ;;
    read | pread64) errors=(EIO) ;;
    write | pwrite64) errors=(ENOSPC EIO EDQUOT) ;;
    fsync | fdatasync) errors=(EIO ENOSPC) ;;
    close) errors=(EIO EDQUOT) ;;
    rename | renameat | renameat2) errors=(EIO EACCES ENOSPC) ;;
    linkat) errors=(ENOSPC EDQUOT) ;;
    fallocate | ftruncate) errors=(EIO ENOSPC) ;;
    esac
    echo "${errors[$(($2 % ${#errors[@]}))]}"
}

# Two runs at a time, one a core.
start_run() {
    while (($(jobs -rp | wc -l) >= 2)); do wait -n; done
    runs=$((runs + 1))
    one_run "$runs" "$@" &
}

failing="openat|pwrite64|write|fsync|fdatasync|close|rename|renameat|renameat2|linkat|fallocate|ftruncate"
((with_reads)) && failing="$failing|read|pread64"

for path in rename inplace; do
    for command in build set; do
        mapfile -t calls < <(calls_after_start "$path" "$command")
        before=$runs
        for entry in "${calls[@]}"; do
            read -r name n <<<"$entry"
            [[ $name =~ ^($failing)$ ]] || continue
            error=$(error_for "$name" "$n")
            start_run "$path" "$command" "$name:error=$error:when=$n" "$name #$n fails with $error"
        done
        # Killed before each call (every second one unless --every: the
        # neighbours of a call are mostly calls that change nothing).
        step=$((every ? 1 : 2))
        for ((i = 0; i < ${#calls[@]}; i += step)); do
            read -r name n <<<"${calls[$i]}"
            start_run "$path" "$command" "$name:signal=KILL:when=$n" "killed at $name #$n"
        done
        wait
        echo "$path $command: ${#calls[@]} calls after start-up, $((runs - before)) runs"
    done
done
wait
for result in "$work"/result*; do
    [[ -s $result ]] || continue
    cat "$result"
    failures=$((failures + $(wc -l <"$result")))
done

# Two `set`s on the same 20 files at once: every file gets both changes.
mkdir -m 755 "$work/fleet"
for round in 1 2 3; do
    for i in $(seq 1 20); do cp "$work/old.prg" "$work/fleet/m$i.prg"; done
    files=("$work"/fleet/m*.prg)
    "$prg" set --encoding CP1251 --cell department.2.price=2.22 "${files[@]}" &
    a=$!
    # The second in the opposite order: the locks are still taken in one.
    mapfile -t reversed < <(printf '%s\n' "${files[@]}" | sort -r)
    "$prg" set --encoding CP1251 --cell department.3.price=3.33 "${reversed[@]}" &
    b=$!
    wait $a || fail "concurrent set: the first exited with $?"
    wait $b || fail "concurrent set: the second exited with $?"
    for f in "${files[@]}"; do
        out=$("$prg" dump --encoding CP1251 "$f")
        [[ $out == *'"price": "2.22"'* || $out == *'"price":"2.22"'* ]] || fail "round $round: $f lost the first set's change"
        [[ $out == *'"price": "3.33"'* || $out == *'"price":"3.33"'* ]] || fail "round $round: $f lost the second set's change"
    done
    runs=$((runs + 1))
done
echo "concurrent set: 3 rounds of 2 x 20 files"

# Another program changes a file after set has read it and before set writes
# it (set is held for two seconds at its second lock of the file, sed -i
# makes its change meanwhile): the file ends with both changes, for set
# reads it again.
for round in 1 2; do
    cp "$work/old.prg" "$work/fleet/late.prg"
    strace -f -qq -o /dev/null -e trace=flock -e inject=flock:delay_enter=2000000:when=3 \
        "$prg" set --encoding CP1251 --cell department.3.price=3.33 "$work/fleet/late.prg" &
    a=$!
    sleep 1
    LC_ALL=C sed -i 's/^\(D\t2\t[^\t]*\t[^\t]*\t\)[^\t]*/\12.22/' "$work/fleet/late.prg"
    wait $a || fail "set around a change of sed: exited with $?"
    out=$("$prg" dump --encoding CP1251 "$work/fleet/late.prg")
    [[ $out == *'"price": "2.22"'* || $out == *'"price":"2.22"'* ]] || fail "round $round: set undid a change made after its read"
    [[ $out == *'"price": "3.33"'* || $out == *'"price":"3.33"'* ]] || fail "round $round: set's change is missing"
    runs=$((runs + 1))
done
echo "a change between set's read and its write: 2 rounds"

# Many writers of one file in place at once: it holds one writer's output.
for w in $(seq 1 12); do
    document $((20 + w)) "Вода $w" "АВТОМАТ $w" >"$work/writer$w.json"
    "$prg" build --encoding CP1251 "$work/writer$w.prg" <"$work/writer$w.json" || exit 1
done
for round in 1 2 3; do
    prepare "$work/many" inplace
    for w in $(seq 1 12); do
        as_user "$work/many" inplace "$prg" build --encoding CP1251 "$work/many/data/vending.prg" \
            <"$work/writer$w.json" &
    done
    wait
    whole=0
    for w in $(seq 1 12); do cmp -s "$work/many/data/vending.prg" "$work/writer$w.prg" && whole=1; done
    ((whole)) || fail "round $round: concurrent writers in place left a file that is no writer's output"
    runs=$((runs + 1))
done
echo "concurrent writers in place: 3 rounds of 12"

echo "$runs runs, $failures failures"
((failures == 0))
