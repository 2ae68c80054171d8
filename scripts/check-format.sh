#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted by .clang-format, or when the files of a
# folder of src/ include each other in a circle (scripts/check-includes.py).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.h.in')
[[ ${#files[@]} -eq 0 ]] || clang-format --dry-run --Werror "${files[@]}"
echo "formatting: ${#files[@]} files checked"
python3 scripts/check-includes.py
