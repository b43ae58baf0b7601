# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Read by cpack once for each package it makes: the .tar.gz is the portable folder inside a folder
# of its own, the .deb the desktop install under /usr.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_COMPONENTS_ALL desktop)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
else()
    set(CPACK_COMPONENTS_ALL portable)
    set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()

# The files' dates: SOURCE_DATE_EPOCH when it is set, else the newest release's in CHANGELOG.md.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND DEFINED CPACK_ZORVIK_SOURCE_DATE_EPOCH)
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_ZORVIK_SOURCE_DATE_EPOCH})
endif()
