#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a desktop finds there, then builds
# the Debian package and reads its contents and dependencies back.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, command...
    local what=$1
    shift
    if "$@" >"$work/out" 2>&1; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    fi
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
files=(
    bin/lumora
    share/applications/lumora.desktop
    share/icons/hicolor/32x32/apps/lumora.png
    share/metainfo/example.lumora.Lumora.metainfo.xml
)
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
icon_size=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/32x32/apps/lumora.png" | tr -s ' ')
check "icon is 32 x 32 pixels" test "$icon_size" = " 0 0 0 32 0 0 0 32"

(cd "$build" && cpack -B "$work/package" >/dev/null)
deb=$(echo "$work"/package/lumora_1.00_*.deb)
check "package file is named lumora_1.00_ARCH.deb" test -f "$deb"
check "package is lumora" test "$(dpkg-deb -f "$deb" Package)" = lumora
check "package version is 1.00" test "$(dpkg-deb -f "$deb" Version)" = 1.00
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation2; do
    check "package depends on $needed" grep -q "$needed" <<<"$depends"
done
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for file in "${files[@]}"; do
    check "package holds /usr/$file" grep -qx "./usr/$file" "$work/contents"
done

if [ "$failures" -ne 0 ]; then
    echo "install: $failures checks failed"
    exit 1
fi
echo "install: all checks passed"
