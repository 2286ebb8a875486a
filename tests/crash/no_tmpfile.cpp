// Preloaded into crash_writer (LD_PRELOAD) to make opening an unnamed
// temporary file (O_TMPFILE) fail with EOPNOTSUPP, as it does on file systems
// without that feature. QSaveFile then writes to a named temporary file
// "<file>.XXXXXX" beside the target and renames it at the end - the path
// saves take there (and on other systems), which the kills should cover too.

#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

namespace {

bool unnamedTemporary(int flags)
{
    return (flags & O_TMPFILE) == O_TMPFILE;
}

mode_t modeArgument(int flags, va_list arguments)
{
    return (flags & O_CREAT) || unnamedTemporary(flags) ? mode_t(va_arg(arguments, int)) : 0;
}

template<typename Function>
Function next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

int open(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    if (unnamedTemporary(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    static const auto real = next<int (*)(const char *, int, ...)>("open");
    return real(path, flags, mode);
}

int open64(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    if (unnamedTemporary(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    static const auto real = next<int (*)(const char *, int, ...)>("open64");
    return real(path, flags, mode);
}

int openat(int folder, const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    if (unnamedTemporary(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    static const auto real = next<int (*)(int, const char *, int, ...)>("openat");
    return real(folder, path, flags, mode);
}

int openat64(int folder, const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    if (unnamedTemporary(flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    static const auto real = next<int (*)(int, const char *, int, ...)>("openat64");
    return real(folder, path, flags, mode);
}

} // extern "C"
