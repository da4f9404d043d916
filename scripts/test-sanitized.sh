#!/bin/sh
# Builds the whole tree and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the test suite there.
#
#   scripts/test-sanitized.sh [BUILD_DIR]     (default: build-asan in the repo)
#
# Any sanitizer report fails the test that triggered it. Leak checking is on:
# Qt's own start-up allocations that live to the end of the process are
# freed or reachable from globals, so LeakSanitizer stays quiet about them;
# a leak it does report is ours.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build-asan"}
jobs=${TARVO_JOBS:-$(nproc)}

generator=""
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build/Makefile" ]; then
    generator="-G Ninja"
fi

# shellcheck disable=SC2086
cmake -S "$repo" -B "$build" $generator \
    -DCMAKE_BUILD_TYPE=Debug \
    -DTARVO_SANITIZE=ON \
    -DTARVO_BUILD_TESTS=ON \
    -DTARVO_WITH_STYLE="${TARVO_WITH_STYLE:-ON}"
cmake --build "$build" -j "$jobs"

ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:print_summary=1"
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS UBSAN_OPTIONS QT_QPA_PLATFORM

ctest --test-dir "$build" --output-on-failure -j "$jobs"
