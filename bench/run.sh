#!/bin/sh
# Builds the benchmarks in build-bench (Release) and prints the figures:
# reader against plain reads, writer, names file, the editor's Open against
# plain Qt (repetitions in random order, medians), the reader's peak memory
# against the longest line, the editor's start-up against minimal Qt
# windows, and tarvo-prg against awk, cat and sed -i (bench/fleet.sh).
#
#   bench/run.sh [BUILD_DIR]
#
# Environment: TARVO_JOBS (build jobs, default 2), TARVO_WITH_STYLE (OFF to
# build the editor without its own style, default ON, as shipped),
# BENCH_STARTUP_RUNS (default 15).
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-"$repo/build-bench"}") # bench_startup starts its programs by full path
jobs=${TARVO_JOBS:-2}

generator=""
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build/Makefile" ]; then
    generator="-G Ninja"
fi
# shellcheck disable=SC2086
cmake -S "$repo" -B "$build" $generator -DCMAKE_BUILD_TYPE=Release \
    -DTARVO_BUILD_BENCH=ON -DTARVO_BUILD_TESTS=OFF \
    -DTARVO_WITH_STYLE="${TARVO_WITH_STYLE:-ON}" >/dev/null
cmake --build "$build" -j "$jobs" --target bench_document bench_memory bench_startup \
    bench_editor startup_editor startup_minimal tarvo-prg >/dev/null

export QT_QPA_PLATFORM=offscreen
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
qt=$(qtpaths6 --qt-query QT_VERSION 2>/dev/null || qmake6 -query QT_VERSION 2>/dev/null || true)
echo "machine: $(nproc) cores, $cpu, Qt ${qt:-unknown}, $(uname -sr), load $(cut -d" " -f1-3 /proc/loadavg)"
echo

"$build/bench/bench_document" --benchmark_counters_tabular=true --benchmark_color=false
echo
"$build/bench/bench_editor" --benchmark_color=false --benchmark_repetitions=5 \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
echo
"$build/bench/bench_memory"
echo
"$build/bench/bench_startup" "$build/bench/startup_editor" "$build/bench/startup_minimal" \
    "$repo/data/names_bulgarian.xml" "${BENCH_STARTUP_RUNS:-15}"
echo
"$repo/bench/fleet.sh" "$build/tarvo-prg"
