#!/usr/bin/env bash
# The main window's event loop during a run over a 1 GiB file and a tree of 2,000 files: the
# longest gap of a 10 ms timer (bench/README.md). BENCH_DIR must be on a real disk.
#   bench/mainwindow-run.sh [normal|enhanced]    BENCH_WRITER=1: another program writes meanwhile
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target bench_mainwindow_run
dir=${BENCH_DIR:-$PWD/build/bench-tmp}
mkdir -p "$dir"
work=$(mktemp -d "$dir/run.XXXXXX")
source bench/writer.sh
trap 'stop_writer; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data HOME=$work/home
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$HOME" "$work/items"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_writer "$dir"
build/bin/bench_mainwindow_run "$work/items" "${1:-normal}"
