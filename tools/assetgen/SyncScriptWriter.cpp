#include "SyncScriptWriter.h"

#include <cmath>
#include <cstdio>

#include "ShowTimeline.h"

std::string syncScriptText() {
    std::string text = "QRM SYNCSCRIPT\n";
    text += std::to_string(show::kPowSeconds.size()) + "\n";
    for (double seconds : show::kPowSeconds) {
        long bytes = std::lround(seconds * show::kBytesPerSecond);
        text += "POWPOW\n" + std::to_string(bytes) + "\n\n";
    }
    text += std::to_string(show::kChanges.size()) + "\n";
    for (const auto& change : show::kChanges) {
        char value[32];
        std::snprintf(value, sizeof value, "%.1f", change.seconds);
        text += std::string(change.label) + "\n" + value + "\n\n";
    }
    return text;
}
