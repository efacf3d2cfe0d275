#include <cstdio>
#include <cstdlib>

#include "ShowTimeline.h"
#include "SyncScriptWriter.h"

const show::Timing& showTiming() {
    static const show::Timing timing = [] {
        show::Timing read;
        std::string error;
        if (!show::readTiming(syncScriptText(), read, error)) {
            std::fprintf(stderr, "assetgen: show/synkTest.snc, %s\n", error.c_str());
            std::exit(1);
        }
        if (read.changes.size() != static_cast<size_t>(show::kPartCount - 1)) {
            std::fprintf(stderr, "assetgen: show/synkTest.snc has %zu change times; the show's %d parts need %d\n",
                         read.changes.size(), show::kPartCount, show::kPartCount - 1);
            std::exit(1);
        }
        return read;
    }();
    return timing;
}
