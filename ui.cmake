# Qt side: the shared controls, pages and windows of both programs.
# Included by the top CMakeLists.txt when KORVEX_BUILD_UI is on.

# Windows: the COM port list and the wave output come from the system
# (link/port_list.cpp, app/wav_output_winmm.cpp); the Qt built for MinGW-w64
# has neither Qt SerialPort nor Qt Multimedia.
if(WIN32)
  find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport Test)
  set(KORVEX_UI_SYSTEM_LIBS winmm)
  set(KORVEX_UI_OTHER_OUTPUT wav_output_qt)
else()
  find_package(Qt6 REQUIRED COMPONENTS Widgets Multimedia SerialPort PrintSupport Test)
  set(KORVEX_UI_SYSTEM_LIBS Qt6::Multimedia Qt6::SerialPort)
  set(KORVEX_UI_OTHER_OUTPUT wav_output_winmm)
endif()

# Only the targets made here run moc; the core and the benchmarks stay plain.
set(CMAKE_AUTOMOC ON)

file(GLOB KORVEX_UI_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp
  ${CMAKE_SOURCE_DIR}/widgets/*.cpp
  ${CMAKE_SOURCE_DIR}/pages/*.cpp
  ${CMAKE_SOURCE_DIR}/korvex/*.cpp
  ${CMAKE_SOURCE_DIR}/tamlo/*.cpp)
# The programs' main() files build the executables, not the library.
list(FILTER KORVEX_UI_SOURCES EXCLUDE REGEX "/main_[^/]*\\.cpp$")
list(FILTER KORVEX_UI_SOURCES EXCLUDE REGEX "/${KORVEX_UI_OTHER_OUTPUT}\\.cpp$")

add_library(korvex_ui STATIC ${KORVEX_UI_SOURCES})
target_link_libraries(korvex_ui PUBLIC korvex_core korvex_audio Qt6::Widgets Qt6::PrintSupport ${KORVEX_UI_SYSTEM_LIBS})
# The version --version tells (app/start_command.cpp).
target_compile_definitions(korvex_ui PRIVATE KORVEX_VERSION="${PROJECT_VERSION}"
  # Where F1 finds the manual when the program runs from its build folder.
  KORVEX_MANUAL_SOURCE_DIR="${CMAKE_SOURCE_DIR}/docs/manual")
if(TARGET korvex_ftdi)
  target_link_libraries(korvex_ui PUBLIC korvex_ftdi)
  target_compile_definitions(korvex_ui PRIVATE KORVEX_WITH_FTDI=1)
endif()

foreach(program korvex:korvex/main_korvex.cpp tamlo:tamlo/main_tamlo.cpp)
  string(REPLACE ":" ";" parts ${program})
  list(GET parts 0 name)
  list(GET parts 1 main)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${main})
    add_executable(${name} ${CMAKE_SOURCE_DIR}/${main})
    target_link_libraries(${name} PRIVATE korvex_ui)
  endif()
endforeach()

# One Qt test program: tests/ui holds its main and shared fixtures, the other
# folders mirror the Qt folders they test.
file(GLOB KORVEX_UI_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/ui/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/app/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/widgets/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/pages/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/korvex/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/tamlo/*.cpp)
if(KORVEX_UI_TEST_SOURCES)
  add_executable(test_ui ${KORVEX_UI_TEST_SOURCES})
  target_link_libraries(test_ui PRIVATE korvex_ui Qt6::Test GTest::gtest GTest::gmock)
  target_include_directories(test_ui PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(test_ui PRIVATE KORVEX_VERSION="${PROJECT_VERSION}")
  # The test main falls back to the offscreen platform by itself, so listing
  # the tests at build time needs no display either.
  # scripts/windows.sh runs the cross-built one under Wine.
  if(NOT CMAKE_CROSSCOMPILING)
    gtest_discover_tests(test_ui TEST_PREFIX ui. DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS ui ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
endif()

# The window's event loop while a transfer runs (bench/ui: needs the Qt side).
if(KORVEX_BUILD_BENCH AND NOT KORVEX_SANITIZE AND NOT KORVEX_SANITIZE_THREAD AND EXISTS ${CMAKE_SOURCE_DIR}/bench/ui/bench_event_loop.cpp)
  find_package(benchmark REQUIRED)
  add_executable(bench_event_loop ${CMAKE_SOURCE_DIR}/bench/ui/bench_event_loop.cpp)
  target_link_libraries(bench_event_loop PRIVATE korvex_ui benchmark::benchmark)
endif()

set(CMAKE_AUTOMOC OFF)
