#!/usr/bin/env bash
# Installs what building, running and testing the calculator needs, from
# Debian's archive. Run as root (or through sudo) on Debian 12.
set -euo pipefail

packages=(
    build-essential cmake ninja-build clang libclang-rt-14-dev clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-qpa-plugins libgl-dev libcanberra-dev libcanberra-pulse libxcb1-dev
    fonts-dejavu-core fonts-dejavu-extra locales
    xvfb xauth xdotool xclip x11-xkb-utils time pulseaudio pulseaudio-utils
    orca at-spi2-core python3-pyatspi speech-dispatcher espeak-ng libglib2.0-bin
    qt6-svg-dev dpkg-dev appstream desktop-file-utils libxml2-utils shared-mime-info groff-base
    lintian weston qt6-wayland x11-utils
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so the tests can prove the number texts ignore it.
installed_locales=$(locale -a 2>/dev/null || true)
if ! grep -qi '^de_DE\.utf-\?8$' <<<"$installed_locales"; then
    "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
