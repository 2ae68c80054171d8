# Shared by the install tests: a work folder removed at the end (with the program they started),
# failures that say what was wrong, and waits of up to ten seconds.
work=$(mktemp -d)
pid=
cleanup() {
    [[ -z $pid ]] || { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Runs the command until it succeeds, at most 100 times, a tenth of a second apart.
eventually() {
    for _ in $(seq 100); do "$@" && return; sleep 0.1; done
    "$@"
}
# A user's session of its own under $home (an env command to run programs in).
new_session() {
    home=$work/home
    mkdir -p "$home"/{config,data,state,run,bin}
    chmod 700 "$home/run"
    session=(env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"
        XDG_STATE_HOME="$home/state" XDG_RUNTIME_DIR="$home/run" PATH="$home/bin:/usr/bin:/bin"
        QT_QPA_PLATFORM=offscreen)
}
# Starts the given vn10 in the background in that session, logging to $work/vn10.log, and waits
# until its relay listens.
start_first_instance() {
    "${session[@]}" QT_LOGGING_RULES='vanisto.*.info=true' "$1" 2>"$work/vn10.log" &
    pid=$!
    eventually grep -q 'listening on' "$work/vn10.log" || fail "the installed vn10 did not start: $(cat "$work/vn10.log")"
}
