#!/bin/sh
# Builds the libFuzzer targets with clang, ASan and UBSan and runs each of
# them for SECONDS (default 60).
#
#   scripts/fuzz.sh [SECONDS]
#
# Environment: TARVO_FUZZ_BUILD (build directory, default build-fuzz in the
# repo), TARVO_FUZZ_TARGETS (space-separated subset), TARVO_JOBS (build jobs,
# default 2).
#
# Each target starts from its seeds in fuzz/corpus/<target> and from what
# earlier runs found, kept in <build>/corpus/<target>. An input that breaks a
# property is written to <build>/artifacts/; the script then fails. Copy such
# an input into fuzz/regressions/<target>/ once the fault is fixed: the test
# suite replays that folder.
set -eu

seconds=${1:-60}
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVO_FUZZ_BUILD:-"$repo/build-fuzz"}
jobs=${TARVO_JOBS:-2}

generator=""
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build/Makefile" ]; then
    generator="-G Ninja"
fi
# shellcheck disable=SC2086
CC=clang CXX=clang++ cmake -S "$repo" -B "$build" $generator \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVO_BUILD_FUZZ=ON -DTARVO_BUILD_TESTS=OFF -DTARVO_WITH_STYLE=OFF >/dev/null

targets=${TARVO_FUZZ_TARGETS:-$(cat "$build/fuzzers.txt")}
for target in $targets; do
    cmake --build "$build" -j "$jobs" --target "$target"
done

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

failed=""
mkdir -p "$build/artifacts"
for target in $targets; do
    name=${target#fuzz_}
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    set -- -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-"
    [ -f "$repo/fuzz/$name.dict" ] && set -- "$@" -dict="$repo/fuzz/$name.dict"
    [ -d "$repo/fuzz/corpus/$name" ] && set -- "$@" "$repo/fuzz/corpus/$name"
    [ -d "$repo/fuzz/regressions/$name" ] && set -- "$@" "$repo/fuzz/regressions/$name"
    echo "== $target: $seconds s"
    # New inputs go into the first folder, the build's corpus.
    if ! "$build/fuzz/$target" "$corpus" "$@" >"$build/$target.log" 2>&1; then
        failed="$failed $target"
        tail -n 40 "$build/$target.log"
    else
        grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units)' "$build/$target.log" || true
    fi
done

if [ -n "$failed" ]; then
    echo "fuzz targets that failed:$failed (inputs in $build/artifacts)"
    exit 1
fi
echo "all fuzz targets ran $seconds s without a fault"
