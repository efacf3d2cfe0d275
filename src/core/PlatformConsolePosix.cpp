#include "core/PlatformConsole.h"

#include <unistd.h>

namespace platform {

void setUpStandardStreams() { std::setvbuf(stdout, nullptr, _IOLBF, 0); }

bool readConsoleByte(char& byte) { return ::isatty(STDIN_FILENO) && ::read(STDIN_FILENO, &byte, 1) == 1; }

std::FILE* openStandardOutputCopy() {
    std::fflush(stdout);
    const int fd = ::dup(STDOUT_FILENO);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) ::close(fd);
    return file;
}

bool sendStandardOutputToError() {
    std::fflush(stdout);
    return ::dup2(STDERR_FILENO, STDOUT_FILENO) >= 0;
}

}  // namespace platform
