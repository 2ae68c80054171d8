#!/usr/bin/env bash
# An install into a temporary prefix holds the programs, vn10's windows' library, the desktop
# entry (valid, naming the installed vn10), the icons and the manual page; the installed vn10
# starts from there (its windows loaded from the install), names its installed paths in the
# entries it writes and is handed a later launch's paths; the Debian package holds the same files.
set -euo pipefail
build=$1
source "$(dirname "$0")/common.sh"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
installed=$(cd "$prefix" && find . -type f | sort)
expected=$(printf '%s\n' ./bin/vanisto-shellmenu ./bin/vanisto-shred ./bin/vn10 ./lib/vanisto/libvanisto-gui.so \
    ./lib/vanisto/libvanisto-start.so \
    ./share/applications/vanisto.desktop ./share/icons/hicolor/256x256/apps/vanisto.png \
    ./share/icons/hicolor/48x48/apps/vanisto.png ./share/icons/hicolor/scalable/apps/vanisto.svg \
    ./share/man/man1/vanisto-shred.1 | sort)
[[ $installed == "$expected" ]] || fail "the install holds"$'\n'"$installed"
entry=$prefix/share/applications/vanisto.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate"
grep -qxF "Exec=\"$prefix/bin/vn10\" %F" "$entry" || fail "the entry's Exec: $(grep ^Exec "$entry")"

# The installed vn10, in a session of its own, with a file manager "installed".
new_session
printf '#!/bin/sh\n' > "$home/bin/dolphin" && chmod +x "$home/bin/dolphin"
start_first_instance "$prefix/bin/vn10"
# The window's load, after the relay listens, writes the entries.
autostart=$home/config/autostart/vanisto.desktop
menu=$home/data/kio/servicemenus/vanisto.desktop
eventually test -f "$autostart" -a -f "$menu" || true
grep -qF "$prefix/bin/vn10" "$autostart" || fail "the autostart entry"
grep -qF "Exec=\"$prefix/bin/vanisto-shellmenu\" %F" "$menu" || fail "the file manager's entry"
# A later launch of the installed vn10 hands its path over.
"${session[@]}" "$prefix/bin/vn10" /tmp/handed-to-the-installed || fail "the installed vn10 did not hand over"
eventually grep -q 'received: /tmp/handed-to-the-installed$' "$work/vn10.log" ||
    fail "the hand-over: $(cat "$work/vn10.log")"

# The package, from the same rules.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$work/package/vanisto_1.0_amd64.deb
[[ -f $deb ]] || fail "no $deb"
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $NF}' | sed 's|^\./usr/|./|' | sort)
[[ $packaged == "$expected" ]] || fail "the package holds"$'\n'"$packaged"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "the package's dependencies: $(dpkg-deb -f "$deb" Depends)"
echo "PASS"
