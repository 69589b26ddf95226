# Areas built on Qt, from the source root: a build without Qt (NORVESSA_QT off, as the Windows
# build is) leaves them out. The windows' procedures (main_window, secondary_windows) are plain
# C++ and build everywhere; their Qt program, and the Qt tools beside the Windows screenshot tool
# and start-up peer, are left out inside their areas.
set(NORVESSA_QT_AREAS
    platform/gui resources/images
    tools/icon_export tools/image_generators
    tests/images tests/main_window tests/platform_gui tests/secondary_windows tests/soak
    bench/lookup)

function(norvessa_area_is_built folder result)
    file(RELATIVE_PATH area "${PROJECT_SOURCE_DIR}" "${folder}")
    if(NOT EXISTS "${folder}/CMakeLists.txt" OR (NOT NORVESSA_QT AND area IN_LIST NORVESSA_QT_AREAS))
        set(${result} FALSE PARENT_SCOPE)
    else()
        set(${result} TRUE PARENT_SCOPE)
    endif()
endfunction()

# Adds every listed folder below the current one that has a CMakeLists.txt, in the given order,
# so that a new area joins the build by adding its own CMakeLists.txt.
function(norvessa_add_areas)
    foreach(area IN LISTS ARGN)
        norvessa_area_is_built("${CMAKE_CURRENT_SOURCE_DIR}/${area}" built)
        if(built)
            add_subdirectory(${area})
        endif()
    endforeach()
endfunction()

function(norvessa_add_all_areas)
    file(GLOB children RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
    list(SORT children)
    foreach(child IN LISTS children)
        norvessa_area_is_built("${CMAKE_CURRENT_SOURCE_DIR}/${child}" built)
        if(IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${child}" AND built)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
