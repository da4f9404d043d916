#!/bin/bash
# Saves that fail or die at every system call: `tarvo-prg build` and `set`
# on program files of the size operators have (CP1251), on the rename path
# (as root in a folder of its own) and on the in-place path (as the user
# nobody, the file writable in a folder only root may change). Each system
# call of the save, its reads included, fails in turn (EIO, ENOSPC, EDQUOT,
# EACCES where they fit, and EINTR, after which the run must end as a clean
# one does), and the process is killed before each one. After every run the
# file must be byte for byte the old one or completely the new one (after
# the next read, which makes an interrupted save in place whole), the exit
# status must say which, nothing may be left beside it, a copy left in the
# state folder must have been named, and the next read of a file whose save
# ended must find nothing to say. Then the rollback copy of a save in place
# against later writers and a read that fails, two `set`s on the same files
# at once, `set` under a low limit of open files, `build` and `set` near the
# size limit and with a signal, special files, and many writers of one file
# at once.
#
# Usage: inject.sh TARVO-PRG [--every]
#   --every   every kill point, not a sample of them, and every error of
#             each call, not one in turn (several times as many runs)
# Needs root (for the ordinary user's runs) and strace; skips (77) without.
set -u

prg=$(readlink -f "$1")
shift
every=0
for arg in "$@"; do
    case $arg in
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
    # A lock that is waited for (LOCK_EX without LOCK_NB) is marked: when
    # it fails, the save must not go on unlocked.
    awk -v file="vending.prg" '
        { name = $0; sub(/\(.*/, "", name); count[name]++ }
        !started && !/^execve/ && index($0, file) { started = 1 }
        started && name ~ /^[a-z_0-9]+$/ && name != "exit_group" {
            print name, count[name], (name == "flock" && /LOCK_EX\)/ ? "waits" : "")
        }
    ' "$run/trace/log"
}

