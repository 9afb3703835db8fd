# brevanto_add_test(NAME SOURCES... LIBS... [LABELS ...])
# One GoogleTest executable; each test case becomes its own CTest test.
# The simulator's path and the fixtures folder are compiled into the test
# support library, so a test binary also runs on its own.
function(brevanto_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE brevanto::options brevanto::testsupport brevanto_testmain ${ARG_LIBS})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
