#!/usr/bin/env bash
# Compares two builds of vanisto-shred on the same disk, runs interleaved (A, B, A, B ...) so
# that the disk's own moods fall on both alike:
#   bench/engine-compare.sh OTHER_BUILD_DIR [large|tree] [RUNS]
# OTHER_BUILD_DIR holds bin/vanisto-shred of the build to compare with (for example a
# worktree of an earlier commit built with scripts/build.sh); this tree's build/ is the other.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
other="$1/bin/vanisto-shred"
this="${VANISTO_BUILD_DIR:-$root/build}/bin/vanisto-shred"
what="${2:-large}"
runs="${3:-10}"
work="${BENCH_DIR:-$root/build/bench-tmp}"
export BENCH_DIR="$work" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
mkdir -p "$work"
src="$work/source-256M"
[[ -f "$src" ]] || head -c $((256 * 1024 * 1024)) /dev/urandom >"$src"

prepare() { if [[ $what == large ]]; then cp "$src" "$work/f" && sync; else "$root/bench/engine.sh" make_tree; fi; }
target() { if [[ $what == large ]]; then echo "$work/f"; else echo "$work/tree"; fi; }
wipes() { if [[ $what == large ]]; then echo 3; else echo 1; fi; }

seconds() { # tool: wall time of one run
    local start end
    start=$(date +%s.%N)
    "$1" --method normal --wipes "$(wipes)" "$(target)" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

for ((i = 0; i < runs; i++)); do
    prepare && printf 'other %s\n' "$(seconds "$other")"
    prepare && printf 'this %s\n' "$(seconds "$this")"
done | awk '{sum[$1] += $2; n[$1]++; if (!($1 in min) || $2 < min[$1]) min[$1] = $2}
    END {for (k in sum) printf "%s: mean %.3f s, best %.3f s over %d runs\n", k, sum[k] / n[k], min[k], n[k]}'
