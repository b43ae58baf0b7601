# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Copies the shipped word bases and pictures into a program directory. options.ini is copied only
# when missing, so that settings applied in a staged program survive the next build.
file(GLOB shipped RELATIVE "${SOURCE}" "${SOURCE}/*")
file(MAKE_DIRECTORY "${TARGET}")
foreach(name IN LISTS shipped)
    if(name STREQUAL "options.ini" AND EXISTS "${TARGET}/${name}")
        continue()
    endif()
    file(COPY_FILE "${SOURCE}/${name}" "${TARGET}/${name}" ONLY_IF_DIFFERENT)
endforeach()
