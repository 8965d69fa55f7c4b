# Installation and the Debian package: `cmake --install` lays out the programs,
# their menu entries, icons, AppStream metainfo, manual pages, the project
# file types, the copyright file and the changelog;
# `cpack` (scripts/package.sh) turns that into korvex_<version>-<revision>_amd64.deb.
# Included by the top CMakeLists.txt. The desktop layout is Linux's, so all of
# it stays off other targets (the Windows cross build installs its own way).

if(NOT UNIX OR APPLE)
  return()
endif()

include(GNUInstallDirs)

# The date of the release named by project(VERSION); move both together.
set(KORVEX_RELEASE_DATE 2026-12-10)
# The package's own revision of that release (Debian's version is
# <release>-<revision>); back to 1 with each release.
set(KORVEX_DEBIAN_REVISION 1)
set(KORVEX_DEBIAN_VERSION ${PROJECT_VERSION}-${KORVEX_DEBIAN_REVISION})

# Who answers for the package and where the project is published: set both
# at release. The defaults are well-formed placeholders (lintian refuses a
# host such as localhost).
set(KORVEX_MAINTAINER "The Korvex developers <maintainers@korvex.example.org>"
  CACHE STRING "The package's maintainer, \"Name <address>\"")
set(KORVEX_HOMEPAGE "https://korvex.example.org" CACHE STRING "The URL the project is published at")
# The docs/ pictures as published: the metainfo's screenshots.
set(KORVEX_SCREENSHOTS_URL "${KORVEX_HOMEPAGE}/docs" CACHE STRING "The URL of the published docs/ folder")

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
# The ids are AppStream's, lower case: org.korvex.<program>.
foreach(program korvex tamlo)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(appId org.korvex.${program})

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

# Debian wants manual pages and the changelog compressed, at the highest
# level and without a time stamp, so that the same input gives the same file.
find_program(GZIP gzip REQUIRED)
function(korvex_gzip input output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP} -9nc ${input} > ${output}
    DEPENDS ${input}
    COMMENT "Compressing ${output}")
  set(KORVEX_PACKAGING_FILES ${KORVEX_PACKAGING_FILES} ${output} PARENT_SCOPE)
endfunction()

