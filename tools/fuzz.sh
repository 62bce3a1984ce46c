#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

# Builds the fuzz targets (the release's clang, ASan + UBSan) and runs each one for SECONDS
# on its seed corpus, as many at once as there are cores. Fails when any
# target finds a crash, a leak, a timeout or a broken invariant; the input
# that caused it is kept under $FUZZ_OUT (default: a temporary folder).
#   tools/fuzz.sh [SECONDS]        default 30
# The committed corpus is never changed: new inputs go to a scratch folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"

tools/setup.sh test
command -v clang++ >/dev/null || {
    echo "fuzz: no clang++ (Debian's package clang provides it)" >&2
    exit 1
}
cmake --preset fuzz -G Ninja >/dev/null
mapfile -t targets < <(cd fuzz && ls -- *.cpp | sed 's/\.cpp$//')
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

out="${FUZZ_OUT:-$(mktemp -d)}"
mkdir -p "$out"
echo "== fuzzing ${targets[*]} for ${seconds}s each; logs and findings in $out"

# The longest input worth trying per target: a little above the largest seed,
# so that mutations stay fast and cannot ask for huge files.
max_len() {
    case "$1" in
        skin | zip | installer) echo 65536 ;;
        ani) echo 32768 ;;
        png | bmp) echo 16384 ;;
        typedentry) echo 512 ;;
        *) echo 4096 ;;
    esac
}

# -timeout is wall-clock time: on a machine shared with builds a unit of a few
# milliseconds has been seen to stall for 10 seconds, so a hang is 30 seconds.
run_one() {
    local t="$1" scratch="$out/$1.new"
    mkdir -p "$scratch" "$out/$t.findings"
    if build-fuzz/bin/fuzz_"$t" "$scratch" "fuzz/corpus/$t" -max_total_time="$seconds" \
        -max_len="$(max_len "$t")" -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$out/$t.findings/" >"$out/$t.log" 2>&1; then
        echo "   $t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$out/$t.log" |
            grep -o '[0-9]*$') runs, no finding"
    else
        echo "!! $t: FINDING, see $out/$t.log and $out/$t.findings/"
        tail -n 40 "$out/$t.log"
        return 1
    fi
}
export -f run_one max_len
# Readers that save (options, units, installer) write through fsync; a memory
# file system keeps that from setting the pace.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export out seconds

printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one {}'
