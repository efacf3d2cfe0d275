#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <vector>

#include "core/Units.h"
#include "SyncDocument.h"
#include "demo/Clock.h"
#include "demo/DemoRunner.h"

class AudioLibrary;
class DemoProgram;
class DisplayDriver;
class FontSheet;
class MusicPlayer;

struct PlayerSettings {
    int64_t startMs = 0;
    int32_t startPart = -1;   // >= 0: start where this part's window starts instead
    bool paused = false;
    bool muted = false;
    bool fullscreen = false;
};

// The player's controls over the demo's program and runner: time that moves with a wall
// clock while playing, seeks that the music and the sync events follow, pause, single
// frames, a part loop, mute, and the sync script reloaded when it changes on disk. It
// knows no window: keys come from the display driver, and the window follows the flags
// it exposes. Works in the current directory, which holds data/ and synkTest.snc.
class PlayerController {
public:
    static constexpr int32_t kStatusHeight = 10;         // one line of 8 x 8 glyphs

    // The wall clock moves the show on while playing; both it and the platform objects
    // must outlive the controller.
    PlayerController(DisplayDriver& display, AudioLibrary& audio, Clock& wallClock);
    ~PlayerController();

    // Builds and begins the program (without sound, and saying so on stderr, when the
    // stage has no music), goes to the starting time and draws that frame.
    void begin(const PlayerSettings& settings);
    // One pass of the loop: the waiting keys, a changed sync script, the time moving on
    // while playing, then a frame drawn (or the held one shown again). False after quit.
    bool tick();
    // Stops the music and ends the program.
    void finish();

    // A key in the display's numbering.
    void handleKey(int32_t code);
    // Goes to a run time (at least 0) through the runner's restart: the music follows, the
    // events before it count as consumed, and the next pass draws it as a run starting
    // there would.
    void seek(int64_t ms);
    // Puts a script (the file's text, checked to be whole) in place of the current one, at
    // the current time: the part loop takes its part's new window, a paused frame is drawn
    // afresh.
    void applyScript(const std::string& text);
    // The script on disk is the player's own (just saved): it is not read back.
    void scriptWritten();
    void seekNs(int64_t ns);

    int64_t timeMs() const { return showNs / 1000000; }
    bool paused() const { return isPaused; }
    bool looping() const { return loopPart >= 0; }
    bool muted() const { return isMuted; }
    bool silent() const { return silentMusic != nullptr; }
    bool statusVisible() const { return showStatus; }
    bool fullscreen() const { return isFullscreen; }
    bool quitRequested() const { return quit; }
    int64_t framesDrawn() const { return drawn; }
    uint32_t musicPosition() const;
    const std::string& reloadError() const { return lastReloadError; }
    DemoRunner& runner();

    // Asked the text of a changed script on disk before it is applied; false keeps
    // the one playing.
    void setScriptGuard(std::function<bool(const std::string& text)> guard) { scriptGuard = std::move(guard); }

    // The status line: time, part, bar and beat, next event, draw time and frame rate.
    std::string statusText() const;

private:
    class SilentMusic;

    void drawFrame();
    void moveMusicTo(int64_t ms);
    void togglePause();
    void stepFrame(int32_t direction);
    void seekToPart(int32_t part);
    void toggleLoop();
    void setLoopWindow();
    void checkSyncScript();
    // Says what reading the script found: each line on stderr, the first in the status line.
    void reportScript(const std::vector<std::string>& findings);
    std::string syncFileStamp() const;

    DisplayDriver& display;
    AudioLibrary& audio;
    Clock& wallClock;
    VirtualClock showClock;   // what the run timer reads: the show time, set every frame
    std::unique_ptr<MusicPlayer> musicPlayer;
    SilentMusic* silentMusic = nullptr;
    std::unique_ptr<DemoProgram> program;

    int64_t showNs = 0;
    int64_t lastWall = 0;
    bool isPaused = false;
    bool isMuted = false;
    bool showStatus = true;
    bool isFullscreen = false;
    bool quit = false;
    bool drawPending = false;
    int32_t loopPart = -1;
    int64_t loopStartMs = 0, loopEndMs = 0;
    ScriptSettle scriptSettle;
    std::function<bool(const std::string&)> scriptGuard;
    std::string lastReloadError;
    int64_t errorShownUntilNs = 0;
    double lastDrawMs = 0.0;
    int64_t drawn = 0;
    int64_t fpsWindowStart = 0, fpsFrames = 0;
    double framesPerSecond = 0.0;
};

// Milliseconds of a part window's start at which the part itself is drawn: the first
// millisecond after it, since at the change time itself the earlier part is drawn.
int64_t partEntryMs(float windowStart);
