#!/usr/bin/env bash
# Reads the built lumora.exe back: it imports only Windows' own DLLs and only their wide (W)
# text functions, carries its version record and manifest, and is small once stripped.
#   windows_exe_test.sh LUMORA.EXE
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/checks.sh"

x86_64-w64-mingw32-objdump -p "$exe" >"$work/headers"
awk '/DLL Name/ {print toupper($3)}' "$work/headers" | sort >"$work/dlls"
check "imports only system DLLs" \
    bash -c "! grep -v -x -E 'COMCTL32.DLL|GDI32.DLL|KERNEL32.DLL|MSVCRT.DLL|USER32.DLL' '$work/dlls'"
# Each DLL's functions follow its name and a heading line, one a line with the name last, up to
# a blank line; binutils' releases differ in the columns before it.
awk '/DLL Name:/ {inside = 1; getline; next} /^[[:space:]]*$/ {inside = 0} inside {print $NF}' \
    "$work/headers" | sort -u >"$work/functions"
for function in CreateWindowExW SetTimer DispatchMessageW; do
    check "imports $function" grep -q -x "$function" "$work/functions"
done
# The mingw-w64 runtime linked into the exe (winpthreads, libgcc's unwinder) brings four ANSI
# imports of its own, called with no name or an ASCII constant, and GCC 14's libstdc++ one more
# (FormatMessageA, for its system errors' messages); the program itself uses none.
runtime_ansi='CreateEventA|CreateSemaphoreA|FormatMessageA|GetModuleHandleA|OutputDebugStringA'
check "imports no ANSI (...A) text function but the runtime's" \
    bash -c "! grep -E '[a-z0-9]A$' '$work/functions' | grep -v -x -E '$runtime_ansi'"

wrestool -l "$exe" >"$work/resources"
check "carries a version record" grep -q -- '--type=16 ' "$work/resources"
wrestool -x --type=14 "$exe" -o "$work/lumora.ico"
icotool -l "$work/lumora.ico" >"$work/icons"
check "its first icon is 32 x 32 with a 256-colour palette" \
    bash -c "head -n 1 '$work/icons' | grep -q -- '--width=32 --height=32 --bit-depth=8 --palette-size=256'"
check "its icon also comes at 16, 64, 128 and 256 pixels" \
    bash -c "for s in 16 64 128 256; do grep -q -- \"--width=\$s \" '$work/icons' || exit 1; done"
check "carries a manifest" grep -q -- '--type=24 ' "$work/resources"
wrestool -x --raw --type=16 "$exe" | strings -el >"$work/version"
for field in FileVersion ProductVersion; do
    check "$field is 1.00" bash -c "grep -A1 -x $field '$work/version' | grep -q -x '1.00'"
done
check "OriginalFilename is Lumora.exe" \
    bash -c "grep -A1 -x OriginalFilename '$work/version' | grep -q -x 'Lumora.exe'"
wrestool -x --raw --type=24 "$exe" >"$work/manifest"
check "manifest asks for per-monitor DPI awareness" grep -q PerMonitorV2 "$work/manifest"
check "manifest asks for the common controls 6" grep -q 'Common-Controls' "$work/manifest"

x86_64-w64-mingw32-strip -o "$work/stripped.exe" "$exe"
size=$(stat -c %s "$work/stripped.exe")
echo "stripped size: $size bytes"
check "stripped, at most 1 MB" test "$size" -le 1048576

finish windows_exe
