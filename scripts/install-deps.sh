#!/usr/bin/env bash
# Installs what building, running and testing the calculator needs, from
# Debian's archive. Run as root (or through sudo) on Debian 12.
set -euo pipefail

packages=(
    build-essential cmake ninja-build clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libgl-dev
    fonts-dejavu-core
    xvfb xauth xdotool xclip
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
