#!/usr/bin/env bash
# Reads the built site back: index.html names a script and a WebAssembly that are there under
# names made from their contents, its security policy allows its inline style and script by
# their hashes and nothing looser, the fonts in it carry a name of their own with their licence
# beside them, the hosts' headers name every file, and the whole site stays small.
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

check "the policy allows the inline style and script, each by its hash" /usr/bin/python3 -c "
import base64, hashlib, re, sys
page = open(sys.argv[1], encoding='utf-8').read()
policy = re.search(r'http-equiv=\"Content-Security-Policy\" content=\"([^\"]*)\"', page).group(1)
directives = dict((d.split()[0], d.split()[1:]) for d in policy.split('; '))
for tag, directive in (('script', 'script-src'), ('style', 'style-src')):
    for text in re.findall(rf'<{tag}>(.*?)</{tag}>', page, re.S):
        digest = base64.b64encode(hashlib.sha256(text.encode()).digest()).decode()
        assert f\"'sha256-{digest}'\" in directives[directive], (tag, digest)
assert directives['default-src'] == [\"'none'\"], directives['default-src']
" "$site/index.html"
check "nothing looser: no unsafe sources, no style attribute" \
    bash -c '! grep -Eq "$1" "$2"' - "'unsafe-(eval|inline|hashes)'| style=" "$site/index.html"
check "the program makes no code from strings" bash -c '! grep -q "new Function\|eval(" "$1"' - "$site/$script"
check "the hosts' headers name every file" bash -c '
    for file in "$1"/*; do
        name=${file##*/}
        [ "$name" = _headers ] || grep -qx "/$name" "$1/_headers" || exit 1
    done' - "$site"
check "the service worker keeps no headers file" bash -c '! grep -q _headers "$1"' - "$site/service-worker.js"

# The Nu HTML checker, on the page and on its stylesheet: neither error nor warning. It does not
# compute hashes, so it takes every inline style and script for one the policy blocks; the check
# above and the browsers' own, in the page tests, are what hold the policy.
vnu=$(dirname "$0")/node_modules/vnu-jar/build/dist/vnu.jar
check "the Nu HTML checker finds nothing in index.html" java -jar "$vnu" --Werror --format gnu \
    --filterpattern '.*violates Content Security Policy \(meta tag\).*' "$site/index.html"
sed -n '/^<style>$/,/^<\/style>$/p' "$site/index.html" | sed '1d;$d' >"$work/page.css"
check "the Nu HTML checker finds nothing in the stylesheet" \
    java -jar "$vnu" --Werror --format gnu --css "$work/page.css"

# The fonts are in index.html's script, as base64: its only strings that long.
fonts=0
for encoded in $(grep -o '"[A-Za-z0-9+/=]\{1000,\}"' "$site/index.html" | tr -d '"'); do
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
