# Shared helpers for the folder libraries, tests and benchmarks.

set(TUNVEX_WARNINGS -Wall -Wextra -Wno-unused-parameter)

# Headers that nearly every translation unit includes; precompiling them keeps
# a full build on two cores short.
set(TUNVEX_CORE_PCH <QtCore/QString> <QtCore/QByteArray> <QtCore/QList> <QtCore/QFile>
    <array> <vector> <memory> <optional> <cstdint> <cmath> <algorithm> <stdexcept>)
set(TUNVEX_UI_PCH ${TUNVEX_CORE_PCH} <QtWidgets/QWidget> <QtWidgets/QDialog>
    <QtWidgets/QLabel> <QtWidgets/QPushButton> <QtGui/QPainter>)
set(TUNVEX_TEST_PCH ${TUNVEX_CORE_PCH} <gtest/gtest.h>)

# Every library and test of one kind (core, ui, test) reuses one precompiled
# header, built once by a small target of that kind, instead of compiling its
# own: a third of a full build otherwise.
function(tunvex_use_pch name kind)
  set(pch tunvex_pch_${kind})
  if(NOT TARGET ${pch})
    set(source ${CMAKE_BINARY_DIR}/pch/${kind}.cpp)
    if(NOT EXISTS ${source})
      file(WRITE ${source} "// Carries the shared precompiled header of its kind.\n")
    endif()
    add_library(${pch} STATIC ${source})
    if(kind STREQUAL "core")
      target_link_libraries(${pch} PUBLIC Qt6::Core)
      target_precompile_headers(${pch} PRIVATE ${TUNVEX_CORE_PCH})
    elseif(kind STREQUAL "ui")
      target_link_libraries(${pch} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets)
      target_precompile_headers(${pch} PRIVATE ${TUNVEX_UI_PCH})
    else()
      target_link_libraries(${pch} PUBLIC Qt6::Core GTest::gtest GTest::gmock)
      target_precompile_headers(${pch} PRIVATE ${TUNVEX_TEST_PCH})
    endif()
    target_compile_options(${pch} PRIVATE ${TUNVEX_WARNINGS})
  endif()
  target_precompile_headers(${name} REUSE_FROM ${pch})
endfunction()

# tunvex_core_library(name SOURCES ... LIBS ...): a static QtCore-only library.
function(tunvex_core_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Core ${A_LIBS})
  target_compile_options(${name} PRIVATE ${TUNVEX_WARNINGS})
  tunvex_use_pch(${name} core)
endfunction()

# tunvex_ui_library(name SOURCES ... LIBS ...): a static Qt Widgets library.
function(tunvex_ui_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets ${A_LIBS})
  target_compile_options(${name} PRIVATE ${TUNVEX_WARNINGS})
  tunvex_use_pch(${name} ui)
endfunction()

# tunvex_test(name [GUI] SOURCES ... LIBS ...): one GoogleTest executable, registered
# with CTest. GUI tests get a QApplication (offscreen under CTest), the others a
# QCoreApplication.
function(tunvex_test name)
  cmake_parse_arguments(A "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock)
  if(A_GUI)
    target_link_libraries(${name} PRIVATE tunvex_test_main_gui)
  else()
    target_link_libraries(${name} PRIVATE tunvex_test_main)
  endif()
  target_compile_options(${name} PRIVATE ${TUNVEX_WARNINGS})
  target_compile_definitions(${name} PRIVATE
      TUNVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}" TUNVEX_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
      TUNVEX_PROGRAM_DIR="${TUNVEX_BIN_DIR}" TUNVEX_VERSION="${PROJECT_VERSION}")
  tunvex_use_pch(${name} test)
  # The test entry point puts the configuration and data folders under a
  # folder of its own. No test may hang CI: sanitizer runs of the file fuzzing
  # need well over 100 s, so the limit leaves room for that.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# tunvex_folder(folder LIBS ... UI_LIBS ...): the libraries of one source folder.
# tunvex_<folder> holds the folder's own sources (QtCore only); when ui/ has
# sources, tunvex_<folder>_ui holds them (Qt Widgets). Sources are picked up
# by pattern, so adding a file needs no change here.
function(tunvex_folder folder)
  cmake_parse_arguments(A "" "" "LIBS;UI_LIBS" ${ARGN})
  file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB ui_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp)
  if(core_sources MATCHES "\\.cpp")
    tunvex_core_library(tunvex_${folder} SOURCES ${core_sources} LIBS ${A_LIBS})
  else()
    # A folder without core sources yet still gives its ui a library to name.
    add_library(tunvex_${folder} INTERFACE)
    target_include_directories(tunvex_${folder} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(tunvex_${folder} INTERFACE Qt6::Core ${A_LIBS})
  endif()
  if(ui_sources MATCHES "\\.cpp")
    tunvex_ui_library(tunvex_${folder}_ui SOURCES ${ui_sources} LIBS tunvex_${folder} ${A_UI_LIBS})
  endif()
endfunction()

# tunvex_test_folder(folder LIBS ... UI_LIBS ...): test_<folder> from the
# folder's *_test.cpp, and test_<folder>_ui (a GUI test) from ui/*_test.cpp.
function(tunvex_test_folder folder)
  cmake_parse_arguments(A "" "" "LIBS;UI_LIBS" ${ARGN})
  file(GLOB core_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(core_tests)
    tunvex_test(test_${folder} SOURCES ${core_tests} LIBS ${A_LIBS} tunvex_testsupport)
    target_include_directories(test_${folder} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  endif()
  file(GLOB ui_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*_test.cpp)
  if(ui_tests)
    tunvex_test(test_${folder}_ui GUI SOURCES ${ui_tests} LIBS ${A_LIBS} ${A_UI_LIBS} tunvex_testsupport)
    target_include_directories(test_${folder}_ui PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  endif()
endfunction()
