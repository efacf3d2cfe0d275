// Golden frames: chosen run times of every part, drawn through the offline renderer in one
// pass at 10 frames a second from time 0, compared by CRC-32 of their shown bits with
// golden_frames.txt. On a mismatch the frame is written as PNG to <build>/golden-failures/;
// with GOLDEN_SAVE=1 every listed frame is written to <build>/golden-frames/.
// Regenerating is deliberate:
//   UPDATE_GOLDEN=1 <build>/tests/test_golden --gtest_filter='GoldenFrames.*'
// chooses the times from a run of the current build, rewrites golden_frames.txt, and then
// checks them in a fresh process that also writes the frames to <build>/golden-frames/, to
// be looked at before the new values are committed.

#include <gtest/gtest.h>
#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "FrameWriters.h"
#include "OfflineRender.h"
#include "demo/DemoPart.h"
#include "demo/SyncEvent.h"
#include "parts/Show.h"
#include "support/ShowTimingFile.h"

namespace {

constexpr int32_t kGoldenFps = 10;
constexpr int64_t kMsPerFrame = 1000 / kGoldenFps;
// A flash lasts a second: two frames after the event it is well under way.
constexpr int64_t kFlashDelayFrames = 2;
constexpr int64_t kFlashFrames = 12;   // with a margin

const std::string kGoldenFile = std::string(TEST_SOURCE_DIR) + "/tests/golden/golden_frames.txt";

struct GoldenEntry {
    int64_t timeMs = 0;
    int32_t part = 0;
    std::string className;
    uint32_t crc = 0;
    std::string note;   // "flash" for a frame during a POWPOW flash
};

std::vector<GoldenEntry> readGolden(const std::string& path) {
    std::vector<GoldenEntry> entries;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        GoldenEntry entry;
        std::string crc;
        if (!(fields >> entry.timeMs >> entry.part >> entry.className >> crc)) {
            ADD_FAILURE() << "unreadable line in " << path << ": " << line;
            continue;
        }
        entry.crc = static_cast<uint32_t>(std::stoul(crc, nullptr, 16));
        fields >> entry.note;
        entries.push_back(entry);
    }
    return entries;
}

void writeGolden(const std::string& path, const std::vector<GoldenEntry>& entries) {
    std::ofstream file(path);
    file << "# CRC-32 of the shown bits (R, G, B bytes) of the frame drawn at each run time, in one\n"
            "# pass at 10 frames a second from time 0 over the stage that assetgen writes.\n"
            "# Written by: UPDATE_GOLDEN=1 <build>/tests/test_golden --gtest_filter='GoldenFrames.*'\n"
            "# time_ms part class crc32 [flash]\n";
    char crc[16];
    for (const GoldenEntry& entry : entries) {
        std::snprintf(crc, sizeof crc, "%08x", entry.crc);
        file << entry.timeMs << ' ' << entry.part << ' ' << entry.className << ' ' << crc;
        if (!entry.note.empty()) file << ' ' << entry.note;
        file << '\n';
    }
}

std::string framePngPath(const std::string& folder, const GoldenEntry& entry) {
    std::filesystem::create_directories(folder);
    return folder + "/" + std::to_string(entry.timeMs) + "ms-part" + std::to_string(entry.part) + "-" +
           entry.className + (entry.note.empty() ? "" : "-" + entry.note) + ".png";
}

bool envIsOne(const char* name) {
    const char* value = std::getenv(name);
    return value && std::string(value) == "1";
}

bool stageIsBuilt() { return std::filesystem::exists(std::string(TEST_STAGE_DIR) + "/synkTest.snc"); }

// What the pass saw of each frame, kept for all frames so that times can be chosen.
struct SeenFrame {
    int32_t part = 0;
    bool flashStarts = false;   // a POWPOW was delivered to the part drawn in this frame
    uint32_t crc = 0;
};

