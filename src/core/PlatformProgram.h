#pragma once

// How a program is started, with one implementation for POSIX systems and one for Windows
// (the build picks one).
namespace platform {

// Makes the folder that holds `dataFolder` the working directory. On POSIX systems the
// launcher has done that already: nothing to do, true. On Windows, where the program is
// started directly (a double click), the working directory when it holds the data folder,
// else the program's own folder; when neither does, says so ("NAME: the data folder ... is
// missing" on standard error, or in a message box when there is no console) and returns false.
bool enterDataFolder(const char* programName, const char* dataFolder);

}  // namespace platform
