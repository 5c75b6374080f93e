#include "platform/core/console.h"

#include <io.h>
#include <windows.h>

namespace quillon {

// A console answers GetConsoleMode; a pipe, a file or the terminal of an MSYS shell
// (itself a pipe) does not, and gets whole lines.
bool isTerminal(FILE* out) {
    const int fd = _fileno(out);
    if (fd < 0 || !_isatty(fd))
        return false;
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), &mode) != 0;
}

namespace {
bool isGiven(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}
} // namespace

void attachParentConsole() {
    const bool out = isGiven(STD_OUTPUT_HANDLE);
    const bool err = isGiven(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!out)
        std::freopen("CONOUT$", "w", stdout);
    if (!err)
        std::freopen("CONOUT$", "w", stderr);
}

} // namespace quillon
