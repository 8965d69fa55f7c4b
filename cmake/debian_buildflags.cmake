# The hardening a Debian package is built with, as dpkg-buildflags gives it
# (stack protector, _FORTIFY_SOURCE, format checks, full RELRO with
# immediate binding), for every target: the packaged programs are the ones
# the tests ran. Off where the flags fight the build's purpose: the
# sanitizers and fuzzers, and the cross build for Windows.
# Included by the top CMakeLists.txt before any target.

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
set(korvexHardeningDefault OFF)
# _FORTIFY_SOURCE needs an optimised build.
if(DPKG_BUILDFLAGS AND NOT CMAKE_CROSSCOMPILING AND NOT KORVEX_SANITIZE AND NOT KORVEX_SANITIZE_THREAD
   AND NOT KORVEX_BUILD_FUZZ
   AND NOT CMAKE_BUILD_TYPE STREQUAL Debug)
  set(korvexHardeningDefault ON)
endif()
option(KORVEX_DPKG_BUILDFLAGS "Compile and link with dpkg-buildflags' hardening (hardening=+all)"
  ${korvexHardeningDefault})

if(KORVEX_DPKG_BUILDFLAGS)
  if(NOT DPKG_BUILDFLAGS)
    message(FATAL_ERROR "KORVEX_DPKG_BUILDFLAGS needs dpkg-buildflags (dpkg-dev)")
  endif()
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
      COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # The build type chooses optimisation and debug information. The file
    # prefix map would name each checkout's folder in every command line, so
    # checkouts could no longer share compiled objects through ccache; the
    # package strips the debug information it would have rewritten.
    list(FILTER flags EXCLUDE REGEX "^-O[0-9s]?$|^-g$|^-ffile-prefix-map=")
    if(kind STREQUAL LDFLAGS)
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
  endforeach()
endif()
