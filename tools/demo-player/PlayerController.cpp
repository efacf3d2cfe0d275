#include "PlayerController.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "assets/FontSheet.h"
#include "audio/AudioLibrary.h"
#include "audio/MusicPlayer.h"
#include "core/DataFile.h"
#include "demo/ScriptLineReader.h"
#include "display/DisplayDriver.h"
#include "display/PixelToolkit.h"
#include "parts/Show.h"
#include "program/DemoProgram.h"

namespace {

using units::kNsPerMs;
constexpr int64_t kErrorShownNs = 5 * units::kNsPerSecond;

std::string clockText(int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return text;
}

}  // namespace

// Stands in for the music when the stage has none: plays nothing, and its position is
// the show time, so the sync events still fire on time.
class PlayerController::SilentMusic : public MusicPlayer {
public:
    SilentMusic() : MusicPlayer(nullptr) {}
    bool load(const char*) override { return true; }
    bool play() override { return true; }
    bool resumeStream(int32_t) override { return true; }
    bool stop() override { return true; }
    bool free() override { return true; }
    bool pauseStream() override { return true; }
    uint32_t position() override { return bytes; }
    bool setPosition(uint32_t value) override {
        bytes = value;
        return true;
    }

private:
    uint32_t bytes = 0;
};

int64_t partEntryMs(float windowStart) {
    if (windowStart <= 0.0f) return 0;
    return static_cast<int64_t>(std::floor(static_cast<double>(windowStart) * 1000.0)) + 1;
}

PlayerController::PlayerController(DisplayDriver& display, AudioLibrary& audio, Clock& wallClock)
    : display(display), audio(audio), wallClock(wallClock) {}

PlayerController::~PlayerController() = default;

DemoRunner& PlayerController::runner() { return program->runner(); }

uint32_t PlayerController::musicPosition() const { return musicPlayer->position(); }

void PlayerController::begin(const PlayerSettings& settings) {
    if (resolveDataPath(DemoProgram::kMusicFile).empty()) {
        std::fprintf(stderr, "demo-player: no %s here: playing without sound\n", DemoProgram::kMusicFile);
        auto silent = std::make_unique<SilentMusic>();
        silentMusic = silent.get();
        musicPlayer = std::move(silent);
    } else {
        musicPlayer = std::make_unique<MusicPlayer>(&audio);
    }
    program = std::make_unique<DemoProgram>(&display, musicPlayer.get(), showClock);
    program->begin();
    scriptStamp = syncFileStamp();
    isMuted = settings.muted;
    isFullscreen = settings.fullscreen;
    if (isMuted && !silentMusic) audio.setVolume(0);

    // Paused first, so that no sound plays past the starting point before the first frame.
    if (settings.paused) togglePause();
    if (settings.startPart >= 0 && settings.startPart < runner().partCount())
        seek(partEntryMs(runner().window(settings.startPart).start));
    else
        seek(settings.startMs);
    lastWall = wallClock.counter();
    fpsWindowStart = lastWall;
    drawFrame();
}

bool PlayerController::tick() {
    while (!quit && display.keyPressed()) handleKey(display.readKey().code);
    if (quit) return false;
    checkSyncScript();

    const int64_t now = wallClock.counter();
    const int64_t elapsedNs = static_cast<int64_t>(static_cast<double>(now - lastWall) * 1e9 /
                                                   static_cast<double>(wallClock.frequency()));
    lastWall = now;
    if (!isPaused) {
        showNs += elapsedNs;
        drawPending = true;
        // The loop plays the part's window up to its end, then goes back to where it begins.
        if (loopPart >= 0 && timeMs() > loopEndMs) seek(loopStartMs);
    }
    if (drawPending) drawFrame();
    else display.present();

    fpsFrames++;
    const double windowSeconds = static_cast<double>(now - fpsWindowStart) / static_cast<double>(wallClock.frequency());
    if (windowSeconds >= 1.0) {
        framesPerSecond = static_cast<double>(fpsFrames) / windowSeconds;
        fpsFrames = 0;
        fpsWindowStart = now;
    }
    return true;
}

void PlayerController::finish() {
    if (!program) return;
    program->finish();
    program.reset();
}

void PlayerController::handleKey(int32_t code) {
    const int64_t now = timeMs();
    switch (code) {
    case KeyCode::Space: togglePause(); break;
    case KeyCode::Right: seek(now + 1000); break;
    case KeyCode::Left: seek(now - 1000); break;
    case KeyCode::Up: seek(now + 10000); break;
    case KeyCode::Down: seek(now - 10000); break;
    case KeyCode::PageDown: seekToPart(runner().currentPart() + 1); break;
    case KeyCode::PageUp: seekToPart(runner().currentPart() - 1); break;
    case KeyCode::Home: seek(0); break;
    case KeyCode::Period: stepFrame(1); break;
    case KeyCode::Comma: stepFrame(-1); break;
    case KeyCode::Tab: showStatus = !showStatus; break;
    case KeyCode::Escape:
    case KeyCode::LetterA + ('Q' - 'A'): quit = true; break;
    case KeyCode::LetterA + ('F' - 'A'): isFullscreen = !isFullscreen; break;
    case KeyCode::LetterA + ('L' - 'A'): toggleLoop(); break;
    case KeyCode::LetterA + ('M' - 'A'):
        isMuted = !isMuted;
        if (!silentMusic) audio.setVolume(isMuted ? 0 : 100);
        break;
    default: break;
    }
}

void PlayerController::seek(int64_t ms) { seekNs(ms * kNsPerMs); }

