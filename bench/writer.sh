# Sourced by the benchmarks: with BENCH_WRITER=1, another program writes to the same disk all
# along (dd of 2 GiB with direct I/O, again and again) between start_writer and stop_writer.
# $1 of start_writer: a folder on the disk being measured.
writer=
start_writer() {
    [[ "${BENCH_WRITER:-0}" == 1 ]] || return 0
    writer_file=$1/concurrent-writer
    (while :; do dd if=/dev/zero of="$writer_file" bs=1M count=2048 oflag=direct status=none; done) &
    writer=$!
    sleep 1
}
stop_writer() {
    [[ -n $writer ]] || return 0
    kill "$writer" 2>/dev/null || true
    wait "$writer" 2>/dev/null || true
    pkill -f "of=$writer_file" 2>/dev/null || true
    rm -f "$writer_file"
    writer=
}
