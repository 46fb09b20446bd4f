#!/usr/bin/env bash
# Prepares the Wine prefix that every Windows test starts from:  wine_prefix.sh FOLDER
# "Times New Roman" is mapped to Liberation Serif, as on Linux (Wine's own fallback is a sans
# serif, and Cyrillic in an edit control has crashed in its text shaping with it), and the crash
# dialog is off, so that a crash ends the program at once with a backtrace instead of waiting
# for a click nobody makes.
set -euo pipefail
prefix=$1
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
wine wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /t REG_SZ \
    /d 'Liberation Serif' /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
wineserver -w
