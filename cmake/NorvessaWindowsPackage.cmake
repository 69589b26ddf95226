# The Windows programs as shipped: their resources, the check of what they import, and (in
# packaging/windows/) the installer and the portable archive.

if(TARGET norvessa-query)
    target_link_libraries(norvessa-query PRIVATE norvessa_query_windows_resources)
endif()

# The programs shipped, the windows program once its target exists.
set(NORVESSA_WINDOWS_PROGRAMS)
if(TARGET norvessa_win32_gui)
    target_link_libraries(norvessa_win32_gui PRIVATE norvessa_windows_resources)
    list(APPEND NORVESSA_WINDOWS_PROGRAMS norvessa_win32_gui)
endif()
if(TARGET norvessa-query)
    list(APPEND NORVESSA_WINDOWS_PROGRAMS norvessa-query)
endif()

# Each program runs from any folder: it imports nothing but Windows' own DLLs (no C++ runtime,
# libgcc or winpthread DLL beside it).
if(NORVESSA_BUILD_TESTS AND NORVESSA_WINDOWS_PROGRAMS)
    set(program_files)
    foreach(program IN LISTS NORVESSA_WINDOWS_PROGRAMS)
        list(APPEND program_files "$<TARGET_FILE:${program}>")
    endforeach()
    add_test(NAME windows.programs_import_only_system_dlls
             COMMAND ${CMAKE_COMMAND} "-DOBJDUMP=${CMAKE_OBJDUMP}" "-DPROGRAMS=${program_files}"
                     -P "${PROJECT_SOURCE_DIR}/tests/windows/check_imports.cmake")
endif()
