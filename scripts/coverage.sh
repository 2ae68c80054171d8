#!/usr/bin/env bash
# Builds Vanisto with coverage counters into build-coverage/, runs the whole suite there and
# writes line and branch coverage per folder of src/ to build-coverage/coverage.txt, with an
# HTML report (coverage.html and one page per file) beside it. Arguments go to ctest
# (for example `-L core` for a quick look at the tests that need no display).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="${VANISTO_COVERAGE_DIR:-$root/build-coverage}"
"$root/scripts/deps.sh"
if ! command -v gcovr >/dev/null; then
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends gcovr
fi

# Debug keeps every line its own statement, so a line counts as run only when it ran.
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANISTO_COVERAGE=ON >/dev/null
cmake --build "$out"
# Counters of objects that are no longer built (a removed test) would be read with the rest.
(cd "$out" && ninja -t cleandead >/dev/null)
find "$out" -name '*.gcno' | while read -r notes; do [[ -e ${notes%.gcno}.o ]] || rm -f "$notes"; done
find "$out" -name '*.gcda' -delete
# A failing test still leaves its counters; the figures are written either way and the
# script's status says whether the suite passed.
status=0
(cd "$out" && ctest --output-on-failure --timeout 900 "$@") || status=$?

# Branches that only C++ itself makes (exception paths, the compiler's unreachable ones) are
# left out: no test could take them on purpose.
gcovr_options=(--root "$root" --filter "$root/src/" --exclude-throw-branches --exclude-unreachable-branches
    --exclude '.*_autogen/.*' --gcov-ignore-parse-errors -j 2 --object-directory "$out")
(cd "$out" && gcovr "${gcovr_options[@]}" --json-summary-pretty --json-summary "$out/coverage.json" \
    --html-details "$out/coverage.html")
python3 - "$out/coverage.json" >"$out/coverage.txt" <<'EOF'
import collections, json, sys
folders = collections.defaultdict(lambda: [0, 0, 0, 0])
for f in json.load(open(sys.argv[1]))["files"]:
    parts = f["filename"].split("/")
    key = "/".join(parts[:2]) if parts[0] == "src" else f["filename"]
    row = folders[key]
    row[0] += f["line_covered"]; row[1] += f["line_total"]
    row[2] += f["branch_covered"]; row[3] += f["branch_total"]
def pct(a, b): return 100.0 * a / b if b else 100.0
print(f"{'folder':<16}{'lines':>18}{'branches':>20}")
total = [0, 0, 0, 0]
for key in sorted(folders):
    r = folders[key]
    total = [t + v for t, v in zip(total, r)]
    print(f"{key:<16}{r[0]:>7}/{r[1]:<6}{pct(r[0], r[1]):5.1f}%{r[2]:>8}/{r[3]:<6}{pct(r[2], r[3]):5.1f}%")
r = total
print(f"{'all':<16}{r[0]:>7}/{r[1]:<6}{pct(r[0], r[1]):5.1f}%{r[2]:>8}/{r[3]:<6}{pct(r[2], r[3]):5.1f}%")
EOF
cat "$out/coverage.txt"
exit $status
