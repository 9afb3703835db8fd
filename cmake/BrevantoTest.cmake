# brevanto_add_test(NAME SOURCES... LIBS... [LABEL label] [MAIN target])
# One GoogleTest executable; each test case becomes its own CTest test.
# MAIN replaces the plain test main (the window tests need a Qt application).
# The simulator's path and the fixtures folder are compiled into the test
# support library, so a test binary also runs on its own.
function(brevanto_add_test name)
    cmake_parse_arguments(ARG "" "LABEL;MAIN" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_MAIN)
        set(ARG_MAIN brevanto_testmain)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE brevanto::options brevanto::testsupport ${ARG_MAIN} ${ARG_LIBS})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        # One label only: a list would be split into separate properties on
        # its way through the discovery script.
        PROPERTIES LABELS "${ARG_LABEL}")
endfunction()
