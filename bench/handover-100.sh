#!/usr/bin/env bash
# A second launch with 100 paths while vn10 runs: the time from the launch to all 100 items on
# the running instance's list (its "listed:" reports), five runs (bench/README.md).
set -euo pipefail
bin=$(cd "${1:-$(dirname "$0")/../build/bin}" && pwd)
source "$(dirname "$0")/sandbox.sh"
mkdir -p "$tmp/items"
QT_LOGGING_RULES='vanisto.*.info=true' "$bin/vn10" > "$tmp/first.log" 2>&1 &
first=$!
trap 'kill $first 2>/dev/null; rm -rf "$tmp"' EXIT
until grep -q "listening on" "$tmp/first.log" 2>/dev/null; do sleep 0.01; done

for run in 1 2 3 4 5; do
    paths=()
    for i in $(seq 1 100); do
        paths+=("$tmp/items/run $run file $i.txt")
        : > "${paths[-1]}"
    done
    start=$(date +%s%N)
    "$bin/vn10" "${paths[@]}"
    until [[ $(grep -c "listed: $tmp/items/run $run " "$tmp/first.log") -ge 100 ]]; do sleep 0.002; done
    end=$(date +%s%N)
    echo "run $run: $(((end - start) / 1000000)) ms from the launch to 100 items listed (goal: under 1 s)"
done
