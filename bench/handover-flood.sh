#!/usr/bin/env bash
# 2,000 hand-overs from 16 senders at once to one first instance: the time they take, every
# launch's exit status, and the first instance's memory before and after. The paths lie in
# /proc, which the Shred List refuses, so what is measured is the relay and the listener, not
# a list of 2,000 rows. Throw-away XDG folders. Usage: bench/handover-flood.sh [build/bin]
set -euo pipefail
bin=$(cd "${1:-$(dirname "$0")/../build/bin}" && pwd)
source "$(dirname "$0")/sandbox.sh"
QT_LOGGING_RULES=vanisto.relay.info=true "$bin/vn10" >"$tmp/first.log" 2>&1 &
first=$!
trap 'kill $first 2>/dev/null; rm -rf "$tmp"' EXIT
until grep -q "listening on" "$tmp/first.log" 2>/dev/null; do sleep 0.01; done
sleep 1

rss() { awk '/VmRSS/ {print $2 " KiB"}' "/proc/$first/status"; }
echo "first instance before: $(rss)"
start=$(date +%s.%N)
for sender in $(seq 1 16); do
    (for n in $(seq 1 125); do "$bin/vn10" "/proc/vanisto-flood/$sender-$n" || echo "failed $sender-$n"; done) \
        >"$tmp/sender-$sender.log" 2>&1 &
done
wait $(jobs -p | grep -v "^$first\$") 2>/dev/null || true
end=$(date +%s.%N)
failed=$(cat "$tmp"/sender-*.log | grep -c '^failed' || true)
echo "2,000 hand-overs from 16 senders: $(echo "$end - $start" | bc) s, $failed not delivered"
sleep 2
echo "first instance after: $(rss)"
echo "relay warnings: $(grep -c 'relay connection dropped' "$tmp/first.log" || true)"
