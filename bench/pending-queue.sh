#!/usr/bin/env bash
# The pending-deletions queue with 10,000 entries: queueing them one by one, and the next start
# working through them (bench/README.md). Three runs, in throw-away XDG folders.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target bench_pending_queue
source bench/sandbox.sh
trap 'rm -rf "$tmp"' EXIT
for run in 1 2 3; do
    rm -f "$XDG_STATE_HOME/Vanisto/pending-deletions"
    build/bin/bench_pending_queue
done
