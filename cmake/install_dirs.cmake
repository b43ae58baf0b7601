# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Run at the start of an install, before any file is copied: makes each folder in zorvik_dirs
# (relative to the prefix, or absolute) that is not there yet, and gives it mode 0755. CMake asks
# mkdir() for 0755 too, but the umask masks that: under umask 077 every folder would be 0700.
# Folders that are there already are left as they are.
foreach(dir IN LISTS zorvik_dirs)
    if(NOT IS_ABSOLUTE "${dir}")
        set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
    endif()
    get_filename_component(dir "$ENV{DESTDIR}${dir}" ABSOLUTE)
    string(REPLACE "/" ";" parts "${dir}")
    set(path "")
    foreach(part IN LISTS parts)
        if(part STREQUAL "")
            continue()
        endif()
        string(APPEND path "/${part}")
        if(NOT IS_DIRECTORY "${path}")
            file(MAKE_DIRECTORY "${path}")
            file(CHMOD "${path}" DIRECTORY_PERMISSIONS
                 OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        endif()
    endforeach()
endforeach()
