#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vanisto need,
# and only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libgl-dev
    clang-format desktop-file-utils e2fsprogs btrfs-progs util-linux hyperfine
    fonts-dejavu-core libxcb1-dev xvfb xdotool dpkg-dev file
    # The default browser is asked of xdg-mime, which needs the MIME database.
    xdg-utils shared-mime-info
    # The file managers whose menus the tests drive, and the accessibility bus they are driven through.
    thunar nemo caja nautilus dolphin pcmanfm-qt
    dbus-x11 at-spi2-core gir1.2-atspi-2.0 python3-gi
    # The screenshot of the context menu (VANISTO_FM_SCREENSHOT): import and convert.
    imagemagick
)

missing=()
for pkg in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
