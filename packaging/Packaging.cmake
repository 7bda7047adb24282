# SPDX-License-Identifier: GPL-3.0-or-later
# The install prefix is the program folder itself: `cmake --install build --prefix DIR` makes DIR
# a folder the program runs from, and keeps its data in. The Debian package puts that folder at
# /opt/tarnwell, which only root may write, and adds the component `package`: a menu entry, its
# icons and the file per-user-data, which tells the program to keep each user's data in the
# user's own folder. `cmake --install` leaves that component out.
set(TARNWELL_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(FILES ${TARNWELL_PACKAGING_DIR}/tarnwell.svg ${TARNWELL_PACKAGING_DIR}/tarnwell.png
        DESTINATION .)

install(FILES ${TARNWELL_PACKAGING_DIR}/per-user-data
        DESTINATION . COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${TARNWELL_PACKAGING_DIR}/tarnwell.desktop
        DESTINATION /usr/share/applications COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${TARNWELL_PACKAGING_DIR}/tarnwell.svg
        DESTINATION /usr/share/icons/hicolor/scalable/apps COMPONENT package EXCLUDE_FROM_ALL)
install(FILES ${TARNWELL_PACKAGING_DIR}/tarnwell.png
        DESTINATION /usr/share/icons/hicolor/256x256/apps COMPONENT package EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwell)
set(CPACK_PACKAGE_VENDOR "Tarnwell developers")
set(CPACK_PACKAGE_CONTACT "Tarnwell developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch, graph and record a weighing indicator on a serial port")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnwell shows the reading of an industrial weighing indicator in large digits, draws a live\n"
    "trend graph and records chosen readings to TAB-separated files. Every user keeps their own\n"
    "settings and records in ~/.local/share/tarnwell.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
# Installing with DESTDIR puts the absolute destinations (the menu entry) into the package's tree
# instead of onto this machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /opt/tarnwell)
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/tarnwell)
set(CPACK_STRIP_FILES ON)
# Folders made while packaging take the builder's umask otherwise; none may be group-writable.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# One package of the program folder and the menu entry.
set(CPACK_COMPONENTS_ALL Unspecified package)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The xcb platform plugin is loaded at run time, so no library link names it; the libraries come
# from dpkg-shlibdeps where it is there. The windows are designed in Tahoma and Arial: fonts-wine
# has a Tahoma of the same widths, fonts-liberation2 the Liberation Sans that stands in for Arial.
set(TARNWELL_DESIGN_FONTS "fonts-wine, fonts-liberation2")
find_program(TARNWELL_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TARNWELL_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins (>= 6.4), ${TARNWELL_DESIGN_FONTS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins (>= 6.4), ${TARNWELL_DESIGN_FONTS}")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TARNWELL_PACKAGING_DIR}/preinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
