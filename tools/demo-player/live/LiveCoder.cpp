#include "LiveCoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "CompilerOutput.h"
#include "LivePart.h"
#include "ModuleBuild.h"
#include "PartModule.h"
#include "assets/ImageFactory.h"
#include "parts/Show.h"

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr double kCallLimitSeconds = 1.0;    // CPU time one call of new code may take
constexpr double kTrialWallSeconds = 10.0;   // wall time, for a call that waits instead
constexpr auto kNoticeTime = std::chrono::seconds(4);

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The data files the rows of these classes list, each once.
std::vector<std::string> filesOf(const std::vector<std::string>& classes) {
    std::vector<std::string> files;
    for (const show::Part& part : show::kParts) {
        if (std::find(classes.begin(), classes.end(), part.className) == classes.end()) continue;
        for (const show::DataFile& file : part.files)
            if (std::find(files.begin(), files.end(), file.path) == files.end()) files.push_back(file.path);
    }
    return files;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

LiveSetup LiveSetup::fromBuild() {
    LiveSetup setup;
#ifdef LIVE_SOURCE_DIR
    setup.sourceDir = LIVE_SOURCE_DIR;
    setup.buildDir = LIVE_BUILD_DIR;
    setup.cmakeCommand = LIVE_CMAKE_COMMAND;
    setup.buildConfig = LIVE_BUILD_CONFIG;
    setup.generator = LIVE_GENERATOR;
    setup.moduleDir = LIVE_MODULE_DIR;
    setup.assetgen = LIVE_ASSETGEN;
#endif
    return setup;
}

LiveSetup LiveSetup::fromBuildFolder(const std::string& buildDir) {
    LiveSetup setup = fromBuild();
    const std::string root = fs::absolute(buildDir).lexically_normal().string();
    setup.sourceDir.clear();
    setup.buildDir = root;
    setup.moduleDir = root + "/parts";
    setup.assetgen = root + "/tools/assetgen/assetgen";
    std::istringstream cache(readText(root + "/CMakeCache.txt"));
    std::string line;
    while (std::getline(cache, line)) {
        const std::string key = line.substr(0, line.find(':'));
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        if (key == "CMAKE_HOME_DIRECTORY") setup.sourceDir = line.substr(equals + 1);
        if (key == "CMAKE_COMMAND") setup.cmakeCommand = line.substr(equals + 1);
        if (key == "CMAKE_GENERATOR") setup.generator = line.substr(equals + 1);
    }
    return setup;
}

std::string LiveSetup::modulePath(const std::string& className) const { return moduleDir + "/" + className + ".so"; }

std::string LiveSetup::moduleTarget(const std::string& className) const {
    const bool makefiles = generator.find("Makefiles") != std::string::npos;
    return "part_" + className + (makefiles ? "/fast" : "");
}

LiveCoder::LiveCoder(LiveHost& host, LiveSetup setup) : host(host), setup(std::move(setup)) {}

LiveCoder::~LiveCoder() = default;

bool LiveCoder::begin(std::string& error) {
    error = live::unavailableReason();
    if (error.empty() && setup.sourceDir.empty()) error = "this player was built without live code";
    if (error.empty() && !fs::is_directory(setup.sourceDir + "/src/parts"))
        error = "the sources it was built from are gone: " + setup.sourceDir;
    if (!error.empty()) return false;
    places.assign(static_cast<size_t>(host.partCount()), nullptr);
    for (int32_t i = 0; i < host.partCount(); i++) {
        const std::string name = host.partName(i);
        std::shared_ptr<PartModule> code = PartModule::builtIn(name);
        if (!code) continue;
        places[i] = new LivePart(code, code->make());
        delete host.replacePart(i, places[i]);
        lastGood[name] = code;
    }
    watched = liveWatchList(setup.sourceDir);
    for (const WatchedFile& file : watched) stamps[file.path] = live::fileStamp(setup.sourceDir + "/" + file.path);
    lastLook = SteadyClock::now();
    report("watching " + std::to_string(watched.size()) + " files under " + setup.sourceDir);
    return true;
}

void LiveCoder::poll() {
    rollBackFaults();
    const auto now = SteadyClock::now();
    if (now - lastLook >= std::chrono::duration<double>(setup.pollSeconds)) {
        lastLook = now;
        watch();
    }
    if (command.running()) {
        if (command.poll(commandOutput)) jobFinished(command.status() == 0);
    } else if (!jobs.empty()) {
        startNextJob();
    }
}

void LiveCoder::watch() {
    bool changed = false;
    for (const WatchedFile& file : watched) {
        const std::string stamp = live::fileStamp(setup.sourceDir + "/" + file.path);
        std::string& known = stamps[file.path];
        // A file in the middle of being replaced is missing for a moment: wait for it.
        if (stamp == known || stamp.empty()) continue;
        known = stamp;
        changed = true;
        fileChanged(file.path);
    }
    // Includes may have changed with it: the map follows the tree.
    if (changed) {
        watched = liveWatchList(setup.sourceDir);
        for (const WatchedFile& file : watched)
            if (!stamps.count(file.path)) stamps[file.path] = live::fileStamp(setup.sourceDir + "/" + file.path);
    }
}

void LiveCoder::fileChanged(const std::string& path) {
    const auto file = std::find_if(watched.begin(), watched.end(), [&](const WatchedFile& w) { return w.path == path; });
    if (file == watched.end()) return;
    std::error_code error;
    const fs::file_time_type saved = fs::last_write_time(setup.sourceDir + "/" + path, error);
    switch (file->kind) {
    case WatchedFile::PartCode:
        for (const std::string& name : file->classes) queue(Job::Module, {name}, saved);
        break;
    case WatchedFile::HostHeader:
        say(path + " is the player's own code too: rebuild and restart the player to see it", true);
        break;
    case WatchedFile::PictureMaker:
        queue(Job::Pictures, pictureClassesOf(readText(setup.sourceDir + "/" + path)), saved);
        break;
    }
}

void LiveCoder::queue(Job::Kind kind, const std::vector<std::string>& classes, fs::file_time_type saved) {
    // A change while its job runs needs the job again: only waiting jobs take it in.
    const size_t running = command.running() ? 1 : 0;
    for (size_t i = running; i < jobs.size(); i++)
        if (jobs[i].kind == kind && jobs[i].classes == classes && jobs[i].stage == 0) {
            jobs[i].saved = std::max(jobs[i].saved, saved);
            return;
        }
    jobs.push_back(Job{kind, classes, 0, SteadyClock::now(), saved});
}

bool LiveCoder::startCommand(const std::vector<std::string>& argv) {
    commandOutput.clear();
    std::string error;
    if (command.start(argv, error)) return true;
    say(error, true);
    return false;
}

void LiveCoder::startNextJob() {
    Job& job = jobs.front();
    std::vector<std::string> argv{setup.cmakeCommand, "--build", setup.buildDir};
    if (!setup.buildConfig.empty()) argv.insert(argv.end(), {"--config", setup.buildConfig});
    if (job.kind == Job::Module) {
        const std::string& name = job.classes.front();
        busyText = "building " + name;
        argv = moduleBuildCommand(setup.buildDir, setup.cmakeCommand, setup.buildConfig, setup.moduleTarget(name), name);
    } else if (job.stage == 0) {
        busyText = "building the picture maker for " + joined(job.classes);
        argv.insert(argv.end(), {"--target", "assetgen"});
    } else {
        busyText = "making the pictures of " + joined(job.classes);
        const std::string scratch = setup.buildDir + "/live/pictures-" + std::to_string(++scratchSerial);
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
        argv = {setup.assetgen, scratch};
        for (const std::string& name : job.classes) argv.insert(argv.end(), {"--part", name});
    }
    report(busyText);
    if (!startCommand(argv)) {
        jobs.pop_front();
        busyText.clear();
    }
}

void LiveCoder::jobFinished(bool succeeded) {
    Job job = jobs.front();
    jobs.pop_front();
    busyText.clear();
    if (!commandOutput.empty()) std::fputs(commandOutput.c_str(), stderr);
    const std::string what = job.kind == Job::Module ? job.classes.front() : "the pictures of " + joined(job.classes);
    if (!succeeded) {
        const std::string error = firstCompilerError(commandOutput, setup.sourceDir);
        say(what + ": " + (error.empty() ? "the build failed" : error) +
                (job.kind == Job::Module ? "; the running code stays" : "; the old pictures stay"),
            true);
        return;
    }
    if (job.kind == Job::Module) {
        const auto built = SteadyClock::now();
        if (swapInModule(job.classes.front(), setup.modulePath(job.classes.front()))) {
            // The first frame of the new code is drawn in this same pass of the loop.
            const double sinceSaved =
                std::chrono::duration<double>(fs::file_time_type::clock::now() - job.saved).count();
            char took[96];
            std::snprintf(took, sizeof took, ": saved to swapped in %.2f s (the build %.2f s)", sinceSaved,
                          std::chrono::duration<double>(built - job.queued).count());
            report(job.classes.front() + took);
        }
    } else if (job.stage == 0) {
        job.stage = 1;
        jobs.push_front(job);
    } else {
        installPictures(job.classes, setup.buildDir + "/live/pictures-" + std::to_string(scratchSerial));
    }
}

std::vector<int32_t> LiveCoder::placesOf(const std::string& className) const {
    std::vector<int32_t> found;
    for (size_t i = 0; i < places.size(); i++)
        if (places[i] && places[i]->code()->className() == className) found.push_back(static_cast<int32_t>(i));
    return found;
}

std::string LiveCoder::partName(int32_t index) const {
    const bool live = index >= 0 && static_cast<size_t>(index) < places.size() && places[index];
    return live ? places[index]->code()->className() : host.partName(index);
}

// In a child: every place's part made and initialised, then drawn where the show is now
// (when it is inside), and at the start, middle and end of the first place's window.
bool LiveCoder::trial(const std::string& className, const std::shared_ptr<PartModule>& code, std::string& reason) {
    std::vector<LivePart*> tried;
    for (int32_t index : placesOf(className)) tried.push_back(places[index]);
    if (tried.empty()) return true;
    auto made = std::make_shared<std::vector<DemoPart*>>();
    std::vector<live::TrialStep> steps;
    Bitmap* frame = host.frame();
    NewRenderDriver* driver = host.renderDriver();
    for (LivePart* place : tried)
        steps.push_back({"init", [=] {
                             DemoPart* part = code->make();
                             place->lendWindow(*part);
                             part->init(frame, driver);
                             made->push_back(part);
                         }});
    auto drawAt = [&](size_t index, float time) {
        char name[40];
        std::snprintf(name, sizeof name, "draw at %.2f s", static_cast<double>(time));
        steps.push_back({name, [=] { (*made)[index]->draw(frame, driver, time); }});
    };
    const float now = static_cast<float>(host.showSeconds());
    for (size_t i = 0; i < tried.size(); i++)
        if (now >= tried[i]->start && now <= tried[i]->end) drawAt(i, now);
    const float start = tried[0]->start, end = tried[0]->end;
    if (end > start)
        for (float time : {start + 0.01f, (start + end) / 2, end - 0.01f}) drawAt(0, time);
    return live::trialInChild(steps, kCallLimitSeconds, kTrialWallSeconds, reason);
}

// Every place of the class gets a new part of that code, which the session inits there.
// A part whose init faults is left in place, faulted, for rollBackFaults.
bool LiveCoder::remake(const std::string& className, const std::shared_ptr<PartModule>& code, std::string& reason) {
    bool clean = true;
    for (int32_t index : placesOf(className)) {
        LivePart* fresh = new LivePart(code, code->make());
        DemoPart* old = host.replacePart(index, fresh);
        places[index] = fresh;
        delete old;
        if (fresh->faulted() && clean) {
            clean = false;
            reason = fresh->fault();
        }
    }
    return clean;
}

bool LiveCoder::swapInModule(const std::string& className, const std::string& path) {
    std::string error;
    std::shared_ptr<PartModule> code = PartModule::load(path, className, error);
    if (!code) {
        say(className + ": " + error + "; the running code stays", true);
        return false;
    }
    if (!trial(className, code, error)) {
        say(className + " refused: " + error + "; the running code stays", true);
        return false;
    }
    // The code that ran until now is what a fault of the new code falls back to.
    const std::vector<int32_t> at = placesOf(className);
    if (!at.empty()) lastGood[className] = places[at.front()]->code();
    if (!remake(className, code, error)) {
        say(className + ": " + error, true);
        return false;
    }
    swaps++;
    char text[64];
    std::snprintf(text, sizeof text, ": new code (module %d) at %.2f s", code->serial(), host.showSeconds());
    say(className + text, false);
    return true;
}

bool LiveCoder::installPictures(const std::vector<std::string>& classes, const std::string& scratchDir) {
    const std::vector<std::string> files = filesOf(classes);
    for (const std::string& file : files)
        if (!fs::is_regular_file(scratchDir + "/" + file)) {
            say("the picture maker wrote no " + file + "; the old pictures stay", true);
            return false;
        }
    std::error_code error;
    VEX_ImageFactory factory;
    for (const std::string& file : files) {
        const fs::path target = fs::path(setup.stageDir) / file;
        // A new file put in the old one's place: never written through a link, and never
        // read half-written.
        const fs::path fresh = target.string() + ".live-new";
        fs::create_directories(target.parent_path(), error);
        if (!error) fs::copy_file(scratchDir + "/" + file, fresh, fs::copy_options::overwrite_existing, error);
        if (!error) fs::rename(fresh, target, error);
        if (error) {
            say("cannot write " + target.string() + ": " + error.message(), true);
            return false;
        }
        factory.refreshShared(file.c_str());
    }
    fs::remove_all(scratchDir, error);
    std::string reason;
    for (const std::string& name : classes) {
        const std::vector<int32_t> at = placesOf(name);
        if (!at.empty() && !remake(name, places[at.front()]->code(), reason)) {
            say(name + " with its new pictures: " + reason, true);
            return false;
        }
    }
    swaps++;
    say("new pictures for " + joined(classes), false);
    return true;
}

void LiveCoder::rollBackFaults() {
    for (LivePart* place : places) {
        if (!place || !place->faulted()) continue;
        const std::string name = place->code()->className();
        std::shared_ptr<PartModule> good = lastGood[name];
        if (!good || good == place->code()) good = PartModule::builtIn(name);
        const std::string fault = place->fault();
        std::string reason;
        // Every place of the class goes back, this one among them.
        if (remake(name, good, reason)) {
            lastGood[name] = good;
            rollbacks++;
            say(name + ": " + fault + "; back to the last good code", true);
        } else {
            say(name + ": " + fault + "; the last good code failed too: " + reason, true);
            return;
        }
    }
}

void LiveCoder::say(const std::string& text, bool lasting) {
    message = text;
    messageUntil = lasting ? SteadyClock::time_point::max() : SteadyClock::now() + kNoticeTime;
    report(text);
}

void LiveCoder::report(const std::string& text) { std::fprintf(stderr, "demo-player: live: %s\n", text.c_str()); }

std::string LiveCoder::status() const {
    if (!busyText.empty()) return busyText + "...";
    if (!message.empty() && SteadyClock::now() < messageUntil) return message;
    return "";
}
