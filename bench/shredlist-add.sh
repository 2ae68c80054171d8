#!/usr/bin/env bash
# Adding 10,000 files of 50 extensions to the Shred List: time and memory (bench/README.md).
# Three runs, since the machine is shared.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target bench_shredlist_add
for run in 1 2 3; do
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} build/bin/bench_shredlist_add
done
