# Warnings in one place: every target links kestra_warnings.
add_library(kestra_warnings INTERFACE)
target_compile_options(kestra_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(KESTRA_WERROR)
  target_compile_options(kestra_warnings INTERFACE -Werror)
endif()
# GCC 12 at -O3 (the Release build of the benchmarks) warns of overlapping copies inside the
# standard library's string concatenation of a literal and a temporary string: a false
# positive of that compiler (GCC 13 no longer gives it), which would bury real warnings.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(kestra_warnings INTERFACE $<$<CONFIG:Release>:-Wno-restrict>)
endif()
if(KESTRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Places a target's executable in the install-tree folder for tools the launcher starts:
# tools/bin, or tools/<folder> with FOLDER <folder>.
function(kestra_tool target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "FOLDER" "")
  get_filename_component(tools ${KESTRA_TOOLS_DIR} DIRECTORY)
  set(folder bin)
  if(ARG_FOLDER)
    set(folder ${ARG_FOLDER})
  endif()
  # tools/<folder> is two levels below the install root, so the libraries are at ../../lib.
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${tools}/${folder}
    BUILD_RPATH "\$ORIGIN/../../lib" INSTALL_RPATH "\$ORIGIN/../../lib")
  install(TARGETS ${target} RUNTIME DESTINATION tools/${folder})
  set_property(GLOBAL APPEND PROPERTY KESTRA_STANDIN_TOOLS ${target})
endfunction()

# A tool only the tests start: built where the launcher finds tools, never installed.
function(kestra_test_tool target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KESTRA_TOOLS_DIR})
endfunction()

# A test binary under build/tests, registered with CTest and run headless; the caller links
# the main (gtest_main, or the Qt test main of tests/support).
function(kestra_test_binary target label)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE kestra_warnings)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    KESTRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KESTRA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${target}
    PROPERTIES LABELS ${label}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QVD_INST_DIR=${PROJECT_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# A GoogleTest binary with gtest's own main.
function(kestra_test target label)
  kestra_test_binary(${target} ${label} ${ARGN})
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
endfunction()

# A test binary whose tests need a QApplication (dialogs, launcher): it links the Qt test
# main of tests/support instead of gtest_main.
function(kestra_qt_test target label)
  kestra_test_binary(${target} ${label} ${ARGN})
  target_link_libraries(${target} PRIVATE kestra_test_support)
endfunction()
