# The engine side of platform/ (files, paths, resources, the database engine) and the flash
# decoders must never link Qt Widgets, so that they stay usable from the command line and testable
# without a display.
foreach(target IN ITEMS norvessa_platform_core norvessa_text norvessa_jet norvessa_sql norvessa_ado norvessa_flash)
    if(NOT TARGET ${target})
        continue()
    endif()
    get_target_property(linked ${target} LINK_LIBRARIES)
    get_target_property(interface_linked ${target} INTERFACE_LINK_LIBRARIES)
    foreach(dependency IN LISTS linked interface_linked)
        if(dependency MATCHES "Widgets|norvessa_platform_gui")
            message(FATAL_ERROR "${target} links ${dependency}: the non-GUI platform layer must not depend on Qt Widgets")
        endif()
    endforeach()
endforeach()
