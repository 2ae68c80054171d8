#!/usr/bin/env bash
# 10,000 files added one by one to the main window's Shred List, shown (bench/README.md), three
# runs, in throw-away XDG folders.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target bench_shredlist_add
source bench/sandbox.sh
trap 'rm -rf "$tmp"' EXIT
for run in 1 2 3; do
    build/bin/bench_shredlist_add
done
