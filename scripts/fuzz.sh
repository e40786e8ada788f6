#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60), starting from the
# seed corpus in tests/fuzz/corpus (the committed seeds are copied, never grown in place).
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/deps.sh"
command -v clang++ >/dev/null || { echo "clang++ is needed: apt-get install clang libclang-rt-14-dev" >&2; exit 1; }
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVQDBD_FUZZ=ON \
    -DBUILD_TESTING=OFF -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" >/dev/null
targets=(colour_text value_forms command_line ini_document)
cmake --build "$build" --target "${targets[@]/#/fuzz_}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in "${targets[@]}"; do
    mkdir -p "$work/$target"
    cp "$root/tests/fuzz/corpus/$target/"* "$work/$target/"
    echo "== fuzz_$target for ${seconds}s"
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/" "$work/$target" 2>&1 | grep -E 'stat::number_of_executed_units|stat::peak_rss|ERROR|SUMMARY|Done' || true
    if ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* >/dev/null 2>&1; then
        mkdir -p "$root/build-fuzz/findings"
        cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$root/build-fuzz/findings/" 2>/dev/null || true
        echo "findings kept in build-fuzz/findings" >&2
        exit 1
    fi
done