// Picks, for each part index, frames a quarter and three quarters into the stretch it draws
// outside its flashes (and the nearest different one when those two are equal), and the frame
// two tenths of a second after its first POWPOW.
std::vector<GoldenEntry> chooseFrames(const std::vector<SeenFrame>& frames, const std::vector<std::string>& classes) {
    std::map<int32_t, std::vector<int64_t>> framesOfPart;
    for (size_t i = 0; i < frames.size(); i++) framesOfPart[frames[i].part].push_back(static_cast<int64_t>(i));
    std::set<std::pair<int64_t, std::string>> chosen;
    for (const auto& [part, indices] : framesOfPart) {
        // Part 0 is also drawn when no window holds the time: keep to its own stretch.
        std::vector<int64_t> span = indices;
        if (part == 0) {
            span.clear();
            for (int64_t i : indices) {
                if (!span.empty() && i != span.back() + 1) break;
                span.push_back(i);
            }
        }
        std::vector<int64_t> quiet;
        int64_t flashEnds = -1;
        for (int64_t i : span) {
            if (frames[i].flashStarts) flashEnds = i + kFlashFrames;
            if (i > flashEnds) quiet.push_back(i);
        }
        const std::vector<int64_t>& pickFrom = quiet.size() >= 2 ? quiet : span;
        const int64_t first = pickFrom[pickFrom.size() / 4], second = pickFrom[pickFrom.size() * 3 / 4];
        chosen.insert({first, ""});
        chosen.insert({second, ""});
        // Two equal pictures check little: add the differing frame nearest the first, if any.
        if (frames[first].crc == frames[second].crc) {
            int64_t nearest = -1;
            for (int64_t i : pickFrom)
                if (frames[i].crc != frames[first].crc && (nearest < 0 || std::abs(i - first) < std::abs(nearest - first)))
                    nearest = i;
            if (nearest >= 0) chosen.insert({nearest, ""});
        }
        for (int64_t i : span) {
            const int64_t shown = i + kFlashDelayFrames;
            if (frames[i].flashStarts && shown < static_cast<int64_t>(frames.size()) && frames[shown].part == part) {
                chosen.insert({shown, "flash"});
                break;
            }
        }
    }
    std::vector<GoldenEntry> entries;
    for (const auto& [index, note] : chosen) {
        GoldenEntry entry;
        entry.timeMs = index * kMsPerFrame;
        entry.part = frames[index].part;
        entry.className = classes.at(entry.part);
        entry.crc = frames[index].crc;
        entry.note = note;
        entries.push_back(entry);
    }
    return entries;
}

