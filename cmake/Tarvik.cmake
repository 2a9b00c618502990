# Build helpers shared by every part of the tree.
#
# Computation targets are plain C++: they may not link Qt, and the forced
# guard header turns any Qt include that slips in (through a linked Qt
# target's QT_CORE_LIB definition) into a compile error.

set(TARVIK_GUARD_HEADER ${CMAKE_SOURCE_DIR}/src/common/no_qt_guard.h)
set_property(GLOBAL PROPERTY TARVIK_COMPUTATION_TARGETS "")

# tarvik_computation_library(<name> <sources...> [LIBS <libs...>])
function(tarvik_computation_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_compile_options(${name} PRIVATE -include ${TARVIK_GUARD_HEADER})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  set_property(GLOBAL APPEND PROPERTY TARVIK_COMPUTATION_TARGETS ${name})
endfunction()

# tarvik_ui_library(<name> <sources...> [LIBS <libs...>]): a Qt widgets library.
function(tarvik_ui_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::PrintSupport ${ARG_LIBS})
endfunction()

# tarvik_test(<name> <sources...> [LIBS <libs...>] [GUI]): a GoogleTest program
# whose tests each become a ctest entry. GUI tests run on the offscreen platform.
function(tarvik_test name)
  cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE TARVIK_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
                                             TARVIK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(ARG_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE tarvik_testsupport)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVIK_TEST=1" TIMEOUT 300)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# Fails the configure step when a computation target links Qt.
function(tarvik_check_computation_targets)
  get_property(targets GLOBAL PROPERTY TARVIK_COMPUTATION_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(libs ${t} LINK_LIBRARIES)
    if(libs)
      foreach(l IN LISTS libs)
        if(l MATCHES "^Qt" OR l MATCHES "tarvik_.*_ui$" OR l STREQUAL "tarvik_shell")
          message(FATAL_ERROR "Computation target ${t} links ${l}; computation must stay free of Qt.")
        endif()
      endforeach()
    endif()
  endforeach()
endfunction()
