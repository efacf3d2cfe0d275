// assetgen OUTDIR: writes every data file the demo reads (pictures, font sheet, object,
// music, sync script) under OUTDIR, the same bytes on every run. What each part loads, and
// what makes it, comes from the show's rows (parts/Show.h).
// assetgen [--music MP3] OUTDIR: the same, with the music copied from MP3 instead of made.
// The MP3 encoder's bytes differ between platforms (its own floating point, built by the
// distribution); a cross build takes the native build's music so that its stage is the same.
// assetgen OUTDIR --part CLASS...: writes only the files those parts' rows list (a live
// player remakes one part's pictures with it).
// assetgen --icon FILE: writes the desktop icon, made from the title picture, as a PNG.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <system_error>
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
#include "core/Units.h"

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

// The font sheet the runner loads, then every file of the show's parts, each once; or,
// when classes are named, only the files of those parts.
std::vector<FileJob> fileJobs(const std::set<std::string>& classes = {}) {
    std::vector<std::pair<const char*, FileJob>> all{{"", FileJob{"data/gurkan2.pcx", writerOf(makeFontSheet, 320, 200)}}};
#define ASSETGEN_FILE_JOB(path, width, height, maker) FileJob{path, writerOf(maker, width, height)}
#define ASSETGEN_PART_FILES(Class, label, section, files) \
    for (FileJob& job : std::vector<FileJob>{SHOW_LIST files}) all.emplace_back(#Class, std::move(job));
    SHOW_PARTS(ASSETGEN_PART_FILES, ASSETGEN_FILE_JOB)
#undef ASSETGEN_PART_FILES
#undef ASSETGEN_FILE_JOB
    std::vector<FileJob> jobs;
    std::set<std::string> seen;
    for (auto& [owner, job] : all)
        if ((classes.empty() || classes.count(owner)) && seen.insert(job.path).second) jobs.push_back(std::move(job));
    return jobs;
}

bool isShowClass(const std::string& name) {
    for (const show::Part& part : show::kParts)
        if (name == part.className) return true;
    return false;
}

std::string directoryOf(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

bool writeFile(const std::string& outDir, const FileJob& job, TextRenderer& text) {
    const std::string path = outDir + "/" + job.path;
    return makeDirectories(directoryOf(path)) && job.write(path, text);
}

bool writeMusic(const std::string& outDir) {
    std::vector<uint8_t> mp3 = encodeMp3(renderSong(), units::kSampleRate, 192);
    if (mp3.empty()) {
        std::fprintf(stderr, "assetgen: MP3 encoding failed\n");
        return false;
    }
    return makeDirectories(outDir + "/data") && writeFileBytes(outDir + "/data/musik.mp3", mp3);
}

bool copyMusic(const std::string& from, const std::string& outDir) {
    if (!makeDirectories(outDir + "/data")) return false;
    std::error_code ec;
    std::filesystem::copy_file(from, outDir + "/data/musik.mp3", std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) std::fprintf(stderr, "assetgen: cannot copy the music %s: %s\n", from.c_str(), ec.message().c_str());
    return !ec;
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
    const bool musicGiven = argc >= 4 && std::string(argv[1]) == "--music";
    const int outArg = musicGiven ? 3 : 1;
    std::set<std::string> classes;
    bool usage = argc <= outArg || argv[outArg][0] == '-';
    for (int i = outArg + 1; i < argc && !usage; i += 2) {
        usage = i + 1 >= argc || std::string(argv[i]) != "--part" || !isShowClass(argv[i + 1]);
        if (!usage) classes.insert(argv[i + 1]);
    }
    if (usage) {
        std::fprintf(stderr, "usage: assetgen [--music MP3] OUTDIR [--part CLASS]... | assetgen --icon FILE.png\n");
        return 2;
    }
    const std::string outDir = argv[outArg];
    if (!makeDirectories(outDir)) return 1;
    if (!classes.empty()) {
        bool ok = true;
        try {
            TextRenderer text(kFontFolder);
            for (const FileJob& job : fileJobs(classes)) ok = writeFile(outDir, job, text) && ok;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "assetgen: %s\n", e.what());
            ok = false;
        }
        return ok ? 0 : 1;
    }

    // The music takes longest; it runs beside the pictures.
    bool musicOk = false;
    std::thread music([&] { musicOk = musicGiven ? copyMusic(argv[2], outDir) : writeMusic(outDir); });
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
