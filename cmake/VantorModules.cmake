# Helpers that keep the per-folder CMakeLists files short.
#
# The core is built as one static library per subsystem folder (QtCore only;
# the emulator adds QtNetwork); `vantor_core` links them all. Widget code lives in
# separate targets, so a core file that includes a widget header fails to
# build. The emulator sits beside the device layer: vantor_forbid_includes
# makes an include of one of its headers from src/device fail to build too.

set(VANTOR_SRC_ROOT ${PROJECT_SOURCE_DIR}/src)

# vantor_core_module(NAME SOURCES files... [DEPENDS other_modules...])
# Creates the static library vantor_<NAME> with src/ as its include root.
function(vantor_core_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(vantor_${name} STATIC ${ARG_SOURCES})
  target_include_directories(vantor_${name} PUBLIC ${VANTOR_SRC_ROOT})
  target_link_libraries(vantor_${name} PUBLIC Qt6::Core Threads::Threads)
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(vantor_${name} PUBLIC vantor_${dep})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY VANTOR_CORE_MODULES vantor_${name})
endfunction()

# vantor_forbid_includes(TARGET FOLDER)
# TARGET's own sources may not include the headers of src/<FOLDER>/. Each header
# there gets a stand-in of the same name that is only an #error, on an include
# folder searched before src/; the list follows the folder at every build.
function(vantor_forbid_includes target folder)
  set(standins ${PROJECT_BINARY_DIR}/forbidden-includes/${target})
  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${VANTOR_SRC_ROOT}/${folder}
       ${VANTOR_SRC_ROOT}/${folder}/*.h)
  file(REMOVE_RECURSE ${standins})
  foreach(header IN LISTS headers)
    file(WRITE ${standins}/${folder}/${header}
         "#error \"${target} may not include ${folder}/${header}\"\n")
  endforeach()
  target_include_directories(${target} BEFORE PRIVATE ${standins})
endfunction()

# vantor_widget_module(NAME SOURCES files... [DEPENDS targets...])
# Creates the static library vantor_<NAME>_widgets (Qt Widgets) on top of the core.
# DEPENDS takes full target names (vantor_ui_widgets, vantor_shell, ...).
function(vantor_widget_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(vantor_${name}_widgets STATIC ${ARG_SOURCES})
  set_target_properties(vantor_${name}_widgets PROPERTIES AUTOMOC ON)
  target_include_directories(vantor_${name}_widgets PUBLIC ${VANTOR_SRC_ROOT})
  target_link_libraries(vantor_${name}_widgets PUBLIC Qt6::Widgets Qt6::Gui Qt6::Core ${ARG_DEPENDS})
endfunction()

# vantor_test(NAME SOURCES files... [LIBS targets...])
# One GoogleTest executable per folder of tests/; every test case becomes a
# CTest test. The shared main (tests/support/TestMain.cpp) sets the environment.
function(vantor_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(test_${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp)
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(test_${name} PRIVATE
    VANTOR_TEST_MAIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VANTOR_TEST_MAIN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 30 PROPERTIES ${VANTOR_TEST_PROPERTIES})
  if(VANTOR_TSAN)
    add_dependencies(test_${name} vantor_tsan_qt_threads)  # preloaded by its tests
  endif()
endfunction()

# vantor_bench(NAME SOURCES files... [LIBS targets...])
function(vantor_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${ARG_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
