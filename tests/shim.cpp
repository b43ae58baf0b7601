// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// Preloaded into tst_core (LD_PRELOAD) to make the file system misbehave at the very moment the
// program acts, which no real one does on cue. Each fault is switched on by a variable:
//   ZORVIK_SHIM_FIFO=PATH  an open of PATH first replaces the regular file there by a named pipe,
//                          as someone swapping it after the program looked at it would
//   ZORVIK_SHIM_NO_LINKS   link() fails with EPERM, as on vfat and exFAT
//   ZORVIK_SHIM_NO_NOREPLACE  renameat2() fails with EINVAL, as on a kernel or file system without it
#undef _FORTIFY_SOURCE // its inline open() would clash with the one defined here

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
template <typename Function> Function next(Function, const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void swapForAPipe(const char *path)
{
    const char *target = std::getenv("ZORVIK_SHIM_FIFO");
    struct stat info {
    };
    if (target && std::strcmp(path, target) == 0 && lstat(path, &info) == 0 && S_ISREG(info.st_mode) &&
        unlink(path) == 0)
        mkfifo(path, 0644);
}

} // namespace

// Our code opens with open(), Qt's with open64() (large-file build).
#define ZORVIK_OPEN(name)                                                                                    \
    extern "C" int name(const char *path, int flags, ...)                                                    \
    {                                                                                                        \
        va_list arguments;                                                                                   \
        va_start(arguments, flags);                                                                          \
        const int mode = flags & (O_CREAT | O_TMPFILE) ? va_arg(arguments, int) : 0;                         \
        va_end(arguments);                                                                                   \
        swapForAPipe(path);                                                                                  \
        return next(&name, #name)(path, flags, mode);                                                        \
    }
ZORVIK_OPEN(open)
ZORVIK_OPEN(open64)
extern "C" {
int link(const char *from, const char *to) noexcept
{
    errno = EPERM;
    return std::getenv("ZORVIK_SHIM_NO_LINKS") ? -1 : next(&link, "link")(from, to);
}
int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags) noexcept
{
    errno = EINVAL;
    return std::getenv("ZORVIK_SHIM_NO_NOREPLACE")
               ? -1
               : next(&renameat2, "renameat2")(fromDir, from, toDir, to, flags);
}
int zorvik_shim = 1; // tells the tests that the shim is loaded
}
