# Writes the site into SITE_DIR (cmake -P, with the -D variables below). The script and the
# WebAssembly go under names made from their contents, so that a browser holding an older copy
# never runs a mix of two builds; index.html names them, and holds the stylesheet and the fonts.
# A service worker keeps the whole site for use with no network, in a cache named from all of its
# files.
# index.html carries its own Content-Security-Policy, with the hashes of its inline style and
# script; what only a server can send is in _headers, for the hosts that read it.
#   SCRIPT, WASM     the program as the compiler wrote it (lumora.js, lumora.wasm)
#   WEB_DIR          the page's templates (index.html.in, lumora.webmanifest.in,
#                      service-worker.js.in) and its stylesheet (lumora.css)
#   CAPTION_FILE     its title; NOSCRIPT_FILE what it says without JavaScript; START_ERROR_FILE
#                      what it says when the program cannot start; BACKGROUND_FILE the window's
#                      colour; WINDOW_FILE the window's HTML; WINDOW_STYLE_FILE its places and
#                      colours; DESCRIPTION
#   ICONS_DIR        the icon's sizes, SIZE/lumora.png, of which the tab takes 16 and 32, and the
#                      web app's in web/
#   FONTS            the web fonts of the window's serif, each with FONT.base64 beside it, their
#                      style and weight in their names (regular, bold-italic)
#   FILES            copied as they are (licences)
cmake_minimum_required(VERSION 3.25)
foreach(variable SITE_DIR SCRIPT WASM WEB_DIR CAPTION_FILE NOSCRIPT_FILE START_ERROR_FILE
                 BACKGROUND_FILE WINDOW_FILE WINDOW_STYLE_FILE DESCRIPTION ICONS_DIR FONTS FILES)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "write_site: ${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${SITE_DIR})
file(MAKE_DIRECTORY ${SITE_DIR})

function(hashed_name path stem extension out)
    file(SHA256 ${path} hash)
    string(SUBSTRING ${hash} 0 12 hash)
    set(${out} "${stem}.${hash}.${extension}" PARENT_SCOPE)
endfunction()

# Writes `text` into the site under a name made from it; `out` is set to the name.
function(write_hashed text stem extension out)
    file(WRITE ${SITE_DIR}/${stem}.tmp "${text}")
    hashed_name(${SITE_DIR}/${stem}.tmp ${stem} ${extension} name)
    file(RENAME ${SITE_DIR}/${stem}.tmp ${SITE_DIR}/${name})
    set(${out} ${name} PARENT_SCOPE)
endfunction()

hashed_name(${WASM} lumora wasm PAGE_WASM)
file(COPY_FILE ${WASM} ${SITE_DIR}/${PAGE_WASM})

# The script looks for the WebAssembly under the name the compiler gave it.
get_filename_component(compiled_wasm_name ${WASM} NAME)
file(READ ${SCRIPT} script)
string(FIND "${script}" "\"${compiled_wasm_name}\"" at)
if(at EQUAL -1)
    message(FATAL_ERROR "write_site: ${SCRIPT} does not name \"${compiled_wasm_name}\"")
endif()
string(REPLACE "\"${compiled_wasm_name}\"" "\"${PAGE_WASM}\"" script "${script}")
write_hashed("${script}" lumora js PAGE_SCRIPT)

# The stylesheet and the window's places go into index.html, and so do the fonts, for its script
# to add: the window's first frame then needs nothing more than the page.
file(READ ${WEB_DIR}/lumora.css PAGE_STYLE)
file(READ ${WINDOW_STYLE_FILE} window_style)
string(APPEND PAGE_STYLE "\n/* The window's places and colours, from its design. */\n${window_style}")
if(NOT window_style MATCHES "--design-width: ([0-9]+);")
    message(FATAL_ERROR "write_site: ${WINDOW_STYLE_FILE} gives no --design-width")
endif()
set(PAGE_DESIGN_WIDTH ${CMAKE_MATCH_1})
# Each face as [style, weight, base64 data], its style and weight read from its name.
set(faces "")
foreach(font ${FONTS})
    get_filename_component(font_name ${font} NAME_WE)
    set(style normal)
    set(weight normal)
    if(font_name MATCHES "italic")
        set(style italic)
    endif()
    if(font_name MATCHES "bold")
        set(weight bold)
    endif()
    file(READ ${font}.base64 encoded)
    string(STRIP "${encoded}" encoded)
    list(APPEND faces "[\"${style}\", \"${weight}\", \"${encoded}\"]")
endforeach()
list(JOIN faces ", " PAGE_FONTS)
set(PAGE_FONTS "[${PAGE_FONTS}]")

file(STRINGS ${CAPTION_FILE} PAGE_TITLE ENCODING UTF-8 LIMIT_COUNT 1)
file(STRINGS ${NOSCRIPT_FILE} NOSCRIPT_TEXT ENCODING UTF-8 LIMIT_COUNT 1)
file(STRINGS ${START_ERROR_FILE} START_ERROR_TEXT ENCODING UTF-8 LIMIT_COUNT 1)
file(STRINGS ${BACKGROUND_FILE} PAGE_BACKGROUND LIMIT_COUNT 1)
file(READ ${WINDOW_FILE} PAGE_WINDOW)
string(STRIP "${PAGE_WINDOW}" PAGE_WINDOW)
set(PROJECT_DESCRIPTION "${DESCRIPTION}")
set(PAGE_POLICY "@PAGE_POLICY@") # written once the rest of the page is
file(READ ${WEB_DIR}/index.html.in page)
string(CONFIGURE "${page}" page @ONLY)

