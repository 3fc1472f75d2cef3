#!/bin/sh
# Builds the Debian package from the built tree, lists it, unpacks it into an
# empty root and starts both programs from there.
# Usage: package_test.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/velmarin_*.deb)
dpkg-deb -c "$deb" | tee "$work/list"
for f in /usr/bin/velmarin /usr/bin/velmarin-cli /velmarin/libvelmarin_webview.so \
         /usr/share/applications/velmarin.desktop \
         /usr/share/icons/hicolor/scalable/apps/velmarin.svg \
         /usr/share/velmarin/help/index.html /usr/share/velmarin/main-window.png \
         /usr/share/man/man1/velmarin-cli.1; do
    grep -q -- "$f\$" "$work/list" || fail "not in the package: $f"
done

depends=$(dpkg-deb -f "$deb" Depends)
for d in tidy qt6-translations-l10n libqt6widgets6 libqt6network6 libqt6webenginewidgets6; do
    echo "$depends" | grep -q "$d" || fail "missing dependency: $d in $depends"
done
dpkg-deb -f "$deb" Suggests | grep -q java || fail "Java is not suggested"

root="$work/root"
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/velmarin.desktop"
"$root/usr/bin/velmarin-cli" --help >/dev/null
"$root/usr/bin/velmarin" --help
# The installed window program finds its browser module and its manual
# inside the unpacked root, not in the build tree.
version=$("$root/usr/bin/velmarin" --version)
echo "$version" | grep -q "埋め込みブラウザ: $root/usr/lib/.*libvelmarin_webview.so" ||
    fail "the window program does not find its installed browser module: $version"
echo "$version" | grep -q "ヘルプ: $root/usr/share/velmarin/help/index.html" ||
    fail "the window program does not find its installed manual"

# Every page and picture the installed manual refers to is installed too.
cd "$root/usr/share/velmarin/help"
for page in *.html; do
    for target in $(grep -o -E '(href|src)="[^"#:]+"' "$page" | sed -E 's/^[a-z]+="//; s/"$//'); do
        [ -f "$target" ] || fail "$page refers to missing $target"
    done
done
