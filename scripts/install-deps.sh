#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; only what is missing.
set -euo pipefail

packages=(
    cmake ninja-build ccache g++ pkg-config make
    qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev libxkbcommon-dev
    libcurl4-openssl-dev libssl-dev
    libmariadb-dev mariadb-server-core mariadb-client
    libminizip-dev zlib1g-dev
    libqrencode-dev libzbar-dev
    libx11-dev libxtst-dev
    libcpp-httplib-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth
    openbox x11-utils
    fonts-noto-cjk
    desktop-file-utils dpkg-dev file
    lintian appstream
    mmdebstrap
    libtsan2
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
