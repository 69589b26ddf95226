# The Windows programs as shipped: their resources, the check of what they import, and (in
# packaging/windows/) the installer and the portable archive.

if(TARGET norvessa-query)
    # Its main() reads the wide command line and writes to consoles through platform/core.
    target_link_libraries(norvessa-query PRIVATE norvessa_platform_core norvessa_query_windows_resources)
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

# The installer (NSIS) and the portable archive, in the build folder:
#   Norvessa-1.0.0-setup.exe, Norvessa-1.0.0-windows-<architecture>.zip
find_program(NORVESSA_MAKENSIS makensis)
if(TARGET norvessa-query)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(architecture x86_64)
        set(installer_options -DWIN64)
    else()
        set(architecture i686)
        set(installer_options)
    endif()
    set(NORVESSA_INSTALLER "${PROJECT_BINARY_DIR}/Norvessa-${PROJECT_VERSION}-setup.exe")
    set(NORVESSA_PORTABLE_ZIP "${PROJECT_BINARY_DIR}/Norvessa-${PROJECT_VERSION}-windows-${architecture}.zip")
    set(license "${PROJECT_SOURCE_DIR}/LICENSE")
    set(portable "${PROJECT_BINARY_DIR}/portable/Norvessa")
    set(portable_files
        COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:norvessa-query>" "${portable}/norvessa-query.exe")
    if(TARGET norvessa_win32_gui)
        list(APPEND installer_options "-DGUI_PROGRAM=$<TARGET_FILE:norvessa_win32_gui>")
        list(APPEND portable_files
             COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:norvessa_win32_gui>" "${portable}/Norvessa.exe")
    endif()

    if(NORVESSA_MAKENSIS)
        set(script "${PROJECT_SOURCE_DIR}/packaging/windows/norvessa.nsi")
        add_custom_command(
            OUTPUT "${NORVESSA_INSTALLER}"
            COMMAND "${NORVESSA_MAKENSIS}" -V2 -INPUTCHARSET UTF8
                    "-DOUTPUT_FILE=${NORVESSA_INSTALLER}"
                    "-DQUERY_PROGRAM=$<TARGET_FILE:norvessa-query>"
                    "-DLICENSE_FILE=${license}"
                    "-DICON_FILE=${PROJECT_SOURCE_DIR}/resources/images/norvessa.ico"
                    ${installer_options} "${script}"
            DEPENDS ${NORVESSA_WINDOWS_PROGRAMS} "${script}" "${license}"
            COMMENT "Making the installer Norvessa-${PROJECT_VERSION}-setup.exe"
            VERBATIM)
        add_custom_target(norvessa_windows_installer ALL DEPENDS "${NORVESSA_INSTALLER}")
    else()
        message(WARNING "makensis not found (Debian package nsis): no installer is made")
    endif()

    add_custom_command(
        OUTPUT "${NORVESSA_PORTABLE_ZIP}"
        COMMAND ${CMAKE_COMMAND} -E rm -rf "${portable}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${portable}"
        ${portable_files}
        COMMAND ${CMAKE_COMMAND} -E copy "${license}" "${portable}/LICENSE.txt"
        COMMAND ${CMAKE_COMMAND} -E chdir "${PROJECT_BINARY_DIR}/portable"
                ${CMAKE_COMMAND} -E tar cf "${NORVESSA_PORTABLE_ZIP}" --format=zip Norvessa
        DEPENDS ${NORVESSA_WINDOWS_PROGRAMS} "${license}"
        COMMENT "Making the portable archive Norvessa-${PROJECT_VERSION}-windows-${architecture}.zip"
        VERBATIM)
    add_custom_target(norvessa_windows_portable ALL DEPENDS "${NORVESSA_PORTABLE_ZIP}")
endif()

# Installed under Wine as a user would (silently), the installed query tool run, then removed
# with nothing left behind. Wine runs the 32-bit and the 64-bit installer alike.
if(NORVESSA_BUILD_TESTS AND TARGET norvessa_windows_installer)
    set(gui_packaged 0)
    if(TARGET norvessa_win32_gui)
        set(gui_packaged 1)
    endif()
    add_test(NAME windows.installer_installs_runs_and_uninstalls
             COMMAND bash "${PROJECT_SOURCE_DIR}/tests/windows/installer_test.sh"
                     "${NORVESSA_WINE_PREFIX}" "${NORVESSA_INSTALLER}" ${gui_packaged})
    set_tests_properties(windows.installer_installs_runs_and_uninstalls PROPERTIES
        TIMEOUT 300 RESOURCE_LOCK wine_program_files)
endif()
