# Windows (x86-64) with Debian's MinGW-w64, posix thread model: the same
# model as Qt's MinGW kits, so std::thread and std::mutex work as on Linux.
# Libraries come only from the MinGW sysroot, KORVEX_WINDOWS_DEPS (the
# cross-built GoogleTest and the header-only CLI11 and nlohmann-json that
# scripts/windows.sh lays out) and KORVEX_WINDOWS_QT (Qt built for MinGW-w64,
# scripts/qt-windows.sh), never from the host's /usr; Qt's host tools (moc,
# rcc, uic) come from QT_HOST_PATH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(KORVEX_WINDOWS_DEPS "" CACHE PATH "Prefix of the cross-built dependencies")
set(KORVEX_WINDOWS_QT "" CACHE PATH "Prefix of Qt built for MinGW-w64")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${KORVEX_WINDOWS_DEPS} ${KORVEX_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's MinGW sysroot has no libsndfile, libsoxr or espeak-ng: the
# programs take sound in the module's own format only, korvex-cli has no
# speak command.
set(KORVEX_AUDIO_CONVERSION OFF CACHE BOOL "korvex_audio with libsndfile, libsoxr and espeak-ng")

# The C++ runtime is linked as the Qt DLLs link it, dynamically: one copy of
# libstdc++-6.dll, libgcc_s_seh-1.dll and libwinpthread-1.dll ships beside
# the programs.