# A digest, given in hex, as CSP's source expressions write it: in base64.
function(hex_to_base64 hex out)
    set(digits "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
    string(LENGTH "${hex}" length)
    set(encoded "")
    set(at 0)
    while(at LESS length)
        string(SUBSTRING "${hex}" ${at} 6 group) # three bytes, or the last one or two
        string(LENGTH "${group}" group_length)
        math(EXPR bytes "${group_length} / 2")
        math(EXPR value "0x${group} << (8 * (3 - ${bytes}))")
        set(chars 0)
        foreach(shift 18 12 6 0)
            if(chars GREATER bytes)
                string(APPEND encoded "=")
            else()
                math(EXPR index "(${value} >> ${shift}) & 63")
                string(SUBSTRING "${digits}" ${index} 1 digit)
                string(APPEND encoded "${digit}")
            endif()
            math(EXPR chars "${chars} + 1")
        endforeach()
        math(EXPR at "${at} + 6")
    endwhile()
    set(${out} "${encoded}" PARENT_SCOPE)
endfunction()

# The 'sha256-…' source of each inline <tag> element's text in `html`.
function(inline_hashes html tag out)
    set(sources "")
    string(LENGTH "<${tag}>" open_length)
    while(TRUE)
        string(FIND "${html}" "<${tag}>" open)
        if(open EQUAL -1)
            break()
        endif()
        math(EXPR start "${open} + ${open_length}")
        string(SUBSTRING "${html}" ${start} -1 html)
        string(FIND "${html}" "</${tag}>" close)
        string(SUBSTRING "${html}" 0 ${close} text)
        string(SHA256 digest "${text}")
        hex_to_base64(${digest} digest)
        list(APPEND sources "'sha256-${digest}'")
        string(SUBSTRING "${html}" ${close} -1 html)
    endwhile()
    list(JOIN sources " " sources)
    set(${out} "${sources}" PARENT_SCOPE)
endfunction()

# Nothing but this site's own files, and its inline style and script by their hashes (the fonts
# are the script's data, fetched from nowhere); WebAssembly may be compiled ('wasm-unsafe-eval'),
# and nothing evaluated.
inline_hashes("${page}" script script_hashes)
inline_hashes("${page}" style style_hashes)
string(JOIN "; " PAGE_POLICY
    "default-src 'none'"
    "script-src 'self' ${script_hashes} 'wasm-unsafe-eval'"
    "style-src ${style_hashes}"
    "img-src 'self'"
    "manifest-src 'self'"
    "worker-src 'self'"
    "connect-src 'self'"
    "object-src 'none'"
    "base-uri 'none'"
    "form-action 'none'")
string(REPLACE "@PAGE_POLICY@" "${PAGE_POLICY}" page "${page}")
file(WRITE ${SITE_DIR}/index.html "${page}")
configure_file(${WEB_DIR}/lumora.webmanifest.in ${SITE_DIR}/lumora.webmanifest @ONLY)

foreach(path ${FILES})
    file(COPY ${path} DESTINATION ${SITE_DIR})
endforeach()
foreach(size 16 32)
    file(COPY_FILE ${ICONS_DIR}/${size}/lumora.png ${SITE_DIR}/lumora-${size}.png)
endforeach()
file(GLOB web_icons ${ICONS_DIR}/web/*.png)
file(COPY ${web_icons} DESTINATION ${SITE_DIR})

# The service worker keeps the page as "./", the address a visitor opens, and every other file.
file(GLOB site_files RELATIVE ${SITE_DIR} ${SITE_DIR}/*)
list(SORT site_files)
list(REMOVE_ITEM site_files index.html)
set(SITE_FILES "\"./\"")
set(contents "")
foreach(name index.html ${site_files})
    file(SHA256 ${SITE_DIR}/${name} hash)
    string(APPEND contents "${hash} ${name}\n")
endforeach()
foreach(name ${site_files})
    string(APPEND SITE_FILES ", \"${name}\"")
endforeach()
string(SHA256 SITE_HASH "${contents}")
string(SUBSTRING ${SITE_HASH} 0 12 SITE_HASH)
configure_file(${WEB_DIR}/service-worker.js.in ${SITE_DIR}/service-worker.js @ONLY)

# What only a server can say, for the static hosts that read a _headers file (the README gives the
# same for nginx and Apache): no framing, no sniffing of types, and the files named from their
# contents kept for a year; every other file is asked for again, so that a new build is seen.
set(headers "/*\n  Content-Security-Policy: frame-ancestors 'none'\n")
string(APPEND headers "  X-Content-Type-Options: nosniff\n  Referrer-Policy: no-referrer\n")
foreach(name "" index.html ${site_files} service-worker.js)
    if(name MATCHES "\\.[0-9a-f]+\\.(js|wasm)$")
        set(cache "public, max-age=31536000, immutable")
    else()
        set(cache "no-cache")
    endif()
    string(APPEND headers "/${name}\n  Cache-Control: ${cache}\n")
    if(name MATCHES "\\.wasm$")
        string(APPEND headers "  Content-Type: application/wasm\n")
    endif()
endforeach()
file(WRITE ${SITE_DIR}/_headers "${headers}")
