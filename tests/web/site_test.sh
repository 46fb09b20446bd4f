#!/usr/bin/env bash
# Reads the built site back: index.html names a script and a WebAssembly that are there under
# names made from their contents, the fonts in it carry a name of their own with their licence
# beside them, and the whole site stays small.
#   site_test.sh SITE_FOLDER
set -euo pipefail
site=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../checks.sh"

script=$(grep -o '"lumora\.[0-9a-f]*\.js"' "$site/index.html" | sort -u | tr -d '"')
check "index.html names the script by its contents" \
    test "$script" = "lumora.$(sha256sum "$site/$script" | cut -c1-12).js"
wasm=$(grep -o '"lumora\.[0-9a-f]*\.wasm"' "$site/$script" | tr -d '"')
check "the script names the WebAssembly by its contents" \
    test "$wasm" = "lumora.$(sha256sum "$site/$wasm" | cut -c1-12).wasm"
check "nothing else of the program is there" \
    test "$(ls "$site" | grep -c '^lumora\..*\.\(js\|wasm\)$')" -eq 2

# The fonts are in index.html's stylesheet.
fonts=0
for encoded in $(grep -o 'data:font/woff2;base64,[A-Za-z0-9+/=]*' "$site/index.html" | cut -d, -f2); do
    fonts=$((fonts + 1))
    font=$work/font-$fonts.woff2
    base64 -d <<<"$encoded" >"$font"
    check "font $fonts is Lumora Serif, not the reserved name" \
        /usr/bin/python3 -c "
import sys
from fontTools.ttLib import TTFont
names = TTFont(sys.argv[1])['name']
assert names.getDebugName(1) == 'Lumora Serif', names.getDebugName(1)
assert all('Liberation' not in names.getDebugName(i) for i in (1, 3, 4, 6, 16) if names.getDebugName(i))
" "$font"
done
check "index.html holds both faces of the window's serif" test "$fonts" -eq 2
check "the fonts' licence comes with them" grep -q "SIL Open Font License" "$site/LICENSE-fonts.txt"

bytes=$(cat "$site"/* | wc -c)
gzipped=$(for file in "$site"/*; do gzip -9 -c "$file"; done | wc -c)
echo "site: $bytes bytes, $gzipped compressed with gzip -9 file by file"
check "at most 400 KB in all" test "$bytes" -le $((400 * 1024))
check "at most 150 KB compressed" test "$gzipped" -le $((150 * 1024))
finish site_test
