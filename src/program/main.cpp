// The demo: the whole show on a real window (full screen) with real sound. Arguments are
// ignored; everything is fixed in the program and the data beside it.
#include <cstdio>

#include "audio/MusicPlayer.h"
#include "audio/SdlAudioLibrary.h"
#include "demo/Clock.h"
#include "program/DemoProgram.h"
#include "display/DisplayFailure.h"
#include "display/PtcDisplayDriver.h"
#include "display/SdlToolkit.h"

int main() {
    // The progress lines are the program's behaviour: let each one out as it is printed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    SdlToolkit toolkit;
    PtcDisplayDriver* display = new PtcDisplayDriver(toolkit);
    SdlAudioLibrary* audio = new SdlAudioLibrary();
    MusicPlayer* music = new MusicPlayer(audio);
    RealClock clock;
    try {
        runDemoProgram(display, music, clock);
    } catch (const DynamicError& error) {
        exitOnDisplayError(error);
    }
    // The display, player and library live until the process ends, like the rest of the demo.
    return 0;
}
