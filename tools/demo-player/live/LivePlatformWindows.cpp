// Live code is not available on Windows: the player runs there without --live. Every call
// fails and says so; nothing here is ever reached past unavailableReason.
#include "LivePlatform.h"

namespace live {

namespace {
const char* const kUnavailable = "live code is not available on Windows";
}

std::string unavailableReason() { return kUnavailable; }

struct Module {};

Module* loadModule(const std::string&, std::string& error) {
    error = kUnavailable;
    return nullptr;
}

void* moduleSymbol(Module*, const char*) { return nullptr; }

void unloadModule(Module*) {}

std::string fileStamp(const std::string&) { return ""; }

Command::~Command() = default;

bool Command::start(const std::vector<std::string>&, std::string& error) {
    error = kUnavailable;
    return false;
}

bool Command::poll(std::string&) { return true; }

bool guardedCall(const std::function<void()>&, double, std::string& reason) {
    reason = kUnavailable;
    return false;
}

bool trialInChild(const std::vector<TrialStep>&, double, double, std::string& reason) {
    reason = kUnavailable;
    return false;
}

}  // namespace live
