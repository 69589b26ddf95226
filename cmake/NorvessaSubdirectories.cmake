# Adds every listed folder below the current one that has a CMakeLists.txt, in the given order,
# so that a new area joins the build by adding its own CMakeLists.txt.
function(norvessa_add_areas)
    foreach(area IN LISTS ARGN)
        if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${area}/CMakeLists.txt")
            add_subdirectory(${area})
        endif()
    endforeach()
endfunction()

function(norvessa_add_all_areas)
    file(GLOB children RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
    list(SORT children)
    foreach(child IN LISTS children)
        if(IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${child}"
           AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt")
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
