# Writes the site into SITE_DIR (cmake -P, with the -D variables below). The script and the
# WebAssembly go under names made from their contents, so that a browser holding an older copy
# never runs a mix of two builds; index.html names them, and holds the stylesheet and its fonts. A service
# worker keeps the whole site for use with no network, in a cache named from all of its files.
#   SCRIPT, WASM     the program as the compiler wrote it (lumora.js, lumora.wasm)
#   WEB_DIR          the page's templates (index.html.in, lumora.webmanifest.in,
#                      service-worker.js.in) and its stylesheet (lumora.css)
#   CAPTION_FILE     its title; NOSCRIPT_FILE what it says without JavaScript; BACKGROUND_FILE
#                      the window's colour; WINDOW_FILE the window's HTML; DESCRIPTION
#   ICONS_DIR        the icon's sizes, SIZE/lumora.png, of which the tab takes 16 and 32, and the
#                      web app's in web/
#   FONTS            the web fonts the stylesheet names, each with FONT.base64 beside it
#   FILES            copied as they are (licences)
foreach(variable SITE_DIR SCRIPT WASM WEB_DIR CAPTION_FILE NOSCRIPT_FILE BACKGROUND_FILE
                 WINDOW_FILE DESCRIPTION ICONS_DIR FONTS FILES)
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

# The stylesheet goes into index.html, with the fonts it names inside it: the window's first
# frame then needs nothing more than the page.
file(READ ${WEB_DIR}/lumora.css PAGE_STYLE)
foreach(font ${FONTS})
    get_filename_component(font_name ${font} NAME)
    string(FIND "${PAGE_STYLE}" "\"${font_name}\"" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "write_site: lumora.css does not name \"${font_name}\"")
    endif()
    file(READ ${font}.base64 encoded)
    string(REPLACE "\"${font_name}\"" "\"data:font/woff2;base64,${encoded}\"" PAGE_STYLE
           "${PAGE_STYLE}")
endforeach()

file(STRINGS ${CAPTION_FILE} PAGE_TITLE ENCODING UTF-8 LIMIT_COUNT 1)
file(STRINGS ${NOSCRIPT_FILE} NOSCRIPT_TEXT ENCODING UTF-8 LIMIT_COUNT 1)
file(STRINGS ${BACKGROUND_FILE} PAGE_BACKGROUND LIMIT_COUNT 1)
file(READ ${WINDOW_FILE} PAGE_WINDOW)
string(STRIP "${PAGE_WINDOW}" PAGE_WINDOW)
set(PROJECT_DESCRIPTION "${DESCRIPTION}")
configure_file(${WEB_DIR}/index.html.in ${SITE_DIR}/index.html @ONLY)
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