# One run: the tool under strace with INJECTION, then the checks. Failures
# go to the run's own log. EXPECT: "any" (old or new, as the status says),
# "clean" (as a run without the fault: status 0, the new file), "refused"
# (the old file, a status that says so).
one_run() { # ID PATH COMMAND INJECTION WHAT EXPECT
    local run=$work/run$1 path=$2 command=$3 injection=$4 what=$5 expect=$6
    local target=$run/data/vending.prg new=$work/$command-new.prg status
    prepare "$run" "$path"
    run_tool "$run" "$path" "$command" strace -qq -f -o /dev/null -e "trace=${injection%%:*}" -e "inject=$injection" -- \
        >/dev/null 2>"$run/said"
    status=$?
    {
        # A copy of the previous bytes that a run which ended left in the
        # state folder is named in what it said.
        local copy
        if ((status != 137)) && [[ -d $run/state/tarvo ]]; then
            for copy in "$run"/state/tarvo/*; do
                [[ -e $copy ]] || continue
                grep -qF "$copy" "$run/said" ||
                    echo "FAIL: $path $command, $what: status $status, $copy left unsaid: $(head -c 300 "$run/said")"
            done
        fi
        # The next read makes an interrupted save whole; after a save that
        # ended it has nothing to say.
        as_user "$run" "$path" "$prg" dump --encoding CP1251 "$target" >/dev/null 2>"$run/read-said" </dev/null
        if ((status != 137)) && [[ -s $run/read-said ]]; then
            echo "FAIL: $path $command, $what: status $status, then the next read said: $(head -c 300 "$run/read-said")"
        fi
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
        case $expect in
        clean) [[ $status == 0 ]] || echo "FAIL: $path $command, $what: status $status where a clean run has 0: $(head -c 300 "$run/said")" ;;
        refused) [[ $status != 0 ]] || echo "FAIL: $path $command, $what: the save went on (status 0)" ;;
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

# The errors a call fails with, one of them at a time in turn (all of them
# with --every). EINTR wherever a signal can interrupt the call: it is made
# again, never a failure.
errors_of() { # CALL
    case $1 in
    openat) echo EACCES ENOSPC EDQUOT EINTR ;;
    read | pread64) echo EIO EINTR ;;
    write | pwrite64) echo ENOSPC EIO EDQUOT EINTR ;;
    fsync | fdatasync | syncfs) echo EIO ENOSPC EINTR ;;
    close) echo EIO EDQUOT EINTR ;;
    rename | renameat | renameat2) echo EIO EACCES ENOSPC EINTR ;;
    linkat) echo ENOSPC EDQUOT EINTR ;;
    fallocate | ftruncate) echo EIO ENOSPC EINTR ;;
    unlink | unlinkat) echo EIO EINTR EDQUOT ENOSPC ;;
    mkdir | mkdirat) echo EIO ENOSPC EDQUOT EINTR ;;
    fchmod | fchown) echo EIO EINTR ;;
    flock) echo ENOLCK EINTR EIO ;;
    esac
}

# Two runs at a time, one a core.
start_run() { # PATH COMMAND INJECTION WHAT EXPECT
    while (($(jobs -rp | wc -l) >= 2)); do wait -n; done
    runs=$((runs + 1))
    one_run "$runs" "$@" &
}

failing="openat|read|pread64|pwrite64|write|fsync|fdatasync|syncfs|close|rename|renameat|renameat2|linkat"
failing="$failing|fallocate|ftruncate|unlink|unlinkat|mkdir|mkdirat|fchmod|fchown|flock"

for path in rename inplace; do
    for command in build set; do
        mapfile -t calls < <(calls_after_start "$path" "$command")
        before=$runs
        for entry in "${calls[@]}"; do
            read -r name n waits <<<"$entry"
            [[ $name =~ ^($failing)$ ]] || continue
            read -r -a errors <<<"$(errors_of "$name")"
            if ((!every)); then
                errors=("${errors[$((n % ${#errors[@]}))]}")
            fi
            for error in "${errors[@]}"; do
                expect=any
                [[ $error == EINTR ]] && expect=clean
                [[ -n $waits && $error != EINTR ]] && expect=refused
                start_run "$path" "$command" "$name:error=$error:when=$n" "$name #$n fails with $error" $expect
            done
        done
        # Killed before each call (every second one unless --every: the
        # neighbours of a call are mostly calls that change nothing).
        step=$((every ? 1 : 2))
        for ((i = 0; i < ${#calls[@]}; i += step)); do
            read -r name n _ <<<"${calls[$i]}"
            start_run "$path" "$command" "$name:signal=KILL:when=$n" "killed at $name #$n" any
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

# The rollback copy of a save in place (a file with a second name is
# rewritten where it is) is put back only over the torn file its own save
# left, a copy that cannot be read or removed is said and kept, and nothing
# is taken for an interrupted save that is none.
linked() { # RUN
    rm -rf "$1"
    mkdir -m 755 "$1" "$1/data"
    mkdir -m 700 "$1/state"
    cp "$work/old.prg" "$1/data/vending.prg"
    ln "$1/data/vending.prg" "$1/data/second-name.prg"
}
in_state() { XDG_STATE_HOME="$run/state" "$@"; }
set_linked() { in_state "$@" "$prg" set --encoding CP1251 "${set_cells[@]}" "$run/data/vending.prg" </dev/null; }
dump_linked() { in_state "$@" "$prg" dump --encoding CP1251 "$run/data/vending.prg" </dev/null >/dev/null; }
kill_at_cut() { set_linked strace -qq -f -o /dev/null -e trace=ftruncate -e inject=ftruncate:signal=KILL:when=1 >/dev/null 2>&1; }
run=$work/copy

# Killed before the file was cut to length, then written whole by another
# program: the next read leaves it as it is, and keeps what it held before
# the save aside.
linked "$run"
kill_at_cut
cp "$work/build-new.prg" "$run/data/vending.prg"
said=$(dump_linked 2>&1)
cmp -s "$run/data/vending.prg" "$work/build-new.prg" ||
    fail "the rollback copy was put back over a file that another program wrote after the save was killed"
kept=("$run"/state/tarvo/*)
if [[ ${#kept[@]} != 1 ]] || ! cmp -s "${kept[0]}" "$work/old.prg" || [[ $said != *"${kept[0]}"* ]]; then
    fail "after a killed save and another program's write: kept ${kept[*]}, said: $said"
fi
[[ -z $(dump_linked 2>&1) ]] || fail "a kept copy of the previous contents was reported again"
runs=$((runs + 1))

# The copy cannot be removed once the file is saved: the save says so and
# succeeds; the copy is known for a finished save's, never put back over
# another program's later write, and goes without a word.
for error in EIO EINTR ENOSPC EDQUOT; do
    linked "$run"
    said=$(set_linked strace -qq -f -o /dev/null -e trace=unlink -e inject=unlink:error=$error:when=1 2>&1)
    status=$?
    copy=$(echo "$run"/state/tarvo/save-*.journal)
    if [[ $error == EINTR ]]; then
        [[ $status == 0 && -z $said && ! -e $copy ]] ||
            fail "an interrupted removal of the rollback copy: status $status, said: $said"
    elif [[ $status != 0 ]] || ! cmp -s "$run/data/vending.prg" "$work/set-new.prg" || [[ $said != *"$copy"* ]]; then
        fail "the rollback copy could not be removed ($error): status $status, said: $said"
    fi
    cp "$work/build-new.prg" "$run/data/vending.prg"
    said=$(dump_linked 2>&1)
    cmp -s "$run/data/vending.prg" "$work/build-new.prg" || fail "a finished save's copy ($error) was put back"
    [[ -z $said ]] || fail "a finished save's copy ($error) was taken for an interrupted save: $said"
    [[ -z $(ls -A "$run/state/tarvo") ]] || fail "a finished save's copy ($error) stayed after the next read"
    runs=$((runs + 1))
done

# The copy cannot be read once: the torn file is not read as if whole, the
# copy is kept and named; the next read puts the previous bytes back.
linked "$run"
kill_at_cut
cp "$run/data/vending.prg" "$work/torn.prg"
copy=$(echo "$run"/state/tarvo/save-*.journal)
said=$(dump_linked strace -qq -f -o /dev/null -P "$copy" -e trace=pread64 -e inject=pread64:error=EIO:when=1 2>&1)
status=$?
if [[ $status == 0 || ! -e $copy || $said != *"$copy"* ]] || ! cmp -s "$run/data/vending.prg" "$work/torn.prg"; then
    fail "a rollback copy that could not be read: status $status, copy $( [[ -e $copy ]] && echo kept || echo gone), said: $said"
fi
said=$(dump_linked 2>&1)
cmp -s "$run/data/vending.prg" "$work/old.prg" && [[ ! -e $copy ]] ||
    fail "a rollback copy read again did not make the torn file whole: $said"
runs=$((runs + 1))

# A failed flush of a new file is charged to that file alone: it stays old
# and is named, the others are new. (strace counts the calls of each thread
# by itself: of 20 files on at most 16 writing threads, the first flush of
# each thread fails, a thread's later ones do not.)
run=$work/batch
linked "$run"
batch_files=("$run/data/vending.prg")
for i in $(seq 1 19); do
    cp "$work/old.prg" "$run/data/m$i.prg"
    batch_files+=("$run/data/m$i.prg")
done
said=$(in_state strace -qq -f -o /dev/null -e trace=fsync -e inject=fsync:error=EIO:when=1 \
    "$prg" set --encoding CP1251 "${set_cells[@]}" "${batch_files[@]}" 2>&1)
status=$?
new=0 old=0
for f in "${batch_files[@]}"; do
    if cmp -s "$f" "$work/set-new.prg" && [[ $said != *"cannot write $f:"* ]]; then
        new=$((new + 1))
    elif cmp -s "$f" "$work/old.prg" && [[ $said == *"cannot write $f:"*"Input/output error"* ]]; then
        old=$((old + 1))
    fi
done
[[ $status == 3 && $old -ge 1 && $new -ge 4 && $((new + old)) == 20 ]] ||
    fail "failed flushes: status $status, $new new, $old old and named: ${said:0:400}"
runs=$((runs + 1))

# build reads standard input as dump does: a signal at the first look at it
# or at a read is no reason to stop, nor to spin.
for injection in statx:error=EINTR:when=1 read:error=EINTR:when=1 read:error=EINTR:when=2; do
    rm -f "$work/stdin.prg"
    timeout 60 strace -qq -f -o /dev/null -P "$work/new.json" -e trace="${injection%%:*}" -e inject="$injection" \
        "$prg" build --encoding CP1251 "$work/stdin.prg" <"$work/new.json" >/dev/null 2>&1
    status=$?
    cmp -s "$work/stdin.prg" "$work/build-new.prg" || fail "build with $injection on standard input: status $status"
    runs=$((runs + 1))
done

# Nothing is written that no read takes back: a document whose file would
# pass the size limit is refused, whatever was there stays.
printf '{"headerLines":["%s"]}' "$(head -c 5000000 /dev/zero | tr '\0' x)" >"$work/huge.json"
cp "$work/old.prg" "$work/huge.prg"
for target in "$work/huge.prg" "$work/huge-new.prg" -; do
    said=$("$prg" build "$target" <"$work/huge.json" 2>&1 >"$work/huge.out")
    status=$?
    [[ $status != 0 && $said == *"4194304 bytes"* && ! -s $work/huge.out ]] ||
        fail "a document over the size limit written to $target: status $status, said: ${said:0:200}"
done
cmp -s "$work/huge.prg" "$work/old.prg" && [[ ! -e $work/huge-new.prg ]] ||
    fail "a document over the size limit changed what was there"
runs=$((runs + 1))

# A FIFO or a device named as a program file is refused without being
# opened, not even to be locked or looked at: opening a serial port resets
# many devices, opening a FIFO waits for a writer.
mkfifo "$work/pipe.prg"
mknod "$work/device.prg" c 1 3 # as /dev/null
for special in "$work/pipe.prg" "$work/device.prg"; do
    for command in "dump" "check" "diff $work/old.prg" "set --cell header.1=X" "convert --from CP1251 --to CP1251"; do
        read -r -a words <<<"$command"
        arguments=("${words[@]}" "$special")
        [[ ${words[0]} == convert ]] && arguments+=("$work/converted.prg")
        timeout 60 strace -qq -f -o "$work/opens" -e trace=open,openat "$prg" "${arguments[@]}" </dev/null >/dev/null 2>&1
        status=$?
        opened=$(grep -F "\"$special\"" "$work/opens" | grep -v O_PATH)
        [[ $status != 0 && $status != 124 && -z $opened ]] ||
            fail "$command on ${special##*/}: status $status, opened: $opened"
        runs=$((runs + 1))
    done
done
rm -f "$work/pipe.prg" "$work/device.prg" "$work/converted.prg"
echo "the rollback copy, the batch flush, standard input, the size limit and special files: done"

# A fleet under a low limit of open files: set sizes its batches to it.
mkdir -m 755 "$work/limited"
for i in $(seq 1 150); do cp "$work/old.prg" "$work/limited/m$i.prg"; done
said=$(ulimit -n 64 && "$prg" set --encoding CP1251 --cell department.2.price=2.22 "$work"/limited/m*.prg 2>&1)
status=$?
changed=$(LC_ALL=C grep -l "$(printf '^D\t2\t.*\t2.22\t')" "$work"/limited/m*.prg | wc -l)
[[ $status == 0 && $changed == 150 ]] ||
    fail "set of 150 files under a limit of 64 open files: status $status, $changed changed: ${said:0:300}"
runs=$((runs + 1))
echo "set under a limit of 64 open files: 150 files"

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
# it (set is held for two seconds at the lock of its new file, written after
# the read, sed -i makes its change meanwhile): the file ends with both
# changes, for set reads it again.
for round in 1 2; do
    cp "$work/old.prg" "$work/fleet/late.prg"
    strace -f -qq -o /dev/null -e trace=flock -e inject=flock:delay_enter=2000000:when=2 \
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
