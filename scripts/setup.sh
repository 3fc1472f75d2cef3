#!/usr/bin/env bash
# Installs every Debian package Velmarin needs and builds it into build/.
# Usage: scripts/setup.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libqt6opengl6-dev
    # Qt's own dialogs and messages in Japanese (qtbase_ja.qm)
    qt6-translations-l10n
    tidy fonts-noto-cjk xdg-utils
    # the desktop entry's checks and tools, and the Debian package (cpack -G DEB)
    desktop-file-utils dpkg-dev
    # the browsers whose current page the checks read (and the tests start headless)
    chromium firefox-esr
    libgtest-dev libgmock-dev
    clang libclang-rt-14-dev
    liblz4-dev libjpeg-dev libpng-dev zlib1g-dev
    # the screen colour picker's tests: a real X server, and a private D-Bus
    # for the desktop portal's path
    xvfb xauth xdotool dbus-daemon
    openjdk-17-jre-headless openjdk-17-jdk-headless
    # python3 reads pages for the link check's reference test, which compares
    # on the HTML documentation under /usr/share/doc (libxslt1-dev ships some)
    python3 libxslt1-dev
    # the markup validator's own check program under a loopback web server, for the upload tests
    w3c-markup-validator lighttpd nodejs
    # w3m's manuals (Japanese among them) are pages the table view's tests read
    w3m
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

# The newer markup checker (vnu.jar) for the upload tests, kept out of the
# source tree; tests/CMakeLists.txt looks for it here.
peers="${XDG_CACHE_HOME:-$HOME/.cache}/velmarin-peers"
if [ ! -f "$peers/node_modules/vnu-jar/build/dist/vnu.jar" ]; then
    command -v npm >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"; $sudo apt-get install -y --no-install-recommends npm; }
    mkdir -p "$peers"
    npm install --prefix "$peers" --no-audit --no-fund --ignore-scripts vnu-jar
fi

cmake -S . -B build -DVELMARIN_VNU_JAR="$peers/node_modules/vnu-jar/build/dist/vnu.jar" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build
