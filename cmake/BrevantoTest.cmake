# brevanto_add_test(NAME SOURCES... LIBS... [LABEL label])
# One GoogleTest executable; each test case becomes its own CTest test.
# The simulator's path and the fixtures folder are compiled into the test
# support library, so a test binary also runs on its own.
function(brevanto_add_test name)
    cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE brevanto::options brevanto::testsupport brevanto_testmain ${ARG_LIBS})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        # One label only: a list would be split into separate properties on
        # its way through the discovery script.
        PROPERTIES LABELS "${ARG_LABEL}")
endfunction()
