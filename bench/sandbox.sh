# Sourced by the benchmarks that start vn10: throw-away HOME and XDG folders in $tmp, so that
# nothing of the user's is read or written, and the offscreen platform.
tmp=$(mktemp -d)
export XDG_CONFIG_HOME=$tmp/config XDG_STATE_HOME=$tmp/state XDG_DATA_HOME=$tmp/data XDG_RUNTIME_DIR=$tmp/run
export QT_QPA_PLATFORM=offscreen HOME=$tmp/home
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
