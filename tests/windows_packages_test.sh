#!/usr/bin/env bash
# Makes the Windows packages of a build and tries them: the zip holds the program and its
# notices; the installer, run silently under Wine, installs the program with a Start-menu
# shortcut in Windows' display language, and its uninstaller takes both away again. Run on a
# virtual screen:
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
# Notepad reads it as UTF-8, line by line, on every Windows 10; Bulgarian comes first.
readme_for_notepad() {
    unzip -p "$zip" lumora-1.00-win64/README.txt >"$work/README.txt"
    file "$work/README.txt" | grep -F 'UTF-8 (with BOM) text, with CRLF line terminators' &&
        sed -n 4p "$work/README.txt" | grep '^Lumora наподобява светеща рекламна табела'
}
check "the read-me is in Bulgarian, then English, as Notepad reads it" readme_for_notepad
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
# the installer installs for all users; for anyone else, for the user alone. Wine's display
# language is the locale that LANG names, and that locale's character set its file names': the
# two locales are made here, for this test alone.
unset LC_ALL
export LOCPATH=$work/locales
mkdir "$LOCPATH"
for locale in bg_BG de_DE; do
    localedef -i $locale -f UTF-8 "$LOCPATH/$locale.UTF-8"
done
run() { wine "$@" >/dev/null 2>&1 || true; }
installed() { find "$WINEPREFIX/drive_c" -path '*/Programs/Lumora/lumora.exe'; }
menu_folder() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Lumora'; }
shortcut() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Lumora/Lumora.lnk'; }
present() { test -n "$("$1")"; }
absent() { test -z "$("$1")"; }
# A shortcut keeps its description in UTF-16, at an even or an odd offset.
describes() { # TEXT
    local lnk
    lnk=$(shortcut)
    { iconv -c -f UTF-16LE -t UTF-8 <"$lnk"; tail -c +2 "$lnk" | iconv -c -f UTF-16LE -t UTF-8; } \
        2>/dev/null | grep -aqF "$1"
}
has_link() { test -f "$(menu_folder)/$1.lnk"; }

# Bulgarian on a Bulgarian Windows, English on any other; the uninstaller takes away the link
# it made whatever the language is by then.
for languages in "bg_BG.UTF-8 Бягащ Деинсталиране de_DE.UTF-8" \
    "de_DE.UTF-8 scrolling Uninstall bg_BG.UTF-8"; do
    read -r language description uninstall_link uninstall_language <<<"$languages"
    LANG=$language run "$installer" /S
    check "installs lumora.exe ($language)" eventually present installed
    check "adds a Start-menu shortcut ($language)" eventually present shortcut
    check "describes the shortcut in the display language ($language)" \
        eventually describes "$description"
    check "names the uninstaller's link in the display language ($language)" \
        eventually has_link "$uninstall_link"
    exe=$(installed)
    # The installer may still be writing it.
    built_exe() { unzip -p "$zip" lumora-1.00-win64/lumora.exe | cmp - "$exe"; }
    check "the installed exe is the built one" eventually built_exe
    [ -n "$exe" ] || continue
    LANG=$uninstall_language run "$(dirname "$exe")/Uninstall.exe" /S
    check "the uninstaller removes the program" eventually absent installed
    check "the uninstaller removes the Start-menu folder" eventually absent menu_folder
done

finish windows_packages
