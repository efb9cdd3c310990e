# Installing Tapbook on a desktop: the program, its menu entry, its icon in the hicolor theme, its
# AppStream metainfo, its manual page and its licences; the Debian package CPack makes from that
# install; and the tests that run the desktop's own validators on the two metadata files.
include(GNUInstallDirs)

set(TAPBOOK_APP_ID "org.tapbook.Tapbook" CACHE STRING "Reverse-DNS id of the desktop entry, icon and metainfo")
set(TAPBOOK_ICON_SIZES 16 22 24 32 48 64 128 256)

set(pkg_src ${CMAKE_SOURCE_DIR}/packaging)
set(pkg_out ${CMAKE_BINARY_DIR}/packaging)
configure_file(${pkg_src}/tapbook.desktop.in ${pkg_out}/${TAPBOOK_APP_ID}.desktop @ONLY)
configure_file(${pkg_src}/tapbook.metainfo.xml.in ${pkg_out}/${TAPBOOK_APP_ID}.metainfo.xml @ONLY)
configure_file(${pkg_src}/version.hpp.in ${CMAKE_BINARY_DIR}/generated/app/version.hpp @ONLY)
target_include_directories(tapbook_app PUBLIC ${CMAKE_BINARY_DIR}/generated)

# The icon is drawn once, as SVG; the build renders the theme's fixed sizes from it.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_pngs)
foreach(s ${TAPBOOK_ICON_SIZES})
  set(png ${pkg_out}/icons/hicolor/${s}x${s}/apps/${TAPBOOK_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${RSVG_CONVERT} --width=${s} --height=${s} --output=${png} ${pkg_src}/tapbook.svg
    DEPENDS ${pkg_src}/tapbook.svg VERBATIM)
  list(APPEND icon_pngs ${png})
endforeach()
add_custom_target(tapbook_icons ALL DEPENDS ${icon_pngs})
# The window's own icon, for window lists and task bars that do not go through the menu entry.
set_source_files_properties(${icon_pngs} PROPERTIES GENERATED TRUE)
qt_add_resources(tapbook "tapbook_icon" PREFIX "/" BASE ${pkg_out}/icons/hicolor FILES
  ${pkg_out}/icons/hicolor/32x32/apps/${TAPBOOK_APP_ID}.png
  ${pkg_out}/icons/hicolor/64x64/apps/${TAPBOOK_APP_ID}.png
  ${pkg_out}/icons/hicolor/256x256/apps/${TAPBOOK_APP_ID}.png)

install(TARGETS tapbook RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${pkg_out}/${TAPBOOK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg_out}/${TAPBOOK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg_src}/tapbook.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TAPBOOK_APP_ID}.svg)
install(DIRECTORY ${pkg_out}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Who makes the package. Debian's own tools take the name and address from DEBFULLNAME and
# DEBEMAIL; without them, from the committer of the commit being built.
if(DEFINED ENV{DEBEMAIL})
  set(_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
  execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 "--format=%cn <%ce>"
                  OUTPUT_VARIABLE _maintainer OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
set(TAPBOOK_PACKAGE_MAINTAINER "${_maintainer}" CACHE STRING
    "Name <address> of who makes the Debian package (Maintainer, and the changelog's signature)")

# The manual page and the Debian changelog, compressed as Debian ships them (no time stamp, so
# that two builds make the same file); the copyright file names every licence the program carries.
configure_file(${pkg_src}/changelog.in ${pkg_out}/changelog @ONLY)
set(pkg_doc ${CMAKE_INSTALL_DATADIR}/doc/tapbook)
add_custom_command(OUTPUT ${pkg_out}/tapbook.1.gz ${pkg_out}/changelog.gz
  COMMAND gzip -9n -c ${pkg_src}/tapbook.1 > ${pkg_out}/tapbook.1.gz
  COMMAND gzip -9n -c ${pkg_out}/changelog > ${pkg_out}/changelog.gz
  DEPENDS ${pkg_src}/tapbook.1 ${pkg_out}/changelog VERBATIM)
add_custom_target(tapbook_package_docs ALL DEPENDS ${pkg_out}/tapbook.1.gz ${pkg_out}/changelog.gz)
install(FILES ${pkg_out}/tapbook.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkg_out}/changelog.gz ${pkg_src}/copyright DESTINATION ${pkg_doc})

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_PACKAGE_NAME tapbook)
set(CPACK_PACKAGE_VENDOR "The Tapbook team")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAPBOOK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "point-and-read companion for a primary-school English textbook")
# Debian wants the lines of the long description under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
"Press a printed sentence or word on a page of the textbook to hear it and see
its Chinese translation, and practise with games and drills built from the same
pages. Made for Chinese-speaking pupils; carries its own sample volume.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so not found by shlibdeps: SDL2 (opened with the sound), the display
# plug-ins and the Chinese fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, qt6-qpa-plugins, fonts-noto-cjk")
set(CPACK_GENERATOR DEB)
include(CPack)

# The desktop's validators on the two files as installed.
find_program(APPSTREAMCLI appstreamcli REQUIRED)
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
add_test(NAME Packaging.MetainfoValidates
         COMMAND ${APPSTREAMCLI} validate --no-net --pedantic ${pkg_out}/${TAPBOOK_APP_ID}.metainfo.xml)
add_test(NAME Packaging.DesktopEntryValidates
         COMMAND ${DESKTOP_FILE_VALIDATE} ${pkg_out}/${TAPBOOK_APP_ID}.desktop)
# Both pass files with warnings, hints or notes (a missing content rating is only a note):
# ours have none, and a new one fails the test. Pedantic remarks (P:) are allowed.
set_tests_properties(Packaging.MetainfoValidates PROPERTIES
  FAIL_REGULAR_EXPRESSION "[EWI]: ${TAPBOOK_APP_ID}")
set_tests_properties(Packaging.DesktopEntryValidates PROPERTIES
  FAIL_REGULAR_EXPRESSION "error:;warning:;hint:")
