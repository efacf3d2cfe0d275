// assetgen OUTDIR: writes every data file the demo reads (pictures, font sheet, object,
// music, sync script) under OUTDIR, the same bytes on every run. What each part loads, and
// what makes it, comes from the show's rows (parts/Show.h).
// assetgen --icon FILE: writes the desktop icon, made from the title picture, as a PNG.
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "FileOutput.h"
#include "Icon.h"
#include "JpegWriter.h"
#include "KebabModel.h"
#include "LwobWriter.h"
#include "Mp3Encoder.h"
#include "PcxWriter.h"
#include "Pictures.h"
#include "ShowTimeline.h"
#include "Song.h"
#include "SyncScriptWriter.h"

namespace {

const char* const kFontFolder = "/usr/share/fonts/truetype/dejavu";

// Writes one data file under OUTDIR; false (with a message on stderr) on failure.
using FileWriter = std::function<bool(const std::string& path, TextRenderer& text)>;

// A picture by its file name's ending (JPEG or PCX), at the size its part loads it.
FileWriter pictureWriter(std::function<Canvas(TextRenderer&)> make, int width, int height) {
    return [make, width, height](const std::string& path, TextRenderer& text) {
        Canvas canvas = make(text);
        if (canvas.width() != width || canvas.height() != height) {
            std::fprintf(stderr, "assetgen: %s is made %d x %d, but its part loads it %d x %d\n", path.c_str(),
                         canvas.width(), canvas.height(), width, height);
            return false;
        }
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0)
            return writeJpeg(path, canvas.width(), canvas.height(), canvas.rgbBytes(), 92);
        return writePcx(path, canvas.width(), canvas.height(), canvas.rgbBytes());
    };
}
FileWriter writerOf(Canvas (*make)(TextRenderer&), int width, int height) { return pictureWriter(make, width, height); }
FileWriter writerOf(Canvas (*make)(), int width, int height) {
    return pictureWriter([make](TextRenderer&) { return make(); }, width, height);
}
FileWriter writerOf(LwobModel (*make)(), int, int) {
    return [make](const std::string& path, TextRenderer&) { return writeLwob(path, make()); };
}

struct FileJob {
    const char* path;   // relative to OUTDIR, letter case as the stage holds it
    FileWriter write;
};

// The font sheet the runner loads, then every file of the show's parts, each once.
std::vector<FileJob> fileJobs() {
#define ASSETGEN_FILE_JOB(path, width, height, maker) FileJob{path, writerOf(maker, width, height)}
#define ASSETGEN_PART_FILES(Class, label, section, files) SHOW_LIST files,
    std::vector<FileJob> all{FileJob{"data/gurkan2.pcx", writerOf(makeFontSheet, 320, 200)},
                             SHOW_PARTS(ASSETGEN_PART_FILES, ASSETGEN_FILE_JOB)};
#undef ASSETGEN_PART_FILES
#undef ASSETGEN_FILE_JOB
    std::vector<FileJob> jobs;
    std::set<std::string> seen;
    for (FileJob& job : all)
        if (seen.insert(job.path).second) jobs.push_back(std::move(job));
    return jobs;
}

std::string directoryOf(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

bool writeFile(const std::string& outDir, const FileJob& job, TextRenderer& text) {
    const std::string path = outDir + "/" + job.path;
    return makeDirectories(directoryOf(path)) && job.write(path, text);
}

bool writeMusic(const std::string& outDir) {
    std::vector<uint8_t> mp3 = encodeMp3(renderSong(), show::kSampleRate, 192);
    if (mp3.empty()) {
        std::fprintf(stderr, "assetgen: MP3 encoding failed\n");
        return false;
    }
    return makeDirectories(outDir + "/data") && writeFileBytes(outDir + "/data/musik.mp3", mp3);
}

bool writeSyncScript(const std::string& outDir) {
    const std::string script = syncScriptText();
    return writeFileBytes(outDir + "/synkTest.snc", std::vector<uint8_t>(script.begin(), script.end()));
}

bool writeIcon(const std::string& path) {
    try {
        TextRenderer text(kFontFolder);
        return writePng(path, makeIcon(makeTitle(text), 128));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icon") return writeIcon(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen OUTDIR | assetgen --icon FILE.png\n");
        return 2;
    }
    const std::string outDir = argv[1];
    if (!makeDirectories(outDir)) return 1;

    // The music takes longest; it runs beside the pictures.
    bool musicOk = false;
    std::thread music([&] { musicOk = writeMusic(outDir); });
    bool ok = true;
    try {
        TextRenderer text(kFontFolder);
        for (const FileJob& job : fileJobs()) ok = writeFile(outDir, job, text) && ok;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        ok = false;
    }
    music.join();
    // The build takes the sync script as the sign of a complete stage, so it comes last
    // and only after everything else was written.
    return ok && musicOk && writeSyncScript(outDir) ? 0 : 1;
}
