# Windows: `cmake --install` lays out the release folder that
# korvex-windows-x64.zip holds and the NSIS installer (packaging/korvex.nsi.in)
# installs: the programs, Qt's DLLs and plugins, MinGW's C++ runtime (the
# Qt DLLs link it dynamically, so one copy serves all), and Qt's own Russian
# and English texts. Included by the top CMakeLists.txt; scripts/windows.sh
# builds the zip and the installer from it.

if(NOT WIN32)
  return()
endif()

# MinGW's runtime, from where the compiler itself finds it.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${runtime}" OR NOT EXISTS "${runtime}")
    message(FATAL_ERROR "MinGW's ${dll} was not found (${runtime})")
  endif()
  install(FILES ${runtime} DESTINATION .)
endforeach()

if(NOT TARGET korvex OR NOT TARGET tamlo)
  return()
endif()
install(TARGETS korvex tamlo RUNTIME DESTINATION .)
foreach(module Core Gui Widgets PrintSupport)
  install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
# Qt's texts are the same files on every system: the host's.
set(KORVEX_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH "Qt's .qm files (qt6-translations-l10n)")
foreach(language ru en)
  foreach(catalog qt qtbase)
    install(FILES ${KORVEX_QT_TRANSLATIONS}/${catalog}_${language}.qm DESTINATION translations)
  endforeach()
endforeach()
# The programs' folder is Qt's prefix: plugins beside them, texts in translations/.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/qt.conf DESTINATION .)
