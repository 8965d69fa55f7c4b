# Windows (x86-64) with Debian's MinGW-w64, posix thread model: the same
# model as Qt's MinGW kits, so std::thread and std::mutex work as on Linux.
# Libraries come only from the MinGW sysroot and KORVEX_WINDOWS_DEPS (the
# cross-built GoogleTest and the header-only CLI11 and nlohmann-json that
# scripts/windows.sh lays out), never from the host's /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(KORVEX_WINDOWS_DEPS "" CACHE PATH "Prefix of the cross-built dependencies")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${KORVEX_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's MinGW sysroot has no libsndfile, libsoxr or espeak-ng: korvex-cli
# is built without sound conversion and speech.
set(KORVEX_WITH_AUDIO OFF CACHE BOOL "Sound conversion and speech (korvex_audio)")

# Self-contained programs: no libstdc++, libgcc or winpthread DLLs to ship.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
