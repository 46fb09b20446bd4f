# What cpack makes of a build. On Linux, the Debian package:
#   cpack  ->  lumora_1.00_amd64.deb, installed with apt install ./lumora_1.00_amd64.deb
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
set(CPACK_STRIP_FILES ON)

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
