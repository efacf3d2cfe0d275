// The demo in a web browser: the same object graph, toolkit, audio library and loop as
// `demo`, compiled to WebAssembly. The page (web/) starts it after a click or key, scales
// the canvas and shows what it prints; the functions on `Module` below are the page's.
#include <emscripten.h>

#include <cstdio>

#include "audio/MusicPlayer.h"
#include "audio/SdlAudioLibrary.h"
#include "demo/DemoProgram.h"
#include "demo/DemoRunner.h"
#include "display/PtcDisplayDriver.h"
#include "display/SdlToolkit.h"

namespace {

// The loop blocks until a key press, but a browser only draws, plays and delivers keys
// once a script returns: after each presented frame the stack is set aside (Asyncify)
// and the loop goes on in the next turn of the browser's event loop. The time from
// resuming to the next present is the frame's work (timer, music position, draw); the
// page keeps it per part for its statistics.
class BrowserDisplayDriver : public PtcDisplayDriver {
public:
    using PtcDisplayDriver::PtcDisplayDriver;
    void present() override {
        double drawMs = emscripten_get_now() - resumedAt;
        PtcDisplayDriver::present();
        DemoRunner* runner = demoProgramRunner();
        if (resumedAt > 0 && runner)
            EM_ASM({ Module.frameDone($0, $1); }, runner->currentPart, drawMs);
        emscripten_sleep(0);
        resumedAt = emscripten_get_now();
    }

private:
    double resumedAt = 0;
};

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    SdlToolkit toolkit;
    PtcDisplayDriver* display = new BrowserDisplayDriver(toolkit);
    SdlAudioLibrary* audio = new SdlAudioLibrary();
    MusicPlayer* music = new MusicPlayer(audio);
    try {
        runDemoProgram(display, music, nullptr);
    } catch (const DynamicError& error) {
        std::fprintf(stderr, "cannot open the display: %s\n", error.message());
        EM_ASM({ Module.showFailure("The display could not be opened: " + UTF8ToString($0)); },
               error.message());
        return 1;
    }
    EM_ASM({ Module.showEnded(); });
    return 0;
}
