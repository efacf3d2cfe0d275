#pragma once
#include <string>

// The start of a shell command that runs a program the build made: its quoted path, behind
// the emulator in a cross build (CMAKE_CROSSCOMPILING_EMULATOR: these machines have no
// binfmt handler to run foreign binaries by themselves).
inline std::string programCommand(const std::string& program) {
    const std::string emulator = TEST_EMULATOR;
    const std::string quoted = "'" + program + "'";
    return emulator.empty() ? quoted : emulator + " " + quoted;
}
