# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by cpack after it made the packages. The members of a .deb (an ar archive: debian-binary,
# control.tar.gz, data.tar.gz) carry the modes that cpack's umask gave their files, 0600 under
# umask 077; each member's mode becomes 0644, so that the package is the same bytes whatever the
# umask. An ar member's header is 60 bytes: its mode is 8 characters at 40, its size 10 at 48.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    file(SIZE "${package}" size)
    set(offset 8) # after "!<arch>\n"
    while(offset LESS size)
        file(READ "${package}" header OFFSET ${offset} LIMIT 60)
        string(SUBSTRING "${header}" 48 10 length)
        string(STRIP "${length}" length)
        math(EXPR mode "${offset} + 40")
        execute_process(COMMAND sh -c "printf '100644  ' | dd of=\"$0\" bs=1 seek=${mode} conv=notrunc status=none"
                                "${package}" RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "Could not set the modes in ${package}")
        endif()
        math(EXPR offset "${offset} + 60 + ${length} + ${length} % 2")
    endwhile()
endforeach()