TEST(GoldenFrames, ChosenTimesOfEveryPartMatchTheCheckedInFrames) {
    ASSERT_TRUE(stageIsBuilt()) << "no stage folder at " << TEST_STAGE_DIR << ": build the `stage` target";
    const bool regenerate = envIsOne("UPDATE_GOLDEN");
    const bool saveFrames = envIsOne("GOLDEN_SAVE");
    const std::vector<GoldenEntry> golden = regenerate ? std::vector<GoldenEntry>() : readGolden(kGoldenFile);
    ASSERT_TRUE(regenerate || !golden.empty()) << "no golden frames in " << kGoldenFile;

    std::map<int64_t, const GoldenEntry*> wanted;
    int64_t lastIndex = 0;
    for (const GoldenEntry& entry : golden) {
        ASSERT_EQ(entry.timeMs % kMsPerFrame, 0) << "golden time " << entry.timeMs << " ms is not a frame time";
        wanted[entry.timeMs / kMsPerFrame] = &entry;
        lastIndex = std::max(lastIndex, entry.timeMs / kMsPerFrame);
    }

    OfflineSettings settings;
    settings.stageDir = TEST_STAGE_DIR;
    settings.fps = kGoldenFps;
    if (!regenerate) settings.frameCount = lastIndex + 1;   // else the whole timeline

    std::vector<SeenFrame> seen;
    const std::string failures = std::string(TEST_BINARY_DIR) + "/golden-failures";
    const std::string saved = std::string(TEST_BINARY_DIR) + "/golden-frames";
    std::filesystem::remove_all(failures);
    if (saveFrames) std::filesystem::remove_all(saved);
    int32_t mismatches = 0;
    std::vector<std::string> classes;
    auto sink = [&](const OfflineFrame& frame) {
        SeenFrame info;
        info.part = frame.part;
        info.flashStarts = frame.eventName && ::strcasecmp(frame.eventName, "POWPOW") == 0 && frame.eventPart == frame.part;
        info.crc = frameCrc(frame.pixels, frame.width, frame.height);
        seen.push_back(info);
        if (regenerate) return true;
        auto found = wanted.find(frame.index);
        if (found == wanted.end()) return true;
        const GoldenEntry& entry = *found->second;
        if (saveFrames) {
            EXPECT_TRUE(writeFramePng(framePngPath(saved, entry), frame.pixels, frame.width, frame.height));
        }
        EXPECT_EQ(frame.part, entry.part) << "at " << entry.timeMs << " ms the timeline draws another part than "
                                          << entry.className;
        if (info.crc != entry.crc) {
            mismatches++;
            const std::string png = framePngPath(failures, entry);
            writeFramePng(png, frame.pixels, frame.width, frame.height);
            ADD_FAILURE() << "part " << entry.part << " (" << entry.className << ") at " << entry.timeMs
                          << " ms: expected CRC " << std::hex << entry.crc << ", got " << info.crc << std::dec
                          << "; frame written to " << png;
        }
        return true;
    };
    OfflineResult result = renderOffline(settings, sink);
    ASSERT_TRUE(result.ok) << result.error;
    classes = result.partClasses;

    if (regenerate) {
        const std::vector<GoldenEntry> entries = chooseFrames(seen, classes);
        writeGolden(kGoldenFile, entries);
        // The check in a process of its own shows that a run repeats exactly, and writes the frames.
        const std::string check = "GOLDEN_SAVE=1 UPDATE_GOLDEN=0 /proc/" + std::to_string(getpid()) +
                                  "/exe --gtest_filter=GoldenFrames.ChosenTimes* >/dev/null";
        EXPECT_EQ(std::system(check.c_str()), 0) << "the new golden frames do not repeat in a fresh run";
        std::fprintf(stderr, "wrote %zu golden frames to %s; look at them in %s\n", entries.size(),
                     kGoldenFile.c_str(), saved.c_str());
        return;
    }
    EXPECT_EQ(result.frames, lastIndex + 1);
    EXPECT_EQ(mismatches, 0) << "mismatching frames are in " << failures;
}

// The checked-in list covers the show: two times for every part, under the class of its row,
// and a flash for every part that flashes on "POWPOW" in the show's script.
TEST(GoldenFrames, TheListCoversEveryPartAndEveryFlash) {
    const std::vector<GoldenEntry> golden = readGolden(kGoldenFile);
    std::map<int32_t, int32_t> timesOfPart;
    std::set<int32_t> flashing;
    for (const GoldenEntry& entry : golden) {
        timesOfPart[entry.part]++;
        ASSERT_GE(entry.part, 0);
        ASSERT_LT(entry.part, show::kPartCount);
        EXPECT_EQ(entry.className, show::kParts[entry.part].className) << "part " << entry.part;
        if (entry.note == "flash") flashing.insert(entry.part);
    }
    EXPECT_EQ(timesOfPart.size(), static_cast<size_t>(show::kPartCount));
    for (const auto& [part, times] : timesOfPart) EXPECT_GE(times, 2) << "part " << part;
    for (int32_t part = 0; part < show::kPartCount; ++part)
        EXPECT_EQ(flashing.count(part), sourceTiming().flashesOf(part).empty() ? 0u : 1u) << "part " << part;
}

}  // namespace
