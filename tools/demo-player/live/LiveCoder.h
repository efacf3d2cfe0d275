#pragma once
#include <chrono>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "LivePlatform.h"
#include "SourceMap.h"

class Bitmap;
class DemoPart;
class LivePart;
class NewRenderDriver;
class PartModule;

// Where live code finds the sources, the build and the tools; fromBuild gives the folders
// this player was built in.
struct LiveSetup {
    std::string sourceDir;
    std::string buildDir;
    std::string cmakeCommand = "cmake";
    std::string buildConfig;    // for multi-config generators; empty otherwise
    std::string generator;      // CMake's generator of the build folder
    std::string moduleDir;      // holds ClassName.so, one per part class
    std::string assetgen;       // the data generator's program
    std::string stageDir = ".";
    double pollSeconds = 0.1;   // how often the sources are looked at

    static LiveSetup fromBuild();
    // Another build folder of the project, and the sources it was configured from (read
    // from its CMakeCache.txt); sourceDir stays empty when that cannot be read.
    static LiveSetup fromBuildFolder(const std::string& buildDir);
    std::string modulePath(const std::string& className) const;
    // The build target that makes one module: with Makefiles its "/fast" form, which goes
    // straight to it without checking the rest of the build first.
    std::string moduleTarget(const std::string& className) const;
};

// What live code needs from the player's show session: its parts, a part put in another's
// place, what parts draw with, and the time.
class LiveHost {
public:
    virtual ~LiveHost() = default;
    virtual int32_t partCount() const = 0;
    virtual std::string partName(int32_t index) const = 0;
    // Puts a part in place `index`: inited there, given the place's window, and the show
    // goes on from the current time as after a restart, the music where it is. Returns the
    // old part, which the caller frees.
    virtual DemoPart* replacePart(int32_t index, DemoPart* part) = 0;
    virtual Bitmap* frame() = 0;
    virtual NewRenderDriver* renderDriver() = 0;
    virtual double showSeconds() const = 0;
};

// Live code for a running player. Every part of the show is put behind a LivePart; saved
// sources are rebuilt in the background, one job at a time, tried in a child process and
// swapped in; saved picture makers remake their parts' pictures. poll does it all, from
// the player's loop, before each frame.
class LiveCoder {
public:
    LiveCoder(LiveHost& host, LiveSetup setup);
    ~LiveCoder();

    // Puts every part behind a LivePart, made anew by the player's own code, and takes the
    // sources' stamps. False, with why, where live code does not run.
    bool begin(std::string& error);
    // Looks at the sources (every pollSeconds), moves the running job on, and brings
    // back working code where a part faulted.
    void poll();
    // What live code is doing or last had to say; empty when nothing.
    std::string status() const;
    // The class of the code in place `index` ("HusetPart").
    std::string partName(int32_t index) const;
    // The live part in place `index`; null for none.
    const LivePart* place(int32_t index) const {
        return index >= 0 && static_cast<size_t>(index) < places.size() ? places[index] : nullptr;
    }

    // Counts code and pictures swapped in, and faults rolled back (for tests and scripts).
    int swapCount() const { return swaps; }
    int rollbackCount() const { return rollbacks; }
    bool idle() const { return jobs.empty() && !command.running(); }

    // The steps of the live cycle, which poll calls; public for tests.
    void fileChanged(const std::string& path);
    // Loads a module, tries it in a child and swaps it in; false (saying why) otherwise.
    bool swapInModule(const std::string& className, const std::string& path);
    // Copies the remade pictures into the stage and makes the classes' parts afresh.
    bool installPictures(const std::vector<std::string>& classes, const std::string& scratchDir);

private:
    struct Job {
        enum Kind { Module, Pictures } kind;
        std::vector<std::string> classes;
        int stage = 0;
        std::chrono::steady_clock::time_point queued;
        std::filesystem::file_time_type saved;   // the newest save that asked for it
    };

    void watch();
    void queue(Job::Kind kind, const std::vector<std::string>& classes, std::filesystem::file_time_type saved);
    void startNextJob();
    void jobFinished(bool succeeded);
    bool startCommand(const std::vector<std::string>& argv);
    void rollBackFaults();
    std::vector<int32_t> placesOf(const std::string& className) const;
    bool trial(const std::string& className, const std::shared_ptr<PartModule>& code, std::string& reason);
    bool remake(const std::string& className, const std::shared_ptr<PartModule>& code, std::string& reason);
    void say(const std::string& text, bool lasting);
    void report(const std::string& text);

    LiveHost& host;
    LiveSetup setup;
    std::vector<LivePart*> places;   // by part index; null where the show has no such class
    std::vector<WatchedFile> watched;
    std::map<std::string, std::string> stamps;
    std::map<std::string, std::shared_ptr<PartModule>> lastGood;
    std::deque<Job> jobs;
    live::Command command;
    std::string commandOutput;
    std::chrono::steady_clock::time_point lastLook;
    std::string busyText;
    std::string message;
    std::chrono::steady_clock::time_point messageUntil;
    int swaps = 0;
    int rollbacks = 0;
    int scratchSerial = 0;
};
