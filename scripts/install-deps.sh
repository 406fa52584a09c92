#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need,
# only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config
    qt6-base-dev qt6-serialport-dev libgl-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev libxcb1-dev
    fonts-ipafont-gothic
    xvfb xauth
    help2man dpkg-dev file desktop-file-utils appstream
    ser2net openssh-server openssh-client openssl
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
