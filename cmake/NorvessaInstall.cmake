# Installs the programs with the desktop entry, the hicolor icons and the AppStream metadata in
# the standard places, and packages them as a .deb whose dependencies come from the binaries.
include(GNUInstallDirs)

set(NORVESSA_APP_ID "net.norvessa.Norvessa")
set(NORVESSA_ICON "${PROJECT_SOURCE_DIR}/resources/images/norvessa.ico")

foreach(program IN ITEMS norvessa norvessa-query)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/resources/desktop/${NORVESSA_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${PROJECT_SOURCE_DIR}/resources/desktop/${NORVESSA_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

if(EXISTS "${NORVESSA_ICON}" AND TARGET norvessa_icon_export)
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

# The Debian documentation: the copyright file, the changelog and the manual pages, the last
# three compressed as Debian asks (gzip -9n: best compression, no file name or time stamp).
# norvessa-query's page is written from its own --help by help2man, so it cannot drift from
# the program.
if(UNIX AND NOT APPLE)
    set(package_docs "${CMAKE_CURRENT_BINARY_DIR}/package-docs")
    find_program(NORVESSA_GZIP gzip REQUIRED)
    find_program(NORVESSA_HELP2MAN help2man)
    configure_file("${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in" "${package_docs}/changelog" @ONLY)
    configure_file("${PROJECT_SOURCE_DIR}/packaging/man/norvessa.1.in" "${package_docs}/norvessa.1" @ONLY)
    set(compressed_docs "${package_docs}/changelog.gz" "${package_docs}/norvessa.1.gz")
    add_custom_command(
        OUTPUT ${compressed_docs}
        COMMAND ${NORVESSA_GZIP} -9nkf "${package_docs}/changelog" "${package_docs}/norvessa.1"
        DEPENDS "${package_docs}/changelog" "${package_docs}/norvessa.1"
        COMMENT "Compressing the changelog and the manual page of norvessa"
        VERBATIM)
    if(TARGET norvessa-query)
        if(NOT NORVESSA_HELP2MAN)
            message(FATAL_ERROR "help2man is needed for the manual page of norvessa-query: run scripts/install-deps.sh")
        endif()
        add_custom_command(
            OUTPUT "${package_docs}/norvessa-query.1.gz"
            COMMAND ${NORVESSA_HELP2MAN} --no-info --section=1
                    "--name=look up NAND flash chips and the USB controllers that drive them"
                    "--output=${package_docs}/norvessa-query.1" $<TARGET_FILE:norvessa-query>
            COMMAND ${NORVESSA_GZIP} -9nf "${package_docs}/norvessa-query.1"
            DEPENDS norvessa-query
            COMMENT "Writing the manual page of norvessa-query from its --help"
            VERBATIM)
        list(APPEND compressed_docs "${package_docs}/norvessa-query.1.gz")
    endif()
    add_custom_target(norvessa_package_docs ALL DEPENDS ${compressed_docs})
    install(FILES "${PROJECT_SOURCE_DIR}/packaging/debian/copyright" "${package_docs}/changelog.gz"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/norvessa)
    list(FILTER compressed_docs INCLUDE REGEX "\\.1\\.gz$")
    install(FILES ${compressed_docs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The package built and checked by lintian: no errors and no warnings. A package from a
# sanitizer build is no release, so only other builds check it.
if(NORVESSA_BUILD_TESTS AND UNIX AND NOT APPLE AND NOT NORVESSA_SANITIZE)
    add_test(NAME Package.PassesLintian
             COMMAND bash "${PROJECT_SOURCE_DIR}/tests/package/check_package.sh" "${CMAKE_BINARY_DIR}")
    set_tests_properties(Package.PassesLintian PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
endif()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "norvessa")
set(CPACK_PACKAGE_VENDOR "velthorn42")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "NAND flash to USB controller lookup tool")
# One paragraph per list item, each line short enough for lintian (at most 80 characters).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Norvessa is a desktop lookup tool for people who rebuild USB flash drives."
    "Type the model of a NAND flash chip and it lists, for every matching record"
    "of the database it carries, which controller chip of each of ten USB"
    "controller makers can drive that flash, with twelve detail fields of the"
    "flash such as capacity, cell type, ID bytes and voltage."
    ""
    "The command-line companion norvessa-query looks flash chips up by the start"
    "of a model, by flash ID bytes and by controller chip, and prints a table,"
    "CSV or JSON."
    ""
    "The interface is in Simplified Chinese.")
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
