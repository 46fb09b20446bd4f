# Writes the site into SITE_DIR (cmake -P, with the -D variables below): the script and the
# WebAssembly under names made from their contents, so that a browser holding an older copy
# never runs a mix of two builds, and index.html naming them.
#   SCRIPT, WASM     the program as the compiler wrote it (lumora.js, lumora.wasm)
#   INDEX_IN         the page's template; CAPTION_FILE its title; NOSCRIPT_FILE what it says
#                      without JavaScript; DESCRIPTION
#   ICONS_DIR        the icon's sizes, SIZE/lumora.png; the tab takes 16 and 32
#   FILES            copied as they are (stylesheet, fonts, licences)
foreach(variable SITE_DIR SCRIPT WASM INDEX_IN CAPTION_FILE NOSCRIPT_FILE DESCRIPTION ICONS_DIR FILES)
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
file(WRITE ${SITE_DIR}/lumora.js.tmp "${script}")
hashed_name(${SITE_DIR}/lumora.js.tmp lumora js PAGE_SCRIPT)
file(RENAME ${SITE_DIR}/lumora.js.tmp ${SITE_DIR}/${PAGE_SCRIPT})

file(STRINGS ${CAPTION_FILE} PAGE_TITLE ENCODING UTF-8 LIMIT_COUNT 1)
file(STRINGS ${NOSCRIPT_FILE} NOSCRIPT_TEXT ENCODING UTF-8 LIMIT_COUNT 1)
set(PROJECT_DESCRIPTION "${DESCRIPTION}")
configure_file(${INDEX_IN} ${SITE_DIR}/index.html @ONLY)

foreach(path ${FILES})
    file(COPY ${path} DESTINATION ${SITE_DIR})
endforeach()
foreach(size 16 32)
    file(COPY_FILE ${ICONS_DIR}/${size}/lumora.png ${SITE_DIR}/lumora-${size}.png)
endforeach()
