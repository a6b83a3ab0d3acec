#!/usr/bin/env bash
# quillet-cli as a script meets it, whole processes on a register of RECORDS transactions: balance,
# a CSV report to a file, and the list as JSON to /dev/null, beside the floor (a process that reads
# the file and builds every row's texts with the exact balance). Best wall time of RUNS runs.
#
#   bench/cli_process.sh BUILD_DIR [RECORDS] [RUNS]
set -euo pipefail
build=$(cd "${1:-build-bench}" && pwd)
records=${2:-1000000}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/make_register" "$work/Million.qlt" "$records" 20261208 >/dev/null
cat "$work/Million.qlt" >/dev/null

# best_of NAME GOAL COMMAND...: the best wall time in seconds of the runs.
best_of() {
    local name=$1 goal=$2 best=
    shift 2
    for _ in $(seq 1 "$runs"); do
        local start end ms
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    printf '%-40s %6d ms   (goal %s)\n' "$name" "$best" "$goal"
}

cli=$build/bin/quillet-cli
best_of "floor: read and build every row's texts" "-" "$build/bench/floor" "$work/Million.qlt"
best_of "quillet-cli balance" "100 ms" "$cli" balance "$work/Million.qlt"
best_of "quillet-cli report --format csv -o FILE" "500 ms" "$cli" report "$work/Million.qlt" --format csv -o "$work/report.csv"
best_of "quillet-cli list --format json" "1500 ms" "$cli" list "$work/Million.qlt" --format json
