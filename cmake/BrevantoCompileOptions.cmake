# Warnings as errors for every target of ours, and the sanitizer switch.
add_library(brevanto_options INTERFACE)
add_library(brevanto::options ALIAS brevanto_options)
target_compile_options(brevanto_options INTERFACE
    -Wall -Wextra -Wpedantic -Werror
    -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)

if(BREVANTO_SANITIZE)
    string(REPLACE "," ";" _sanitizers "${BREVANTO_SANITIZE}")
    foreach(_s IN LISTS _sanitizers)
        if(NOT _s MATCHES "^(address|undefined|thread)$")
            message(FATAL_ERROR "Unknown sanitizer '${_s}'")
        endif()
    endforeach()
    add_compile_options(-fsanitize=${BREVANTO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${BREVANTO_SANITIZE})
endif()

# brevanto_add_library(NAME SOURCES... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One static library per layer; headers are included as "layer/name.h".
function(brevanto_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(brevanto_${name} STATIC ${ARG_SOURCES})
    add_library(brevanto::${name} ALIAS brevanto_${name})
    target_include_directories(brevanto_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(brevanto_${name}
        PUBLIC ${ARG_PUBLIC_LIBS}
        PRIVATE brevanto::options ${ARG_PRIVATE_LIBS})
endfunction()
