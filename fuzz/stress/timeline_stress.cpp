// The whole show on the virtual platform for a long run: the real object graph, parts, data,
// music decoding and mixing, with a memory display and a virtual clock stepped one frame at a
// time. Meant to run under the sanitizers (fuzz/stress.sh). Prints on stderr the frames shown
// and the resident memory after the first frame and at the end.
//   stress_timeline <stage folder> [seconds of show, default 546 = three timelines] [fps, default 25]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/MusicPlayer.h"
#include "audio/VirtualAudioLibrary.h"
#include "demo/Clock.h"
#include "program/DemoProgram.h"
#include "display/MemoryToolkit.h"
#include "display/PtcDisplayDriver.h"

namespace {

long residentKilobytes() {
    long kilobytes = -1;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::strncmp(line, "VmRSS:", 6) == 0) kilobytes = std::atol(line + 6);
        std::fclose(status);
    }
    return kilobytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <stage folder> [seconds] [fps]\n", argv[0]);
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 546.0;
    const int fps = argc > 3 ? std::atoi(argv[3]) : 25;
    if (!(seconds > 0) || fps <= 0 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "stress: bad arguments or no stage folder %s\n", argv[1]);
        return 2;
    }
    const long frames = static_cast<long>(seconds * fps);

    // Like the demo's own entry, the platform objects live until the process ends.
    MemoryToolkit* toolkit = new MemoryToolkit;
    PtcDisplayDriver* display = new PtcDisplayDriver(*toolkit);
    VirtualAudioLibrary* audio = new VirtualAudioLibrary;
    MusicPlayer* music = new MusicPlayer(audio);
    VirtualClock* clock = new VirtualClock;

    long shown = 0;
    long firstResident = 0;
    toolkit->setPresentCallback([&](const uint32_t*, int32_t, int32_t) {
        ++shown;
        if (shown == 1) firstResident = residentKilobytes();
        clock->advance(1000000000 / fps);
        audio->setTimeSeconds(static_cast<double>(shown) / fps);
        if (shown == frames) toolkit->pushKey(0x20);
        if (shown % (fps * 60) == 0)
            std::fprintf(stderr, "stress: %ld frames, RSS %ld kB\n", shown, residentKilobytes());
    });
    runDemoProgram(display, music, *clock);

    std::fprintf(stderr, "stress: %ld frames (%.0f s of show at %d fps), RSS after the first frame %ld kB, at the end %ld kB\n",
                 shown, shown / double(fps), fps, firstResident, residentKilobytes());
    return shown >= frames ? 0 : 1;
}
