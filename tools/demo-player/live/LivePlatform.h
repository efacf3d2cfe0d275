#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

// What live code needs from the operating system, and nothing else: loading a part module,
// file stamps, a build running in the background, and guarded calls. One implementation a
// platform (LivePlatformPosix.cpp, LivePlatformWindows.cpp); the rest of live code is
// portable and goes through these calls only.
namespace live {

// Empty where live code runs; otherwise why it does not.
std::string unavailableReason();

// A loaded shared library.
struct Module;
// Loads a private copy of the library at path, so that a rebuilt file of the same name
// loads afresh; null with the loader's message when it cannot be loaded.
Module* loadModule(const std::string& path, std::string& error);
// The address of an exported name, or null.
void* moduleSymbol(Module* module, const char* name);
// Unloads it: nothing made from it may be used any more.
void unloadModule(Module* module);

// Tells a changed file: its size and modification time; empty when it is missing.
std::string fileStamp(const std::string& path);

// A program running in the background with its standard output and error captured.
class Command {
public:
    Command() = default;
    ~Command();   // stops it if it still runs
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    bool start(const std::vector<std::string>& argv, std::string& error);
    // Appends what it printed since the last call; true once it has ended.
    bool poll(std::string& output);
    bool running() const { return pid > 0; }
    // The exit status once ended; -1 when a signal ended it.
    int status() const { return exitStatus; }

private:
    long pid = -1;
    int outputFd = -1;
    int exitStatus = -1;
};

// A call that may crash or hang. Returns false with the reason ("SIGSEGV (Segmentation
// fault)", "more than 1 s of CPU") when a crash signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL,
// SIGABRT) arrives in it, or when it spends more than cpuLimitSeconds of CPU time; the
// call is then abandoned where it was. Protects against faults on the calling thread only:
// a wild write that lands in valid memory goes unnoticed.
bool guardedCall(const std::function<void()>& call, double cpuLimitSeconds, std::string& reason);

// Runs the steps one after another in a copy of this process (fork), which then ends:
// nothing they do reaches this process. True when every step returned; otherwise false
// with the step's name and what ended it (a crash signal, more than cpuLimitSeconds of CPU,
// or more than wallLimitSeconds of wall time in one step).
using TrialStep = std::pair<std::string, std::function<void()>>;
bool trialInChild(const std::vector<TrialStep>& steps, double cpuLimitSeconds, double wallLimitSeconds,
                  std::string& reason);

}  // namespace live
