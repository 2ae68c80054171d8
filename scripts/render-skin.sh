#!/usr/bin/env bash
# Renders the skin's SVG sources (src/skin/art) into the pictures the program embeds
# (src/skin/images). Run it after changing the art, look at the result, commit both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VANISTO_BUILD_DIR:-$root/build}"
[[ -f "$build/build.ninja" ]] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target vanisto-skin-render
rm -f "$root"/src/skin/images/*.png "$root"/src/skin/images/*.svg "$root"/src/skin/images/buttons/*.png
"$build/bin/vanisto-skin-render" "$root/src/skin/art" "$root/src/skin/images"
