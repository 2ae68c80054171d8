#!/usr/bin/env bash
# The Debian package on a machine: its dependencies resolve from Debian's archive alone (asked of
# apt as if nothing were installed), `apt-get install ./vanisto_1.0_amd64.deb` installs a vn10
# that starts, and `apt-get remove vanisto` takes the program away and leaves a user's settings
# and file-manager entries as they were. Installing needs root and a machine without the package:
# otherwise this test is skipped (77).
set -euo pipefail
build=$1
source "$(dirname "$0")/common.sh"
apt=(apt-get -q -y --no-install-recommends -o DPkg::Lock::Timeout=120)

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$work/package/vanisto_1.0_amd64.deb
: > "$work/nothing-installed"
resolved=$(apt-get -s --no-install-recommends -o Dir::State::status="$work/nothing-installed" install "$deb") ||
    fail "the dependencies do not resolve on a fresh machine"$'\n'"$resolved"
for needed in vanisto libqt6widgets6 qt6-qpa-plugins; do
    grep -q "^Inst $needed " <<<"$resolved" || fail "a fresh machine would not get $needed"
done

installed() { dpkg-query -W -f='${Status}' vanisto 2>/dev/null | grep -q "ok installed"; }
if [[ $(id -u) != 0 ]] || installed; then
    echo "SKIP: installing needs root and a machine without the package"
    exit 77
fi
new_session
mkdir -p "$home"/{config/Vanisto,data/nemo/actions}
printf '[Config]\nNumOverwrite=3\n' > "$home/config/Vanisto/Vanisto.conf"
printf '[Nemo Action]\nName=Delete with Vanisto\n' > "$home/data/nemo/actions/vanisto.nemo_action"

"${apt[@]}" install "$deb" >"$work/apt.log" 2>&1 || fail "apt-get install: $(tail -5 "$work/apt.log")"
# Whatever happens, the machine is left as it was found: not even the package's record stays.
trap '"${apt[@]}" remove vanisto >/dev/null 2>&1 || true; dpkg --purge vanisto >/dev/null 2>&1 || true; cleanup' EXIT
[[ -x /usr/bin/vn10 ]] || fail "no /usr/bin/vn10"
start_first_instance /usr/bin/vn10
kill "$pid" && wait "$pid" 2>/dev/null || true
pid=
# What the running program wrote is the user's now; the package must not take it either.
before=$(cd "$home" && find . -type f -exec md5sum {} + | sort)

"${apt[@]}" remove vanisto >"$work/apt.log" 2>&1 || fail "apt-get remove: $(tail -5 "$work/apt.log")"
[[ ! -e /usr/bin/vn10 ]] || fail "/usr/bin/vn10 is still there"
! installed || fail "still installed"
after=$(cd "$home" && find . -type f -exec md5sum {} + | sort)
[[ $before == "$after" ]] || fail "the user's files changed:"$'\n'"$(diff <(echo "$before") <(echo "$after"))"
echo "PASS"
