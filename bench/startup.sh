#!/usr/bin/env bash
# Start-up of the first instance (from exec to a listening relay) and a second launch's
# whole hand-over, each over 20 runs with hyperfine, in throw-away XDG folders.
# Usage: bench/startup.sh [build/bin]
set -euo pipefail
bin=$(cd "${1:-$(dirname "$0")/../build/bin}" && pwd)
source "$(dirname "$0")/sandbox.sh"

# Stops the first instance named in the lock file, and only that one.
stop_first="pid=\$(head -n1 $XDG_RUNTIME_DIR/vanisto/instance.lock 2>/dev/null) && kill \$pid 2>/dev/null; sleep 0.05"
trap 'bash -c "$stop_first"; rm -rf "$tmp"' EXIT

hyperfine --runs 20 --warmup 2 --prepare "$stop_first" \
    --command-name "first instance: start to listening relay" \
    "bash -c 'export QT_LOGGING_RULES=vanisto.relay.info=true; grep -m1 -q \"listening on\" < <($bin/vn10 2>&1)'"

bash -c "$stop_first"
QT_LOGGING_RULES=vanisto.relay.info=true "$bin/vn10" > "$tmp/first.log" 2>&1 &
until grep -q "listening on" "$tmp/first.log" 2>/dev/null; do sleep 0.01; done
hyperfine --runs 20 --warmup 2 --command-name "second launch: whole hand-over" "$bin/vn10 /tmp/some/path"
