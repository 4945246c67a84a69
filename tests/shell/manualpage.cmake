# The manual page must read without a single roff warning.
find_program(GROFF groff)
if(NOT GROFF)
  message("groff is missing")
  cmake_language(EXIT 77)
endif()
execute_process(COMMAND ${GROFF} -ww -z -man ${PAGE} ERROR_VARIABLE warnings
                COMMAND_ERROR_IS_FATAL ANY)
if(NOT warnings STREQUAL "")
  message(FATAL_ERROR "${warnings}")
endif()
