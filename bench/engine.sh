#!/usr/bin/env bash
# Measures vanisto-shred against coreutils shred in the same run, on the disk that holds
# BENCH_DIR (default build/bench-tmp, not a RAM file system: the syncs must reach a disk).
#   bench/engine.sh            all four measurements
#   bench/engine.sh large|tree|memory|yield
# BENCH_WRITER=1: another program writes to the same disk meanwhile (bench/writer.sh).
# Needs a build in build/ (scripts/build.sh), hyperfine and /usr/bin/time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool="${VANISTO_BUILD_DIR:-$root/build}/bin/vanisto-shred"
work="${BENCH_DIR:-$root/build/bench-tmp}"
runs="${BENCH_RUNS:-5}"
[[ -x "$tool" ]] || { echo "build vanisto-shred first: $tool" >&2; exit 1; }
mkdir -p "$work"
# Its own settings and queue folders, so the user's are never read or written.
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
source "$root/bench/writer.sh"
[[ "${1:-}" == make_tree ]] || trap 'stop_writer; rm -rf "$work/f" "$work/tree" "$work/config" "$work/state"' EXIT

source_file() { # size-in-MiB: a file of random bytes to copy from, made once
    local src="$work/source-$1M"
    [[ -f "$src" ]] || head -c "$(($1 * 1024 * 1024))" /dev/urandom >"$src"
    echo "$src"
}

large() {
    local src
    src=$(source_file 256)
    echo "== One 256 MiB file, 3 passes"
    # The physical limit: three passes written in place, each synced, then the file removed.
    local dd="dd if=/dev/zero of='$work/f' bs=1M count=256 conv=notrunc,fdatasync status=none"
    hyperfine --runs "$runs" --export-markdown "$work/large.md" \
        --prepare "cp '$src' '$work/f' && sync" \
        -n "vanisto-shred --method normal --wipes 3" "'$tool' --method normal --wipes 3 '$work/f'" \
        -n "three in-place dd passes" "$dd && $dd && $dd && rm '$work/f'" \
        -n "shred -n 3 -u" "shred -n 3 -u '$work/f'"
}

make_tree() {
    rm -rf "$work/tree" && mkdir -p "$work/tree"
    for d in $(seq 0 19); do
        mkdir "$work/tree/d$d"
        head -c $((100 * 4096)) /dev/urandom | split -b 4096 -a 3 - "$work/tree/d$d/f"
    done
    sync
}

tree() {
    echo "== A tree of 2,000 files of 4 KiB, one pass"
    hyperfine --runs "$runs" --export-markdown "$work/tree.md" \
        --prepare "'$0' make_tree" \
        -n "vanisto-shred --method normal --wipes 1" "'$tool' --method normal --wipes 1 '$work/tree'" \
        -n "shred -n 1 -u each file, rm -r" "find '$work/tree' -type f -exec shred -n 1 -u {} + && rm -r '$work/tree'"
}

memory() {
    echo "== Peak memory (maximum resident set size)"
    for size in 1 1024; do
        cp "$(source_file "$size")" "$work/f" && sync
        /usr/bin/time -v "$tool" --method normal --wipes 1 "$work/f" 2>&1 |
            awk -v s="$size" '/Maximum resident set size/ {print "vanisto-shred, " s " MiB file: " $6 " KiB"}'
        cp "$(source_file "$size")" "$work/f" && sync
        /usr/bin/time -v shred -n 1 -u "$work/f" 2>&1 |
            awk -v s="$size" '/Maximum resident set size/ {print "shred -n 1 -u, " s " MiB file: " $6 " KiB"}'
    done
}

yield() {
    echo "== Longest stretch between two yields, 1 GiB file, 1 pass"
    cp "$(source_file 1024)" "$work/f" && sync
    VANISTO_SHRED_YIELD_STATS=1 "$tool" --method normal --wipes 1 "$work/f"
    echo "== the same with ENHANCED (8 wipes of 3 patterns, random letters built one by one)"
    cp "$(source_file 1024)" "$work/f" && sync
    VANISTO_SHRED_YIELD_STATS=1 "$tool" --method enhanced --wipes 8 "$work/f"
}

[[ "${1:-}" == make_tree ]] || start_writer "$work"
case "${1:-all}" in
large | tree | memory | yield | make_tree) "$1" ;;
all) large && tree && memory && yield ;;
*) echo "usage: $0 [large|tree|memory|yield]" >&2 && exit 2 ;;
esac
