// Replays every input kept in tests/regression/<harness>/ (crashes and broken promises found
// by fuzzing, plus edge files) through the same code the fuzz harnesses run. Under the
// sanitizer build (scripts/sanitize.sh) a memory fault fails the run; in every build the
// reader's promises are checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <vector>

#include "support/FileBytes.h"

#include "../../fuzz/targets/PcxTarget.h"
#include "../../fuzz/targets/JpegTarget.h"
#if __has_include("assets/LwoReader.h")
#include "../../fuzz/targets/LwoTarget.h"
#define HAVE_LWO_TARGET 1
#endif
#if __has_include("demo/SyncScript.h")
#include "../../fuzz/targets/SyncTarget.h"
#define HAVE_SYNC_TARGET 1
#endif
#if __has_include("audio/VirtualAudioLibrary.h")
#include "../../fuzz/targets/MusicTarget.h"
#define HAVE_MUSIC_TARGET 1
#endif

namespace {

// The mesh destructor waits for a key on a console; replaying must never stop for one.
const bool kStdinClosed = std::freopen("/dev/null", "r", stdin) != nullptr;

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') names.push_back(folder + "/" + entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

using Target = bool (*)(const uint8_t*, size_t);

// Each folder of kept inputs with the harness that found them; fuzz/corpus holds the seeds.
void replayFolder(const std::string& harness, Target target, size_t atLeast) {
    size_t replayed = 0;
    for (const char* root : {TEST_SOURCE_DIR "/tests/regression/", TEST_SOURCE_DIR "/fuzz/corpus/"}) {
        for (const std::string& path : filesIn(root + harness)) {
            std::vector<uint8_t> bytes = readFileBytes(path);
            SCOPED_TRACE(path);
            // An empty vector's data() may be null; the harnesses never see null.
            static const uint8_t kNothing = 0;
            EXPECT_TRUE(target(bytes.empty() ? &kNothing : bytes.data(), bytes.size()));
            ++replayed;
        }
    }
    EXPECT_TRUE(kStdinClosed);
    EXPECT_GE(replayed, atLeast) << "inputs for " << harness << " are missing";
}

}  // namespace

TEST(FuzzReplay, PcxInputs) { replayFolder("pcx", runPcxTarget, 5); }
TEST(FuzzReplay, JpegInputs) { replayFolder("jpeg", runJpegTarget, 4); }
#ifdef HAVE_MUSIC_TARGET
TEST(FuzzReplay, MusicInputs) { replayFolder("music", runMusicTarget, 7); }
#endif
#ifdef HAVE_LWO_TARGET
TEST(FuzzReplay, LwoInputs) { replayFolder("lwo", runLwoTarget, 5); }
#endif
#ifdef HAVE_SYNC_TARGET
TEST(FuzzReplay, SyncInputs) { replayFolder("sync", runSyncTarget, 5); }
#endif
