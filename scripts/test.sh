#!/usr/bin/env bash
# Builds Vanisto when needed, checks the formatting and runs every test through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
"$root/scripts/check-format.sh"
cd "${VANISTO_BUILD_DIR:-$root/build}"
ctest --output-on-failure --timeout 600 "$@"
