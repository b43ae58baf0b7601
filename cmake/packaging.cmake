# Installing and packaging, in two layouts.
#
# The portable folder (component "portable"; `cmake --install build --prefix DIR` and the .tar.gz):
# the program with mfiles/ beside it, where it keeps its settings and last.txt.
#
# The desktop install (component "desktop"; the .deb, or `cmake --install build --component desktop
# --prefix /usr`): bin/zorvik, the shipped files in share/zorvik/mfiles, which the program copies
# into each user's data folder, a desktop entry, the icon in the hicolor theme and AppStream
# metadata. Nothing in the program depends on the prefix.

set(ZORVIK_APP_ID example.quelbrin.Zorvik)

install(TARGETS zorvik RUNTIME DESTINATION . COMPONENT portable)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/mfiles DESTINATION . COMPONENT portable)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zorvik-48.png DESTINATION . RENAME zorvik.png COMPONENT portable)

install(TARGETS zorvik RUNTIME DESTINATION bin COMPONENT desktop EXCLUDE_FROM_ALL)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/mfiles DESTINATION share/zorvik COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${ZORVIK_APP_ID}.desktop
        DESTINATION share/applications COMPONENT desktop EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${ZORVIK_APP_ID}.metainfo.xml
        DESTINATION share/metainfo COMPONENT desktop EXCLUDE_FROM_ALL)
foreach(size IN ITEMS 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zorvik-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${ZORVIK_APP_ID}.png
            COMPONENT desktop EXCLUDE_FROM_ALL)
endforeach()

# `cpack` in the build folder makes both packages; cpack_generator.cmake gives each its layout.
set(CPACK_GENERATOR TGZ DEB)
set(CPACK_PACKAGE_NAME zorvik)
set(CPACK_PACKAGE_VENDOR Quelbrin)
set(CPACK_PACKAGE_CONTACT "Quelbrin <zorvik@quelbrin.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://quelbrin.example)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trainer for visual memory (Russian interface)")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_generator.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Arial and Times New Roman with Cyrillic, for the fixed layout; Qt's own Russian texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zorvik shows a grid of words picked at random from a word base for a few
seconds, hides them, and lets you type them back in any order while a
countdown runs. A results page rates the training in per cent.
Each user's settings and word bases are kept in ~/.local/share/zorvik.")

include(CPack)
