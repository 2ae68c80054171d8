#!/usr/bin/env bash
# Builds the Debian package vanisto_<version>_amd64.deb into build/ from the install rules
# (packaging/CMakeLists.txt), with its library dependencies worked out by dpkg-shlibdeps.
# Install it with: apt-get install ./build/vanisto_1.0_amd64.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VANISTO_BUILD_DIR:-$root/build}"
"$root/scripts/deps.sh"
[[ -f "$build/build.ninja" ]] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target vn10 vanisto-shred vanisto-shellmenu
(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
mv "$build"/package/vanisto_*_amd64.deb "$build/"
ls "$build"/vanisto_*_amd64.deb
