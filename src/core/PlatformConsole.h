#pragma once
#include <cstdio>

// Standard input and output as the programs use them, with one implementation for POSIX
// systems and one for Windows (the build picks one).
namespace platform {

// Readies standard output and error for the programs' lines: each line leaves as it is
// printed and the bytes are exactly those written (no carriage returns added on Windows).
// On Windows a program without a console window of its own (demo.exe) writes to the console
// it was started from, if any, unless its output is already redirected.
void setUpStandardStreams();
// Reads one byte from standard input if it is a terminal; false when it is not, or at its end.
bool readConsoleByte(char& byte);
// A new binary stream onto what standard output is now, which stays there when standard
// output is pointed elsewhere; null on failure.
std::FILE* openStandardOutputCopy();
// Points standard output at standard error; false on failure.
bool sendStandardOutputToError();

}  // namespace platform
