# brevanto_add_test(NAME SOURCES... LIBS... [LABELS ...])
# One GoogleTest executable; each test case becomes its own CTest test.
function(brevanto_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE brevanto::options brevanto::testsupport ${ARG_LIBS})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS "${ARG_LABELS}"
        ENVIRONMENT "BREVANTO_SIM=$<TARGET_FILE:brevanto-sim>;BREVANTO_FIXTURES=${PROJECT_SOURCE_DIR}/tests/fixtures")
endfunction()
