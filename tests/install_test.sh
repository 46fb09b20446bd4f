#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a desktop finds there, then builds
# the Debian package and reads its contents and dependencies back.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
icon_sizes=(16 32 64 128 256)
files=(
    bin/lumora
    share/applications/lumora.desktop
    share/metainfo/example.lumora.Lumora.metainfo.xml
    share/man/man1/lumora.1.gz
    share/man/bg/man1/lumora.1.gz
    share/doc/lumora/copyright
    share/doc/lumora/changelog.gz
)
for size in "${icon_sizes[@]}"; do
    files+=("share/icons/hicolor/${size}x${size}/apps/lumora.png")
done
for file in "${files[@]}"; do
    check "installs $file" test -s "$prefix/$file"
done
check "the executable is executable" test -x "$prefix/bin/lumora"
check "desktop entry validates" desktop-file-validate "$prefix/share/applications/lumora.desktop"
check "metainfo validates" appstreamcli validate --no-net \
    "$prefix/share/metainfo/example.lumora.Lumora.metainfo.xml"
check "desktop entry names version 1.00" \
    grep -qx 'X-AppVersion=1.00' "$prefix/share/applications/lumora.desktop"
check "desktop entry has a Bulgarian name and comment" \
    grep -q '^Comment\[bg\]=' "$prefix/share/applications/lumora.desktop"
check "metainfo has release 1.00" \
    grep -q '<release version="1.00"' "$prefix/share/metainfo/example.lumora.Lumora.metainfo.xml"
check "metainfo has a screenshot" \
    grep -q '<screenshot type="default">' "$prefix/share/metainfo/example.lumora.Lumora.metainfo.xml"
# PNG header: the IHDR chunk holds width and height as 32-bit big-endian numbers.
for size in "${icon_sizes[@]}"; do
    header=$(od -An -tu4 --endian=big -j16 -N8 \
        "$prefix/share/icons/hicolor/${size}x${size}/apps/lumora.png" | tr -s ' ')
    check "icon in ${size}x${size} is $size pixels square" test "$header" = " $size $size"
done
for page in man1 bg/man1; do
    check "manual page $page formats without warnings" \
        bash -c "! man --warnings -l '$prefix/share/man/$page/lumora.1.gz' 2>&1 >/dev/null | grep ."
done
bulgarian_page=$(MANPATH=$prefix/share/man man -L bg_BG.UTF-8 -w lumora)
check "man finds the Bulgarian page for a Bulgarian locale" \
    test "$bulgarian_page" = "$prefix/share/man/bg/man1/lumora.1.gz"
check "manual page states the exit status" zgrep -q '^\.SH EXIT STATUS' \
    "$prefix/share/man/man1/lumora.1.gz"
check "copyright is machine-readable and names the licence" \
    grep -q '^License: Expat' "$prefix/share/doc/lumora/copyright"
check "metainfo names the same licence" \
    grep -q '<project_license>MIT</project_license>' \
    "$prefix/share/metainfo/example.lumora.Lumora.metainfo.xml"

(cd "$build" && cpack -B "$work/package" >/dev/null)
deb=$(echo "$work"/package/lumora_1.00_*.deb)
check "package file is named lumora_1.00_ARCH.deb" test -f "$deb"
check "package is lumora" test "$(dpkg-deb -f "$deb" Package)" = lumora
check "package version is 1.00" test "$(dpkg-deb -f "$deb" Version)" = 1.00
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libc6 fonts-liberation2; do
    check "package depends on $needed" grep -q "$needed" <<<"$depends"
done
check "package recommends Qt's Wayland plugin" \
    test "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland
check "short description fits in 80 columns" \
    test "$(dpkg-deb -f "$deb" Description | head -n 1 | wc -c)" -le 81
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for file in "${files[@]}"; do
    check "package holds /usr/$file" grep -qx "./usr/$file" "$work/contents"
done

finish install
