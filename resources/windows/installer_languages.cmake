# The installer and uninstaller speak Bulgarian where Windows shows Bulgarian and English
# everywhere else: CMake's own NSIS template, with its sixty languages cut to those two (NSIS
# takes the first where the display language is neither) and the few texts it writes in
# English itself given in both. cpack finds the template in CPACK_MODULE_PATH.

# The texts, each in English, then in Bulgarian. The description is the desktop entry's
# comment; the uninstaller's link is named as Windows names its own.
set(description_english "A scrolling advertising message framed by chasing coloured lamps")
set(description_bulgarian "Бягащ рекламен текст, обграден от цветни светлини")
set(uninstall_english "Uninstall")
set(uninstall_bulgarian "Деинсталиране")

set(languages "
  !insertmacro MUI_LANGUAGE \"English\"
  !insertmacro MUI_LANGUAGE \"Bulgarian\"
  LangString LumoraDescription \${LANG_ENGLISH} \"${description_english}\"
  LangString LumoraDescription \${LANG_BULGARIAN} \"${description_bulgarian}\"
  LangString UninstallLink \${LANG_ENGLISH} \"${uninstall_english}\"
  LangString UninstallLink \${LANG_BULGARIAN} \"${uninstall_bulgarian}\"
")
# The uninstaller takes the link away by either name: the display language may have changed
# since the program was installed.
set(delete_uninstall_link [=[  Delete "$SMPROGRAMS\$MUI_TEMP\Uninstall.lnk"]=])
string(REPLACE Uninstall "${uninstall_bulgarian}" delete_bulgarian_link "${delete_uninstall_link}")

# Each change is checked: a newer CMake that words its template otherwise fails the build here
# rather than making an installer in English.
function(expect_in_template text)
    string(FIND "${template}" "${text}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "CMake's NSIS template has changed: it has no '${text}'")
    endif()
endfunction()
function(replace_in_template text with)
    expect_in_template("${text}")
    string(REPLACE "${text}" "${with}" template "${template}")
    set(template "${template}" PARENT_SCOPE)
endfunction()

file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
string(REGEX REPLACE "(\n  !insertmacro MUI_LANGUAGE [^\n]*)+\n" "${languages}" template
    "${template}")
expect_in_template("${languages}")
replace_in_template([=[$STARTMENU_FOLDER\Uninstall.lnk"]=]
    [=[$STARTMENU_FOLDER\$(UninstallLink).lnk"]=])
replace_in_template("${delete_uninstall_link}"
    "${delete_uninstall_link}\n${delete_bulgarian_link}")

file(WRITE ${PROJECT_BINARY_DIR}/generated/nsis/NSIS.template.in "${template}")
set(CPACK_MODULE_PATH ${PROJECT_BINARY_DIR}/generated/nsis)
