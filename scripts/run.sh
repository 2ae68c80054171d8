#!/usr/bin/env bash
# Builds Vanisto when needed and starts vn10 with the given paths.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >&2
exec "${VANISTO_BUILD_DIR:-$root/build}/bin/vn10" "$@"
