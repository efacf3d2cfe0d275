#include "core/PlatformConsole.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace platform {

namespace {

// A handle that goes somewhere: a console, a file or a pipe.
bool handleIsOpen(DWORD which) {
    const HANDLE handle = ::GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void setUpStandardStreams() {
    // A window program gets no console; started from one, it may write to its parent's.
    // Redirected streams are inherited as they are and keep going where they went.
    const bool outputOpen = handleIsOpen(STD_OUTPUT_HANDLE);
    const bool errorOpen = handleIsOpen(STD_ERROR_HANDLE);
    if ((!outputOpen || !errorOpen) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!outputOpen) (void)!std::freopen("CONOUT$", "w", stdout);
        if (!errorOpen) (void)!std::freopen("CONOUT$", "w", stderr);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The C runtime has no line buffering: unbuffered lets each line out as it is printed.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
}

bool readConsoleByte(char& byte) {
    const int in = _fileno(stdin);
    return _isatty(in) && _read(in, &byte, 1) == 1;
}

std::FILE* openStandardOutputCopy() {
    std::fflush(stdout);
    const int fd = _dup(_fileno(stdout));
    if (fd < 0) return nullptr;
    _setmode(fd, _O_BINARY);
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
}

bool sendStandardOutputToError() {
    std::fflush(stdout);
    return _dup2(_fileno(stderr), _fileno(stdout)) == 0;
}

}  // namespace platform
