# Installs the programs with the desktop entry, the hicolor icons and the AppStream metadata in
# the standard places, and packages them as a .deb whose dependencies come from the binaries.
include(GNUInstallDirs)

set(NORVESSA_APP_ID "net.norvessa.Norvessa")
set(NORVESSA_ICON "${PROJECT_SOURCE_DIR}/resources/images/norvessa.ico")

# On Windows the program file carries the icon and a version block for Chinese (PRC).
if(WIN32 AND TARGET norvessa)
    enable_language(RC)
    target_sources(norvessa PRIVATE "${PROJECT_SOURCE_DIR}/main_window/norvessa.rc")
endif()

foreach(program IN ITEMS norvessa norvessa-query)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/resources/desktop/${NORVESSA_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${PROJECT_SOURCE_DIR}/resources/desktop/${NORVESSA_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

if(EXISTS "${NORVESSA_ICON}")
    set(icon_theme "${CMAKE_CURRENT_BINARY_DIR}/hicolor")
    add_custom_command(
        OUTPUT "${icon_theme}/stamp"
        COMMAND ${CMAKE_COMMAND} -E rm -rf "${icon_theme}"
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:norvessa_icon_export> "${NORVESSA_ICON}" "${icon_theme}" "${NORVESSA_APP_ID}"
        COMMAND ${CMAKE_COMMAND} -E touch "${icon_theme}/stamp"
        DEPENDS norvessa_icon_export "${NORVESSA_ICON}"
        COMMENT "Exporting the program icon to the hicolor theme layout"
        VERBATIM)
    add_custom_target(norvessa_hicolor_icons ALL DEPENDS "${icon_theme}/stamp")
    install(DIRECTORY "${icon_theme}/" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
            FILES_MATCHING PATTERN "*.png")
endif()

# The desktop entry and the AppStream metadata are checked by their own validators where the
# machine has them (packages desktop-file-utils and appstream).
if(NORVESSA_BUILD_TESTS)
    find_program(NORVESSA_DESKTOP_FILE_VALIDATE desktop-file-validate)
    find_program(NORVESSA_APPSTREAMCLI appstreamcli)
    if(NORVESSA_DESKTOP_FILE_VALIDATE)
        add_test(NAME DesktopEntry.IsValid
                 COMMAND ${NORVESSA_DESKTOP_FILE_VALIDATE}
                         "${PROJECT_SOURCE_DIR}/resources/desktop/${NORVESSA_APP_ID}.desktop")
        # The validator reports problems on stdout and still exits with 0 for some of them.
        set_tests_properties(DesktopEntry.IsValid PROPERTIES FAIL_REGULAR_EXPRESSION ": (error|warning): ")
    endif()
    if(NORVESSA_APPSTREAMCLI)
        add_test(NAME AppStreamMetadata.IsValid
                 COMMAND ${NORVESSA_APPSTREAMCLI} validate --no-net
                         "${PROJECT_SOURCE_DIR}/resources/desktop/${NORVESSA_APP_ID}.metainfo.xml")
    endif()
endif()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "norvessa")
set(CPACK_PACKAGE_VENDOR "velthorn42")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NAND flash to USB controller lookup tool")
set(CPACK_PACKAGE_DESCRIPTION
    "Norvessa looks up a NAND flash chip model in the database it carries and lists which USB controller chips can drive it.")
set(CPACK_PACKAGE_CONTACT "velthorn42 <velthorn42@example.com>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Song-style face whose metrics the fixed layout is drawn for, and Qt's own Chinese texts for
# the standard buttons and dialogs; the shared libraries are added by shlibdeps. Noto Serif CJK
# still serves where the Song face is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
include(CPack)
