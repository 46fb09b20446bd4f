# The web page: the whole site in one folder, ${PROJECT_BINARY_DIR}/site, ready for any static web
# server. Included from resources/CMakeLists.txt.
set(web ${CMAKE_CURRENT_SOURCE_DIR}/web)
set(site ${PROJECT_BINARY_DIR}/site)
set(generated_web ${generated}/web)

# The texts the page takes from the design, read by Node from the program's own design table.
add_executable(page_text web/page_text.cpp)
target_link_libraries(page_text PRIVATE lumora_logic lumora_memory_toolkit lumora_window_markup)
set(noscript_text "Светлинната реклама Lumora има нужда от JavaScript: разрешете го в браузъра.")
file(WRITE ${generated_web}/noscript.txt "${noscript_text}\n")
set(start_error_text
    "Lumora не можа да се стартира. Презареждането на страницата може да помогне.")
file(WRITE ${generated_web}/start-error.txt "${start_error_text}\n")
foreach(part caption characters background window window-style)
    add_custom_command(OUTPUT ${generated_web}/${part}.txt
        COMMAND page_text ${part} > ${generated_web}/${part}.txt
        DEPENDS page_text
        COMMENT "Reading the design's ${part} for the page")
endforeach()

# The metric-compatible serif of the window's font, as two web fonts of only the characters the
# window shows. The Liberation fonts' licence reserves their name: these subsets are "Lumora
# Serif", and the licence goes with them.
find_program(FONT_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
find_program(FC_MATCH fc-match REQUIRED)
# Each face where fontconfig has it: Debian releases keep the fonts in different folders.
function(find_liberation_serif style pattern out)
    execute_process(COMMAND ${FC_MATCH} "--format=%{family[0]}|%{style[0]}|%{file}"
            "Liberation Serif:${pattern}"
        OUTPUT_VARIABLE match RESULT_VARIABLE failed)
    string(REPLACE "|" ";" match "${match}")
    list(LENGTH match fields)
    if(failed OR NOT fields EQUAL 3)
        message(FATAL_ERROR "fc-match could not look up Liberation Serif ${style}: ${match}")
    endif()
    list(GET match 0 family)
    list(GET match 1 found_style)
    list(GET match 2 file)
    string(REPLACE " " "" found_style "${found_style}")
    if(NOT family STREQUAL "Liberation Serif" OR NOT found_style STREQUAL style)
        message(FATAL_ERROR "Liberation Serif ${style} is not installed (fontconfig offers "
            "${family} ${found_style}, ${file}); Debian's fonts-liberation2 has it")
    endif()
    set(${out} ${file} PARENT_SCOPE)
endfunction()
find_liberation_serif(Regular regular liberation_regular)
find_liberation_serif(BoldItalic bold:italic liberation_bolditalic)
# The licence comes from the package that installed them.
execute_process(COMMAND dpkg-query --search ${liberation_regular}
    OUTPUT_VARIABLE owner RESULT_VARIABLE failed)
string(REGEX REPLACE ":.*" "" owner "${owner}")
if(failed OR NOT EXISTS /usr/share/doc/${owner}/copyright)
    message(FATAL_ERROR "no package's licence found for ${liberation_regular}")
endif()
foreach(style Regular BoldItalic)
    string(TOLOWER ${style} name)
    set(face ${liberation_${name}})
    string(REPLACE "bolditalic" "bold-italic" name ${name})
    set(font ${generated_web}/lumora-serif-${name}.woff2)
    add_custom_command(OUTPUT ${font}
        COMMAND ${FONT_PYTHON} ${web}/subset_font.py ${face}
                "Lumora Serif" ${font} ${generated_web}/characters.txt ${generated_web}/noscript.txt
                ${generated_web}/start-error.txt
        DEPENDS ${web}/subset_font.py ${generated_web}/characters.txt
        COMMENT "Making the web font Lumora Serif ${style}"
        VERBATIM)
    # As the page's script takes it, in index.html.
    add_custom_command(OUTPUT ${font}.base64
        COMMAND base64 -w0 ${font} > ${font}.base64
        DEPENDS ${font}
        COMMENT "Encoding the web font Lumora Serif ${style} for the page")
    list(APPEND fonts ${font})
endforeach()
configure_file(/usr/share/doc/${owner}/copyright ${generated_web}/LICENSE-fonts.txt COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${generated_web}/LICENSE.txt COPYONLY)

# A site of the page running `program` (an executable target) in `folder`, made by the target
# `name`. The tests make one more of a program that fails.
function(lumora_site name program folder)
    set(web ${PROJECT_SOURCE_DIR}/resources/web)
    set(generated_web ${PROJECT_BINARY_DIR}/generated/web)
    set(fonts
        ${generated_web}/lumora-serif-regular.woff2
        ${generated_web}/lumora-serif-bold-italic.woff2)
    list(TRANSFORM fonts APPEND .base64 OUTPUT_VARIABLE font_texts)
    set(files ${generated_web}/LICENSE.txt ${generated_web}/LICENSE-fonts.txt)
    set(icons ${PROJECT_BINARY_DIR}/generated/icons)
    add_custom_command(OUTPUT ${folder}/index.html
        COMMAND ${CMAKE_COMMAND}
            -DSITE_DIR=${folder}
            -DSCRIPT=$<TARGET_FILE:${program}>
            -DWASM=$<TARGET_FILE_DIR:${program}>/${program}.wasm
            -DICONS_DIR=${icons}
            -DWEB_DIR=${web}
            -DCAPTION_FILE=${generated_web}/caption.txt
            -DNOSCRIPT_FILE=${generated_web}/noscript.txt
            -DSTART_ERROR_FILE=${generated_web}/start-error.txt
            -DBACKGROUND_FILE=${generated_web}/background.txt
            -DWINDOW_FILE=${generated_web}/window.txt
            -DWINDOW_STYLE_FILE=${generated_web}/window-style.txt
            -DDESCRIPTION=${PROJECT_DESCRIPTION}
            "-DFONTS=${fonts}"
            "-DFILES=${files}"
            -P ${web}/write_site.cmake
        DEPENDS ${program} ${web}/write_site.cmake ${web}/index.html.in ${web}/lumora.css
                ${web}/lumora.webmanifest.in ${web}/service-worker.js.in
                ${generated_web}/caption.txt ${generated_web}/background.txt
                ${generated_web}/window.txt ${generated_web}/window-style.txt ${fonts} ${font_texts} ${files}
                ${icons}/16/lumora.png ${icons}/32/lumora.png ${icons}/web/lumora-192.png
                ${icons}/web/lumora-512.png ${icons}/web/lumora-maskable.png
        COMMENT "Writing the site in ${folder}"
        VERBATIM)
    add_custom_target(${name} ALL DEPENDS ${folder}/index.html)
endfunction()

lumora_site(lumora_site lumora ${site})
