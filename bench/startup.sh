#!/usr/bin/env bash
# Start-up of the first instance (from exec to a listening relay, 20 runs) and a second
# launch's whole hand-over (50 runs, started directly rather than through a shell), with
# hyperfine in throw-away XDG folders. The goals are on the medians, printed last: on a shared
# machine a few runs are always held up by other work.
# Usage: bench/startup.sh [build/bin]
set -euo pipefail
bin=$(cd "${1:-$(dirname "$0")/../build/bin}" && pwd)
source "$(dirname "$0")/sandbox.sh"

# Stops the first instance named in the lock file, and only that one, and waits until it is
# gone: on a loaded machine a dying instance still holds the lock for a while, and the next
# start would hand over to it instead of starting.
cat > "$tmp/stop-first" <<STOP
pid=\$(head -n1 "$XDG_RUNTIME_DIR/vanisto/instance.lock" 2>/dev/null) && kill "\$pid" 2>/dev/null || exit 0
for _ in \$(seq 500); do
    [[ \$(cut -d' ' -f3 "/proc/\$pid/stat" 2>/dev/null || echo Z) == Z ]] && exit 0
    sleep 0.01
done
STOP
stop_first="bash $tmp/stop-first"
trap '$stop_first; rm -rf "$tmp"' EXIT

hyperfine --runs 20 --warmup 2 --prepare "$stop_first" --export-json "$tmp/first.json" \
    --command-name "first instance: start to listening relay" \
    "bash -c 'export QT_LOGGING_RULES=vanisto.relay.info=true; grep -m1 -q \"listening on\" < <($bin/vn10 2>&1)'"

$stop_first
QT_LOGGING_RULES=vanisto.relay.info=true "$bin/vn10" > "$tmp/first.log" 2>&1 &
until grep -q "listening on" "$tmp/first.log" 2>/dev/null; do sleep 0.01; done
# A started program's settings, so that launches hand over the quick way as they do every day.
until grep -qx "FirstStartEver=False" "$XDG_CONFIG_HOME/Vanisto/Vanisto.conf" 2>/dev/null; do sleep 0.01; done
# Beside it, in the same run, the floor: a process that does nothing at all.
hyperfine -N --runs 50 --warmup 3 --export-json "$tmp/handover.json" \
    --command-name "second launch: whole hand-over" "$bin/vn10 /tmp/some/path" \
    --command-name "floor: /bin/true" /bin/true

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
jq -r '.results[] | "\(.command): median \(.median * 1000 * 10 | round / 10) ms (\(.min * 1000 | round) to \(.max * 1000 | round) ms)"' \
    "$tmp/first.json" "$tmp/handover.json"
