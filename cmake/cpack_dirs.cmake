# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by cpack on its staging folder before it packs it. Every folder there is the package's own and
# gets mode 0755 whatever the umask: cpack makes the first ones (./usr) itself, with the umask's mode.
file(GLOB_RECURSE dirs LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(dir IN LISTS dirs)
    if(IS_DIRECTORY "${dir}" AND NOT IS_SYMLINK "${dir}")
        file(CHMOD "${dir}" DIRECTORY_PERMISSIONS
             OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endif()
endforeach()
