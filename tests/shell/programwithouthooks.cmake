# Configures the program as users build it (no tests) and fails when the end-to-end test hooks
# would be part of it. Needs SOURCE_DIR, BINARY_DIR and NINJA.
file(REMOVE_RECURSE "${BINARY_DIR}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${BINARY_DIR}" -G Ninja
          -DCMAKE_MAKE_PROGRAM=${NINJA} -DCMAKE_BUILD_TYPE=Release
  RESULT_VARIABLE configured OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the program failed:\n${errors}")
endif()
execute_process(
  COMMAND "${NINJA}" -C "${BINARY_DIR}" -t commands quillstash
  RESULT_VARIABLE listed OUTPUT_VARIABLE commands ERROR_VARIABLE errors)
if(NOT listed EQUAL 0 OR NOT commands MATCHES "shell/main\\.cpp")
  message(FATAL_ERROR "no build commands for the program:\n${errors}")
endif()
foreach(hook testcontrol QUILLSTASH_TEST_HOOKS)
  if(commands MATCHES "${hook}")
    message(FATAL_ERROR "the program users build carries the test hooks (${hook})")
  endif()
endforeach()
file(REMOVE_RECURSE "${BINARY_DIR}")
