#!/usr/bin/env bash
# Builds Vanisto when needed, checks the formatting and runs every test through CTest;
# then runs the tests that need no display ("core") once more in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer (VANISTO_SANITIZE_PASS=0 skips that).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/check-format.sh"
(cd "${VANISTO_BUILD_DIR:-$root/build}" && ctest --output-on-failure --timeout 900 "$@")

[[ "${VANISTO_SANITIZE_PASS:-1}" == 0 ]] && exit 0
asan="$root/build-asan"
# Configured every time (cheap when nothing changed), so the list of tests below is current.
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANISTO_SANITIZE=ON >/dev/null
mapfile -t targets < <(cd "$asan" && ctest -L core -N | sed -n 's/^ *Test *#[0-9]*: //p')
cmake --build "$asan" --target vn10 "${targets[@]}"
# Qt keeps some objects alive until exit on purpose; leaks are not what this pass looks for.
(cd "$asan" && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest -L core --output-on-failure --timeout 900 "$@")
