# Programs that run during the build to write its inputs (the database image, the NAND ID
# facts). A cross build cannot run what it compiles without an emulator, and running them under
# Wine would add a Wine start to each call: it takes them from a native build of the same
# sources instead, named by NORVESSA_HOST_GENERATORS, the file that build exports.
#
#   norvessa_add_generator(NAME SOURCES... LINK libraries...)

set(NORVESSA_HOST_GENERATORS "" CACHE FILEPATH
    "In a cross build: NorvessaGenerators.cmake from a native build of the generators")
if(CMAKE_CROSSCOMPILING)
    if(NOT EXISTS "${NORVESSA_HOST_GENERATORS}")
        message(FATAL_ERROR "A cross build runs the generators of a native build: set "
                            "NORVESSA_HOST_GENERATORS to its NorvessaGenerators.cmake "
                            "(scripts/build.sh windows does)")
    endif()
    include("${NORVESSA_HOST_GENERATORS}")
endif()

function(norvessa_add_generator name)
    cmake_parse_arguments(GENERATOR "" "" "SOURCES;LINK" ${ARGN})
    if(CMAKE_CROSSCOMPILING)
        if(NOT TARGET ${name})
            message(FATAL_ERROR "${NORVESSA_HOST_GENERATORS} does not name the generator ${name}")
        endif()
        return()
    endif()
    add_executable(${name} ${GENERATOR_SOURCES})
    target_link_libraries(${name} PRIVATE ${GENERATOR_LINK} norvessa_warnings)
    set_property(GLOBAL APPEND PROPERTY NORVESSA_GENERATORS ${name})
endfunction()

# Writes the file a cross build reads, naming each generator this native build makes.
function(norvessa_export_generators)
    get_property(generators GLOBAL PROPERTY NORVESSA_GENERATORS)
    if(generators)
        export(TARGETS ${generators} FILE "${PROJECT_BINARY_DIR}/NorvessaGenerators.cmake")
    endif()
endfunction()
