#!/usr/bin/env bash
# Installs every Debian package Velmarin needs and builds it into build/.
# Usage: scripts/setup.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libqt6opengl6-dev
    tidy fonts-noto-cjk xdg-utils
    # the desktop entry's checks and tools, and the Debian package (cpack -G DEB)
    desktop-file-utils dpkg-dev
    # the browsers whose current page the checks read (and the tests start headless)
    chromium firefox-esr
    libgtest-dev libgmock-dev
    clang libclang-rt-14-dev
    liblz4-dev libjpeg-dev libpng-dev zlib1g-dev
    openjdk-17-jre-headless openjdk-17-jdk-headless
    # python3 reads pages for the link check's reference test, which compares
    # on the HTML documentation under /usr/share/doc (libxslt1-dev ships some)
    python3 libxslt1-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build