void PlayerController::seekNs(int64_t ns) {
    if (ns < 0) ns = 0;
    // The run timer reads the show clock: set there first, so the restart keeps the timer.
    showClock.set(ns / kNsPerMs * kNsPerMs + kNsPerMs / 2);
    const int64_t ms = runner().restart(ns / kNsPerMs);
    showNs = ms == ns / kNsPerMs ? ns : ms * kNsPerMs;
    drawPending = true;
}

void PlayerController::moveMusicTo(int64_t ms) { musicPlayer->setPosition(units::musicBytesAt(ms)); }

void PlayerController::togglePause() {
    isPaused = !isPaused;
    if (isPaused) {
        musicPlayer->pause();
    } else {
        moveMusicTo(timeMs());
        musicPlayer->resume();
    }
}

// Forward as if played (an event reached on the way is delivered); back as a seek.
void PlayerController::stepFrame(int32_t direction) {
    if (!isPaused) return;
    if (direction < 0) {
        seekNs(showNs - units::kFrameStepNs);
        return;
    }
    showNs += units::kFrameStepNs;
    moveMusicTo(timeMs());
    drawPending = true;
}

void PlayerController::seekToPart(int32_t part) {
    if (part < 0) part = 0;
    if (part >= runner().partCount()) return;
    seek(partEntryMs(runner().window(part).start));
}

void PlayerController::toggleLoop() {
    if (loopPart >= 0) {
        loopPart = -1;
        return;
    }
    loopPart = runner().currentPart();
    const PartWindow window = runner().window(loopPart);
    loopStartMs = partEntryMs(window.start);
    loopEndMs = static_cast<int64_t>(std::floor(static_cast<double>(window.end) * 1000.0));
}

void PlayerController::drawFrame() {
    // Half a millisecond in, as the offline renderer does: the run timer reads whole ms.
    showClock.set(timeMs() * kNsPerMs + kNsPerMs / 2);
    if (silentMusic) silentMusic->setPosition(units::musicBytesAt(timeMs()));
    lastDrawMs = runner().playFrame().drawSeconds * 1000.0;
    drawn++;
    drawPending = false;
}

// What tells a changed file: its size and modification time, or that it is missing.
std::string PlayerController::syncFileStamp() const {
    const std::string path = resolveDataPath(DemoProgram::kSyncFile);
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return "missing";
    return std::to_string(info.st_size) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
           std::to_string(info.st_mtim.tv_nsec);
}

void PlayerController::checkSyncScript() {
    const std::string stamp = syncFileStamp();
    if (stamp == scriptStamp) return;
    scriptStamp = stamp;
    std::string error;
    std::vector<uint8_t> bytes;
    if (!readDataFile(DemoProgram::kSyncFile, bytes)) {
        error = std::string("cannot read ") + DemoProgram::kSyncFile + ": no such file";
    } else {
        ScriptLineReader reader(bytes.data(), bytes.size());
        if (::strcasecmp(reader.next(), "QRM SYNCSCRIPT") != 0)
            error = std::string(DemoProgram::kSyncFile) + " is no sync script: its first line is not QRM SYNCSCRIPT";
    }
    if (!error.empty()) {
        lastReloadError = error + "; the old script stays";
        errorShownUntilNs = showNs + kErrorShownNs;
        std::fprintf(stderr, "demo-player: %s\n", lastReloadError.c_str());
        return;
    }
    runner().reloadSyncScript(DemoProgram::kSyncFile);
    lastReloadError.clear();
    std::fprintf(stderr, "demo-player: reloaded %s: %d events, %d changes\n", DemoProgram::kSyncFile,
                 runner().eventCount(), runner().changeCount());
    drawPending = true;
}

std::string PlayerController::statusText() const {
    if (!lastReloadError.empty() && (isPaused || showNs < errorShownUntilNs)) return "! " + lastReloadError;
    const int64_t ms = timeMs();
    const auto beats = static_cast<int64_t>(static_cast<double>(ms) * show::kBeatsPerMinute / 60000.0);
    const DemoRunner& run = program->runner();
    std::string next = "end";
    if (run.nextEvent() < run.eventCount()) {
        const EventInfo event = run.event(run.nextEvent());
        next = std::string(event.name).substr(0, 8) + " " + clockText(event.ms);
    }
    char text[160];
    std::snprintf(text, sizeof text, "%s%s%s %s %d %s %lld.%lld >%s %.2fms %.0ffps", isPaused ? "||" : "",
                  loopPart >= 0 ? "L" : "", isMuted || silentMusic ? "M" : "", clockText(ms).c_str(),
                  run.currentPart(), run.partName(run.currentPart()).c_str(),
                  static_cast<long long>(beats / show::kBeatsPerBar + 1),
                  static_cast<long long>(beats % show::kBeatsPerBar + 1), next.c_str(),
                  lastDrawMs, framesPerSecond);
    return text;
}

void PlayerController::renderStatus(uint32_t* pixels, int32_t width) const {
    for (int32_t i = 0; i < width * kStatusHeight; i++) pixels[i] = 0x00181818;
    const FontSheet& font = program->runner().fontSheet();
    if (!font.glyphs || font.glyphSize + 1 > kStatusHeight) return;
    const std::string text = statusText();
    const int32_t size = font.glyphSize;
    for (size_t c = 0; c < text.size() && static_cast<int32_t>(c + 1) * size <= width; c++) {
        const uint32_t* glyph = font.glyphs + static_cast<size_t>(static_cast<uint8_t>(text[c])) * size * size;
        for (int32_t y = 0; y < size; y++)
            for (int32_t x = 0; x < size; x++)
                if (glyph[y * size + x] & 0x00FFFFFF)
                    pixels[(y + 1) * width + static_cast<int32_t>(c) * size + x] = glyph[y * size + x];
    }
}
