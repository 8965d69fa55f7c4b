# Installation and the Debian package: `cmake --install` lays out the programs,
# their menu entries, icons, AppStream metainfo and the korvex-cli manual page;
# `cpack` (scripts/package.sh) turns that into korvex_<version>_amd64.deb.
# Included by the top CMakeLists.txt. The desktop layout is Linux's, so all of
# it stays off other targets (the Windows cross build installs its own way).

if(NOT UNIX OR APPLE)
  return()
endif()

include(GNUInstallDirs)

# The date of the release named by project(VERSION); move both together.
set(KORVEX_RELEASE_DATE 2026-12-10)

set(KORVEX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(KORVEX_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
# Everything generated for the package; part of the normal build so the test
# command checks it too.
set(KORVEX_PACKAGING_FILES)

foreach(program korvex korvex-cli tamlo)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Menu entries, icons and metainfo: one set per window program.
find_program(RSVG_CONVERT rsvg-convert)
set(KORVEX_ICON_SIZES 16 22 24 32 48 64 128 256)
foreach(entry korvex:Korvex tamlo:Tamlo)
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 program)
  list(GET parts 1 appName)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(appId org.korvex.${appName})

  install(FILES ${KORVEX_PACKAGING_DIR}/${appId}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${KORVEX_PACKAGING_DIR}/${appId}.metainfo.xml.in
    ${KORVEX_PACKAGING_OUT}/${appId}.metainfo.xml @ONLY)
  install(FILES ${KORVEX_PACKAGING_OUT}/${appId}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  install(FILES ${KORVEX_PACKAGING_DIR}/${program}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # Fixed sizes for menus and panels that do not scale SVG, drawn from the same SVG.
  if(RSVG_CONVERT)
    foreach(size ${KORVEX_ICON_SIZES})
      set(png ${KORVEX_PACKAGING_OUT}/icons/${size}x${size}/${program}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVEX_PACKAGING_OUT}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${KORVEX_PACKAGING_DIR}/${program}.svg
        DEPENDS ${KORVEX_PACKAGING_DIR}/${program}.svg
        COMMENT "Drawing the ${size}x${size} icon of ${program}"
        VERBATIM)
      list(APPEND KORVEX_PACKAGING_FILES ${png})
      install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
  else()
    message(WARNING "rsvg-convert not found (librsvg2-bin): the PNG icons are left out of the install")
  endif()
endforeach()

# The manual page is korvex-cli's own --help, so the two cannot drift apart;
# the sections --help has no room for come from korvex-cli.h2m.
find_program(HELP2MAN help2man)
if(TARGET korvex-cli AND NOT CMAKE_CROSSCOMPILING)
  if(HELP2MAN)
    set(manPage ${KORVEX_PACKAGING_OUT}/korvex-cli.1)
    add_custom_command(OUTPUT ${manPage}
      COMMAND ${HELP2MAN} --no-info --section=1
        "--name=reads, writes and checks the GSM alarm auto-dialer module"
        --include=${KORVEX_PACKAGING_DIR}/korvex-cli.h2m
        --output=${manPage} $<TARGET_FILE:korvex-cli>
      DEPENDS korvex-cli ${KORVEX_PACKAGING_DIR}/korvex-cli.h2m
      COMMENT "Writing the korvex-cli manual page from its --help"
      VERBATIM)
    list(APPEND KORVEX_PACKAGING_FILES ${manPage})
    install(FILES ${manPage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(WARNING "help2man not found: the korvex-cli manual page is left out of the install")
  endif()
endif()

if(KORVEX_PACKAGING_FILES)
  add_custom_target(korvex_packaging ALL DEPENDS ${KORVEX_PACKAGING_FILES})
endif()

# cpack installs without building first: scripts/package.sh builds just the
# programs and these files, not the tests and benchmarks.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Korvex developers")
set(CPACK_PACKAGE_CONTACT "The Korvex developers <korvex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurators for the GSM alarm auto-dialer module")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Dependencies come from the libraries the binaries link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own buttons and dialogs in Russian; the Wayland platform besides X11.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
# CPack puts the summary in front and formats the lines for the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"korvex (Russian) and tamlo (English) read and write the settings, voice
messages and event log of the full and the compact GSM alarm auto-dialer
module over a PC serial port; korvex-cli runs the same operations from
scripts. A demo module lets you try them without the hardware.

Using a serial port needs membership of the dialout group
(sudo adduser $USER dialout, then log in again).")
include(CPack)
