# What cpack makes of a build. On Linux, the Debian package:
#   cpack  ->  lumora_1.00_amd64.deb, installed with apt install ./lumora_1.00_amd64.deb
# For Windows, a portable zip and an installer:
#   cpack  ->  lumora-1.00-win64.zip, lumora-1.00-win64.exe
set(CPACK_PACKAGE_NAME lumora)
set(CPACK_PACKAGE_VENDOR "Lumora developers")
set(CPACK_PACKAGE_VERSION ${LUMORA_DISPLAY_VERSION})
set(CPACK_PACKAGE_CONTACT ${LUMORA_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "illuminated advertising billboard with a scrolling ticker")
set(CPACK_PACKAGE_DESCRIPTION [=[
Lumora imitates an illuminated advertising billboard. A one-line ticker
scrolls a chosen Bulgarian advertising message by one character every
200 ms, while sixteen lamps on an ellipse round it light up in opposite
pairs with coloured dots. Two lists choose the message and how many
characters are visible, and two option buttons start and stop both
animations.]=])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The Windows exe is stripped as it is linked: strip would stamp each package's copy with the
# time it ran, so the zip and the installer would carry different files.
if(NOT WIN32)
    set(CPACK_STRIP_FILES ON)
endif()
# Values reach the generators as written here, backslashes and all.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/clamp_staged_times.cmake)

if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_PACKAGE_FILE_NAME lumora-${LUMORA_DISPLAY_VERSION}-win64)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY Lumora)
    # A 64-bit Unicode installer (NSIS makes 32-bit ANSI ones unless told) that asks for no
    # administrator: these lines come after the stock template's request for one, and NSIS
    # takes the last. It installs for the user who runs it (the template installs for all
    # users when that user runs it as an administrator). It keeps no file's time, which would
    # make each build's installer another: the installed files have the time they were
    # installed.
    set(CPACK_NSIS_DEFINES "Target amd64-unicode\nRequestExecutionLevel user\nSetDateSave off")
    set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\Programs")
    set(CPACK_NSIS_PACKAGE_NAME Lumora)
    set(CPACK_NSIS_DISPLAY_NAME Lumora)
    set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/generated/icons/lumora.ico)
    set(CPACK_NSIS_MUI_UNIICON ${PROJECT_BINARY_DIR}/generated/icons/lumora.ico)
    set(CPACK_NSIS_INSTALLED_ICON_NAME lumora.exe)
    # The Start-menu shortcut, described in the installer's language.
    set(CPACK_NSIS_CREATE_ICONS_EXTRA [=[
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Lumora.lnk" "$INSTDIR\lumora.exe" \
    "" "" "" "" "" "$(LumoraDescription)"]=])
    set(CPACK_NSIS_DELETE_ICONS_EXTRA [=[
  Delete "$SMPROGRAMS\$MUI_TEMP\Lumora.lnk"]=])
    include(${CMAKE_CURRENT_LIST_DIR}/windows/installer_languages.cmake)
    include(CPack)
    return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The libraries come from dpkg-shlibdeps; the font is data, which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
# Qt's Wayland plugin, so that Lumora is a native client on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)

include(CPack)
