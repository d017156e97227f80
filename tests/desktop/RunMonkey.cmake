# Runs the monkey for a minute on the sanitizer build of the program, or on this build's own
# program when no sanitizer build exists.
if(EXISTS "${PREFERRED}")
    set(program "${PREFERRED}")
else()
    set(program "${FALLBACK}")
    message(STATUS "no sanitizer build at ${PREFERRED}: driving ${FALLBACK}")
endif()
execute_process(COMMAND "${MONKEY}" --program "${program}" --content "${CONTENT}" --seconds 60
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the monkey found a fault (exit ${result}); its log above has the seed")
endif()
