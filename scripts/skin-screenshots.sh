#!/usr/bin/env bash
# Writes pictures of sample skinned windows in their states into docs/screenshots/, so the
# skin can be reviewed without building. Offscreen: no display is needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VANISTO_BUILD_DIR:-$root/build}"
[[ -f "$build/build.ninja" ]] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target vanisto-skin-gallery vanisto-dialog-gallery vanisto-mainwindow-gallery \
    vanisto-options-gallery vanisto-tutorial-gallery
mkdir -p "$root/docs/screenshots"
QT_QPA_PLATFORM=offscreen "$build/bin/vanisto-skin-gallery" "$root/docs/screenshots"
QT_QPA_PLATFORM=offscreen "$build/bin/vanisto-dialog-gallery" "$root/docs/screenshots"
QT_QPA_PLATFORM=offscreen "$build/bin/vanisto-mainwindow-gallery" "$root/docs/screenshots"
QT_QPA_PLATFORM=offscreen "$build/bin/vanisto-options-gallery" "$root/docs/screenshots"
QT_QPA_PLATFORM=offscreen "$build/bin/vanisto-tutorial-gallery" "$root/docs/screenshots"
