#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual screen, in a copy of the prepared prefix of its
# own, removed afterwards:  wine_run.sh PROGRAM.exe ARGUMENTS...
# The prepared prefix is in LUMORA_WINE_TEMPLATE (see wine_prefix.sh); with LUMORA_WINE_DPI set,
# the copy's screen has that many dots per inch.
set -euo pipefail
prefix=$(mktemp -d)
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null; rm -rf "$prefix"' EXIT
cp -a "$LUMORA_WINE_TEMPLATE/." "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ -n "${LUMORA_WINE_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$LUMORA_WINE_DPI" /f >/dev/null 2>&1
    wineserver -w
fi
bash "$(dirname "$0")/virtual_screen.sh" wine "$@"
