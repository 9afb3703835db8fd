# The warnings of every target of ours, as errors when asked, and the
# sanitizer switch.
add_library(brevanto_options INTERFACE)
add_library(brevanto::options ALIAS brevanto_options)
target_compile_options(brevanto_options INTERFACE
    -Wall -Wextra -Wpedantic
    -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
# On for the tests and CI; off for `make run`, so that a newer compiler's new
# warnings never keep a user from building the program.
if(BREVANTO_WERROR)
    target_compile_options(brevanto_options INTERFACE -Werror)
endif()

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

# The fuzz targets need every library they call compiled with libFuzzer's
# coverage; only the targets themselves link its main.
if(BREVANTO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "BREVANTO_FUZZ needs Clang (libFuzzer)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Each layer's headers are seen through an include folder of its own,
# build/layers/<layer>/<layer> -> src/<layer>, so "layer/name.h" resolves only
# in a library that links that layer. An include of a layer the library may
# not use does not build, whatever the folders next to it hold.
function(brevanto_layer_include_root layer out)
    set(root ${PROJECT_BINARY_DIR}/layers/${layer})
    if(NOT EXISTS ${root}/${layer})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
    endif()
    set(${out} ${root} PARENT_SCOPE)
endfunction()

# brevanto_add_library(NAME SOURCES... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# One static library per layer, defined in the layer's folder; headers are
# included as "layer/name.h".
function(brevanto_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(brevanto_${name} STATIC ${ARG_SOURCES})
    add_library(brevanto::${name} ALIAS brevanto_${name})
    get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    brevanto_layer_include_root(${layer} root)
    target_include_directories(brevanto_${name} PUBLIC ${root})
    target_link_libraries(brevanto_${name}
        PUBLIC ${ARG_PUBLIC_LIBS}
        PRIVATE brevanto::options ${ARG_PRIVATE_LIBS})
endfunction()
