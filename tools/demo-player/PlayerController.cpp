#include "PlayerController.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "audio/AudioLibrary.h"
#include "audio/MusicPlayer.h"
#include "core/DataFile.h"
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
    scriptSettle.markRead(syncFileStamp());
    isMuted = settings.muted;
    isFullscreen = settings.fullscreen;
    if (isMuted && !silentMusic) audio.setVolume(0);

    // Paused first, so that no sound plays past the starting point before the first frame.
    if (settings.paused) togglePause();
    if (settings.startPart >= 0 && settings.startPart < runner().partCount())
        seek(partEntryMs(runner().window(settings.startPart).start));
    else
        seek(settings.startMs);
    // What the demo's reader took from the script, said once the starting time is known.
    std::vector<uint8_t> script;
    if (readDataFile(DemoProgram::kSyncFile, script))
        reportScript(scriptFindings(DemoProgram::kSyncFile, SyncDocument(std::string(script.begin(), script.end()))));
    else
        reportScript({std::string("no ") + DemoProgram::kSyncFile + " here: no events and no part changes, the first part plays throughout"});
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

    // Frames drawn, not passes: a held frame shown again is no new frame.
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
    setLoopWindow();
}

void PlayerController::setLoopWindow() {
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
    fpsFrames++;
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

// A changed script is read once it has stood still, and applied only when it is whole; what
// the checks find in it is said either way.
void PlayerController::checkSyncScript() {
    const int64_t nowNs = static_cast<int64_t>(static_cast<double>(wallClock.counter()) * 1e9 /
                                               static_cast<double>(wallClock.frequency()));
    if (!scriptSettle.due(syncFileStamp(), nowNs)) return;
    std::vector<uint8_t> bytes;
    if (!readDataFile(DemoProgram::kSyncFile, bytes)) {
        reportScript({std::string("cannot read ") + DemoProgram::kSyncFile + ": no such file; the old script stays"});
        return;
    }
    const std::string text(bytes.begin(), bytes.end());
    const SyncDocument script(text);
    const std::string refusal = refusalOf(script);
    if (!refusal.empty()) {
        reportScript({std::string(DemoProgram::kSyncFile) + " " + refusal + "; not applied, the old script stays"});
        return;
    }
    reportScript(scriptFindings(DemoProgram::kSyncFile, script));
    if (scriptGuard && !scriptGuard(text)) return;
    applyScript(text);
    std::fprintf(stderr, "demo-player: reloaded %s: %d events, %d changes\n", DemoProgram::kSyncFile,
                 runner().eventCount(), runner().changeCount());
}

void PlayerController::applyScript(const std::string& text) {
    runner().reloadSyncScript(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    // The loop follows the new windows; a held frame is drawn afresh, as a run starting here
    // would draw it (while playing the next frame follows, and the music plays on).
    if (loopPart >= 0) setLoopWindow();
    if (isPaused) seekNs(showNs);
    else drawPending = true;
}

void PlayerController::scriptWritten() { scriptSettle.markRead(syncFileStamp()); }

void PlayerController::reportScript(const std::vector<std::string>& findings) {
    lastReloadError.clear();
    for (const std::string& finding : findings) std::fprintf(stderr, "demo-player: %s\n", finding.c_str());
    if (findings.empty()) return;
    lastReloadError = findings.front();
    if (findings.size() > 1) lastReloadError += " (" + std::to_string(findings.size() - 1) + " more on stderr)";
    errorShownUntilNs = showNs + kErrorShownNs;
}

std::string PlayerController::statusText() const {
    if (!lastReloadError.empty() && (isPaused || showNs < errorShownUntilNs)) return "! " + lastReloadError;
    const int64_t ms = timeMs();
    const auto beats = static_cast<int64_t>(static_cast<double>(ms) * show::kBeatsPerMinute / 60000.0);
    const DemoRunner& run = program->runner();
    std::string next = "end";
    if (run.nextEvent() < run.eventCount()) {
        const EventInfo event = run.event(run.nextEvent());
        char name[7];
        std::snprintf(name, sizeof name, "%-6.6s", event.name);
        next = std::string(name) + " " + clockText(event.ms);
    }
    // Every field keeps its width, so that nothing shifts when a flag comes or goes.
    char text[160];
    std::string kind = run.partName(run.currentPart());
    if (kind.size() > 4 && kind.compare(kind.size() - 4, 4, "Part") == 0) kind.resize(kind.size() - 4);
    std::snprintf(text, sizeof text, "%-2s%-1s%-1s %s %2d %-6.6s %3lld.%lld >%-15s %4.1fms %3.0ffps",
                  isPaused ? "||" : "", loopPart >= 0 ? "L" : "", isMuted || silentMusic ? "M" : "",
                  clockText(ms).c_str(), run.currentPart(), kind.c_str(),
                  static_cast<long long>(beats / show::kBeatsPerBar + 1),
                  static_cast<long long>(beats % show::kBeatsPerBar + 1), next.c_str(),
                  std::min(lastDrawMs, 99.9), std::min(framesPerSecond, 999.0));
    return text;
}
