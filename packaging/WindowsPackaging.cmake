# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program as Windows programs come: an installer made by CPack's NSIS generator
# (tarnwell-<version>-win64.exe, per machine into Program Files, asking for elevation, with a
# Start-menu entry and an entry in Apps & features) and a portable folder (a zip of the program
# and its language files, which keeps its data beside the program wherever it is unpacked).
# The installer alone adds the file per-user-data beside the program, which sends each user's
# config.ini, Log\ and lock to their own %LOCALAPPDATA%\Tarnwell: Program Files is not theirs
# to write.
set(TARNWELL_WINDOWS_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/windows)

install(FILES ${TARNWELL_WINDOWS_PACKAGING_DIR}/tarnwell.ico DESTINATION .)

set(CPACK_GENERATOR NSIS64 ZIP)
set(CPACK_PACKAGE_NAME Tarnwell)
set(CPACK_PACKAGE_VENDOR "Tarnwell developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "watch, graph and record a weighing indicator on a serial port")
set(CPACK_PACKAGE_FILE_NAME tarnwell-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tarnwell)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tarnwell)
set(CPACK_PACKAGE_EXECUTABLES tarnwell Tarnwell)
set(CPACK_STRIP_FILES ON)

set(CPACK_NSIS_PACKAGE_NAME Tarnwell)
set(CPACK_NSIS_DISPLAY_NAME Tarnwell)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${TARNWELL_WINDOWS_PACKAGING_DIR}/tarnwell.ico)
set(CPACK_NSIS_MUI_UNIICON ${TARNWELL_WINDOWS_PACKAGING_DIR}/tarnwell.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME tarnwell.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# The marker; the uninstaller takes it away with the program and leaves every user's data.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS
    "File \\\"/oname=$INSTDIR\\\\per-user-data\\\" \\\"${TARNWELL_WINDOWS_PACKAGING_DIR}/per-user-data.txt\\\"")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "Delete \\\"$INSTDIR\\\\per-user-data\\\"")

set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
include(CPack)
