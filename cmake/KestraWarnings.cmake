# Warnings in one place: every target links kestra_warnings.
add_library(kestra_warnings INTERFACE)
target_compile_options(kestra_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(KESTRA_WERROR)
  target_compile_options(kestra_warnings INTERFACE -Werror)
endif()
if(KESTRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Places a target's executable in the install-tree folder for tools the launcher starts.
function(kestra_tool target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KESTRA_TOOLS_DIR})
  install(TARGETS ${target} RUNTIME DESTINATION tools/bin)
endfunction()

# A GoogleTest binary under build/tests, registered with CTest and run headless.
function(kestra_test target label)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main kestra_warnings)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    KESTRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" KESTRA_BINARY_DIR="${PROJECT_BINARY_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${target}
    PROPERTIES LABELS ${label}
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QVD_INST_DIR=${PROJECT_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()
