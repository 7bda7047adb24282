# SPDX-License-Identifier: GPL-3.0-or-later
# The install prefix is the program folder itself: `cmake --install build --prefix DIR` makes DIR
# a folder the program runs from. The Debian package puts that folder at /opt/tarnwell and adds a
# menu entry; the menu entry and its icons lie outside the prefix and so go only into the package.
set(TARNWELL_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(FILES ${TARNWELL_PACKAGING_DIR}/tarnwell.svg ${TARNWELL_PACKAGING_DIR}/tarnwell.png
        DESTINATION .)

install(FILES ${TARNWELL_PACKAGING_DIR}/tarnwell.desktop
        DESTINATION /usr/share/applications COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${TARNWELL_PACKAGING_DIR}/tarnwell.svg
        DESTINATION /usr/share/icons/hicolor/scalable/apps COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${TARNWELL_PACKAGING_DIR}/tarnwell.png
        DESTINATION /usr/share/icons/hicolor/256x256/apps COMPONENT desktop EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwell)
set(CPACK_PACKAGE_VENDOR "Tarnwell developers")
set(CPACK_PACKAGE_CONTACT "Tarnwell developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch, graph and record a weighing indicator on a serial port")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnwell shows the reading of an industrial weighing indicator in large digits, draws a live\n"
    "trend graph and records chosen readings to TAB-separated files. It keeps its settings and\n"
    "records in /opt/tarnwell, which the members of the group dialout may write.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
# Installing with DESTDIR puts the absolute destinations (the menu entry) into the package's tree
# instead of onto this machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /opt/tarnwell)
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/tarnwell)
set(CPACK_STRIP_FILES ON)

# One package of the program folder and the menu entry.
set(CPACK_COMPONENTS_ALL Unspecified desktop)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The xcb platform plugin is loaded at run time, so no library link names it; the libraries come
# from dpkg-shlibdeps where it is there.
find_program(TARNWELL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TARNWELL_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins (>= 6.4)")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins (>= 6.4)")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${TARNWELL_PACKAGING_DIR}/postinst ${TARNWELL_PACKAGING_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
