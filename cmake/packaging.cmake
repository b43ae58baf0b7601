# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Installing and packaging, in two layouts.
#
# The standard layout (component "desktop"): what `cmake --install build --prefix P` installs under
# any P, and the .deb under /usr. bin/zorvik; the shipped files in share/zorvik/mfiles, which the
# program finds as ../share/zorvik/mfiles from its own folder and copies into each user's data
# folder; a desktop entry, the icon in the hicolor theme, AppStream metadata, the manual page, and
# the copyright and changelog in share/doc/zorvik. Nothing in the program depends on the prefix.
#
# The portable folder (component "portable", opt-in: `cmake --install build --component portable
# --prefix DIR`, and the .tar.gz): the program with mfiles/ beside it, where it keeps its settings
# and last.txt, as in the build tree's build/zorvik/ that `make run` starts.

include(GNUInstallDirs)
# Folders are 0755 whatever the umask of whoever installs or packages (lintian: non-standard-dir-perm):
# install_dirs.cmake makes them first.
set(zorvik_desktop_dirs ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_DATADIR}/zorvik ${CMAKE_INSTALL_DATADIR}/applications
    ${CMAKE_INSTALL_DATADIR}/metainfo ${CMAKE_INSTALL_MANDIR}/man1 ${CMAKE_INSTALL_DOCDIR})
foreach(size IN ITEMS 16 32 48 64 128 256)
    list(APPEND zorvik_desktop_dirs ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(CODE "set(zorvik_dirs \"${zorvik_desktop_dirs}\")
              include(\"${CMAKE_CURRENT_LIST_DIR}/install_dirs.cmake\")" COMPONENT desktop)
install(CODE "set(zorvik_dirs .)
              include(\"${CMAKE_CURRENT_LIST_DIR}/install_dirs.cmake\")" COMPONENT portable EXCLUDE_FROM_ALL)
set(ZORVIK_APP_ID example.quelbrin.Zorvik)
set(CPACK_PACKAGE_CONTACT "Quelbrin <zorvik@quelbrin.example>")

# The manual page, and CHANGELOG.md in the Debian changelog format, compressed as Debian wants them:
# at most, and with no file name or time stamp in the gzip header, so that a package of the same
# sources is the same bytes.
# The manual page and the metainfo carry the version and the date of the newest release.
set(ZORVIK_DOC_DIR ${CMAKE_BINARY_DIR}/doc)
configure_file(${PROJECT_SOURCE_DIR}/docs/zorvik.1 ${ZORVIK_DOC_DIR}/man/zorvik.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/desktop/${ZORVIK_APP_ID}.metainfo.xml
               ${ZORVIK_DOC_DIR}/${ZORVIK_APP_ID}.metainfo.xml @ONLY)
add_custom_command(OUTPUT ${ZORVIK_DOC_DIR}/zorvik.1.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${ZORVIK_DOC_DIR}/man/zorvik.1 ${ZORVIK_DOC_DIR}/zorvik.1
    COMMAND gzip -9nf ${ZORVIK_DOC_DIR}/zorvik.1
    DEPENDS ${ZORVIK_DOC_DIR}/man/zorvik.1
    VERBATIM)
add_custom_command(OUTPUT ${ZORVIK_DOC_DIR}/changelog.gz
    COMMAND ${PROJECT_SOURCE_DIR}/tools/debian-changelog.sh ${PROJECT_SOURCE_DIR}/CHANGELOG.md
            ${CPACK_PACKAGE_CONTACT} ${ZORVIK_DOC_DIR}/changelog
    COMMAND gzip -9nf ${ZORVIK_DOC_DIR}/changelog
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/tools/debian-changelog.sh
    VERBATIM)
add_custom_target(zorvik_docs ALL DEPENDS ${ZORVIK_DOC_DIR}/zorvik.1.gz ${ZORVIK_DOC_DIR}/changelog.gz)

install(TARGETS zorvik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/mfiles DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvik COMPONENT desktop)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${ZORVIK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
install(FILES ${ZORVIK_DOC_DIR}/${ZORVIK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)
foreach(size IN ITEMS 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zorvik-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${ZORVIK_APP_ID}.png
            COMPONENT desktop)
endforeach()
install(FILES ${ZORVIK_DOC_DIR}/zorvik.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright ${ZORVIK_DOC_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT desktop)

install(TARGETS zorvik RUNTIME DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/mfiles DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zorvik-48.png DESTINATION . RENAME zorvik.png
        COMPONENT portable EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md DESTINATION .
        COMPONENT portable EXCLUDE_FROM_ALL)

# `cpack` in the build folder makes both packages; cpack_generator.cmake gives each its layout.
set(CPACK_GENERATOR TGZ DEB)
set(CPACK_PACKAGE_NAME zorvik)
set(CPACK_PACKAGE_VENDOR Quelbrin)
set(CPACK_PACKAGE_HOMEPAGE_URL https://quelbrin.example)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trainer for visual memory (Russian interface)")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_generator.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/cpack_dirs.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/cpack_modes.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Arial and Times New Roman with Cyrillic, for the fixed layout. Qt's own Russian texts (13 MB) are
# welcome but not needed: without them the context menus are in English.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# When SOURCE_DATE_EPOCH is not set, the packages' files are dated by the newest release in
# CHANGELOG.md, so that the same sources give the same packages, byte for byte, from a git clone or
# an unpacked tarball, at any time (cpack_generator.cmake passes it on).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md zorvik_releases REGEX "^## [^ ]+ \\([0-9]+-[0-9]+-[0-9]+\\)")
set(zorvik_newest "")
foreach(release IN LISTS zorvik_releases)
    string(REGEX MATCH "[0-9]+-[0-9]+-[0-9]+" day "${release}")
    if(day STRGREATER zorvik_newest)
        set(zorvik_newest ${day})
    endif()
endforeach()
execute_process(COMMAND date -u -d "${zorvik_newest} 00:00:00" +%s
                OUTPUT_VARIABLE CPACK_ZORVIK_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT CPACK_ZORVIK_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(WARNING "No release date in CHANGELOG.md: without SOURCE_DATE_EPOCH, packages get the build's time")
    unset(CPACK_ZORVIK_SOURCE_DATE_EPOCH)
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zorvik shows a grid of words picked at random from a word base for a few
seconds, hides them, and lets you type them back in any order while a
countdown runs. A results page rates the training in per cent.
Each user's settings and word bases are kept in ~/.local/share/zorvik.")

include(CPack)
