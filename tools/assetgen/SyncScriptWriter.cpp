#include "SyncScriptWriter.h"

#include <cmath>
#include <cstdio>

#include "ShowTimeline.h"
#include "core/Units.h"

std::string syncScriptText() {
    std::string text = "QRM SYNCSCRIPT\n";
    std::string events;
    size_t eventCount = 0;
    for (const show::Part& part : show::kParts)
        for (double seconds : part.flashes) {
            long bytes = std::lround(seconds * units::kMusicBytesPerSecond);
            events += "POWPOW\n" + std::to_string(bytes) + "\n\n";
            ++eventCount;
        }
    text += std::to_string(eventCount) + "\n" + events;
    // The first part begins at 0 without a change.
    text += std::to_string(show::kPartCount - 1) + "\n";
    for (int i = 1; i < show::kPartCount; ++i) {
        char value[32];
        std::snprintf(value, sizeof value, "%.1f", show::kParts[i].seconds);
        text += std::string(show::kParts[i].label) + "\n" + value + "\n\n";
    }
    return text;
}