# korvex-cli's manual page is its own --help, so the two cannot drift apart:
# its environment, files and exit statuses are the table --help prints
# (korvex-cli --man-sections), the description and examples come from
# korvex-cli.h2m.
find_program(HELP2MAN help2man)
if(TARGET korvex-cli AND NOT CMAKE_CROSSCOMPILING)
  if(HELP2MAN)
    set(manPage ${KORVEX_PACKAGING_OUT}/korvex-cli.1)
    set(manSections ${KORVEX_PACKAGING_OUT}/korvex-cli-sections.h2m)
    add_custom_command(OUTPUT ${manSections}
      COMMAND $<TARGET_FILE:korvex-cli> --man-sections > ${manSections}
      DEPENDS korvex-cli
      COMMENT "Writing the korvex-cli manual page's sections from its table")
    add_custom_command(OUTPUT ${manPage}
      COMMAND ${HELP2MAN} --no-info --section=1
        "--name=reads, writes and checks the GSM alarm auto-dialer module"
        --include=${KORVEX_PACKAGING_DIR}/korvex-cli.h2m --include=${manSections}
        --output=${manPage} $<TARGET_FILE:korvex-cli>
      DEPENDS korvex-cli ${KORVEX_PACKAGING_DIR}/korvex-cli.h2m ${manSections}
      COMMENT "Writing the korvex-cli manual page from its --help"
      VERBATIM)
    korvex_gzip(${manPage} ${manPage}.gz)
    install(FILES ${manPage}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(WARNING "help2man not found: the korvex-cli manual page is left out of the install")
  endif()
endif()

# Shell completion, printed by korvex-cli from its own command line, so it
# offers every command and option it has; installed where bash-completion and
# Debian's zsh look.
if(TARGET korvex-cli AND NOT CMAKE_CROSSCOMPILING)
  foreach(shell bash zsh)
    set(script ${KORVEX_PACKAGING_OUT}/korvex-cli.${shell})
    add_custom_command(OUTPUT ${script}
      COMMAND $<TARGET_FILE:korvex-cli> --completion ${shell} > ${script}
      DEPENDS korvex-cli
      COMMENT "Writing korvex-cli's ${shell} completion")
    list(APPEND KORVEX_PACKAGING_FILES ${script})
  endforeach()
  install(FILES ${KORVEX_PACKAGING_OUT}/korvex-cli.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME korvex-cli)
  install(FILES ${KORVEX_PACKAGING_OUT}/korvex-cli.zsh
    DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions RENAME _korvex-cli)
endif()

# The window programs' manual pages say what --help has no room for: where
# their data lives, the demo module, the serial-port group.
foreach(program korvex tamlo)
  if(TARGET ${program})
    configure_file(${KORVEX_PACKAGING_DIR}/${program}.1.in ${KORVEX_PACKAGING_OUT}/${program}.1 @ONLY)
    korvex_gzip(${KORVEX_PACKAGING_OUT}/${program}.1 ${KORVEX_PACKAGING_OUT}/${program}.1.gz)
    install(FILES ${KORVEX_PACKAGING_OUT}/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()

# The project file types, so that a file manager opens a .rom project in the
# program it belongs to (the menu entries name them).
if(TARGET korvex OR TARGET tamlo)
  install(FILES ${KORVEX_PACKAGING_DIR}/korvex-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME korvex.xml)
endif()

# The user manual F1 opens (app/manual.cpp looks in share/korvex/manual),
# with the docs/ pictures its pages show from two folders up.
if(TARGET korvex OR TARGET tamlo)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/manual DESTINATION ${CMAKE_INSTALL_DATADIR}/korvex)
  file(GLOB KORVEX_MANUAL_PICTURES ${CMAKE_SOURCE_DIR}/docs/*.png)
  install(FILES ${KORVEX_MANUAL_PICTURES} DESTINATION ${CMAKE_INSTALL_DATADIR}/korvex)
endif()

# FTDI cables in bit-bang mode open as USB devices: the rule gives the
# dialout group, which owns the serial ports, those devices too.
install(FILES ${KORVEX_PACKAGING_DIR}/60-korvex-ftdi.rules DESTINATION lib/udev/rules.d)

# The licence in Debian's machine-readable form, and the package's changelog
# dated as the release.
execute_process(COMMAND date -u -R -d "${KORVEX_RELEASE_DATE} 12:00:00"
  OUTPUT_VARIABLE KORVEX_RELEASE_TIME OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${KORVEX_PACKAGING_DIR}/copyright.in ${KORVEX_PACKAGING_OUT}/copyright @ONLY)
install(FILES ${KORVEX_PACKAGING_OUT}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# A package's first upload to Debian closes its ITP ("intent to package")
# bug. Until one is filed, the package tells lintian that it is not meant for
# Debian's archive yet, the case the tag's own explanation allows.
set(KORVEX_ITP_BUG "" CACHE STRING "The number of the package's ITP bug in Debian, once filed")
if(KORVEX_ITP_BUG)
  set(KORVEX_ITP_CLOSES " (Closes: #${KORVEX_ITP_BUG})")
else()
  set(KORVEX_ITP_CLOSES "")
  install(FILES ${KORVEX_PACKAGING_DIR}/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME korvex)
endif()
configure_file(${KORVEX_PACKAGING_DIR}/changelog.Debian.in ${KORVEX_PACKAGING_OUT}/changelog.Debian @ONLY)
korvex_gzip(${KORVEX_PACKAGING_OUT}/changelog.Debian ${KORVEX_PACKAGING_OUT}/changelog.Debian.gz)
install(FILES ${KORVEX_PACKAGING_OUT}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
set(CPACK_PACKAGE_CONTACT "${KORVEX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KORVEX_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KORVEX_HOMEPAGE})
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
