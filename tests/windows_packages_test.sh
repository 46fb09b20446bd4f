#!/usr/bin/env bash
# Makes the Windows packages of a build and tries them: the zip holds the program and its
# notices; the installer, run silently under Wine, installs the program with a Start-menu
# shortcut, and its uninstaller takes both away again. Run on a virtual screen:
#   virtual_screen.sh windows_packages_test.sh BUILD_DIR
# (LUMORA_WINE_TEMPLATE: the prepared Wine prefix)
set -euo pipefail
build=$1
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
cp -a "$LUMORA_WINE_TEMPLATE/." "$WINEPREFIX"
source "$(dirname "$0")/checks.sh"
# Polls for up to a minute: Wine's installers finish in the background.
eventually() {
    local deadline=$((SECONDS + 60))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.5
    done
}

(cd "$build" && cpack -B "$work/packages" >/dev/null)
zip=$work/packages/lumora-1.00-win64.zip
installer=$work/packages/lumora-1.00-win64.exe
unzip -Z1 "$zip" | grep -v '/$' | sort >"$work/zip-contents"
printf 'lumora-1.00-win64/%s\n' lumora.exe README.txt LICENSE.txt licences/mingw-w64-runtime.txt \
    licences/gcc-runtime.txt | sort >"$work/zip-expected"
check "zip holds the program and its notices, and nothing else" \
    diff "$work/zip-expected" "$work/zip-contents"
# Read from the file's own PE header: the machine (x86-64 is 8664), the optional header's kind
# (020b, PE32+) and the subsystem (2, a GUI program).
pe_header() {
    local at
    at=$(od -A n -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    printf '%s %s %s %s\n' "$(od -A n -t x1 -j "$at" -N 4 "$1" | tr -d ' ')" \
        "$(od -A n -t x2 -j $((at + 4)) -N 2 "$1" | tr -d ' ')" \
        "$(od -A n -t x2 -j $((at + 24)) -N 2 "$1" | tr -d ' ')" \
        "$(od -A n -t u2 -j $((at + 24 + 68)) -N 2 "$1" | tr -d ' ')"
}
is_64_bit_gui_program() {
    local header
    header=$(pe_header "$1")
    echo "PE signature, machine, optional header, subsystem: $header"
    test "$header" = "50450000 8664 020b 2"
}
check "installer is a 64-bit Windows program" is_64_bit_gui_program "$installer"

# Wine's exit status says nothing: look at the files. Wine's user is an administrator, for whom
# the installer installs for all users; for anyone else, for the user alone.
run() { wine "$@" >/dev/null 2>&1 || true; }
installed() { find "$WINEPREFIX/drive_c" -path '*/Programs/Lumora/lumora.exe'; }
shortcut() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Lumora/Lumora.lnk'; }
run "$installer" /S
present() { test -n "$("$1")"; }
absent() { test -z "$("$1")"; }
check "installs lumora.exe" eventually present installed
check "adds a Start-menu shortcut" eventually present shortcut
exe=$(installed)
# The installer may still be writing it.
built_exe() { unzip -p "$zip" lumora-1.00-win64/lumora.exe | cmp - "$exe"; }
check "the installed exe is the built one" eventually built_exe

if [ -n "$exe" ]; then
    run "$(dirname "$exe")/Uninstall.exe" /S
    check "the uninstaller removes the program" eventually absent installed
    check "the uninstaller removes the shortcut" eventually absent shortcut
fi

finish windows_packages
