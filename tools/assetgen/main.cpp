// assetgen OUTDIR: writes every data file the demo reads (pictures, font sheet, object,
// music, sync script) under OUTDIR, the same bytes on every run.
// assetgen --icon FILE: writes the desktop icon, made from the title picture, as a PNG.
#include <cstdio>
#include <functional>
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

enum class Format { Pcx, Jpeg };

struct PictureJob {
    const char* path;   // relative to OUTDIR, letter case as the parts name it
    Format format;
    std::function<Canvas(TextRenderer&)> make;
};

std::vector<PictureJob> pictureJobs() {
    auto plain = [](Canvas (*f)()) { return [f](TextRenderer&) { return f(); }; };
    auto greet = [](int n) { return [n](TextRenderer& t) { return makeGreetPlate(t, n); }; };
    return {
        {"data/gurkan2.pcx", Format::Pcx, makeFontSheet},
        {"data/Forsta/titel.pcx", Format::Pcx, makeTitle},
        {"data/Grymt/grymt512100.pcx", Format::Pcx, makeGrymtStrip},
        {"data/Grymt/flow512100.pcx", Format::Pcx, makeFlowStrip},
        {"data/pow/pow.pcx", Format::Pcx, makePow},
        {"data/fetdel/bilden.pcx", Format::Pcx, plain(makeRingTile)},
        {"data/fetdel/bilden2.pcx", Format::Pcx, plain(makePlasmaTile)},
        {"data/Forort/grafiti.pcx", Format::Pcx, makeGraffiti},
        {"data/kebab/kebab.pcx", Format::Pcx, makeKebabBackdrop},
        {"data/kebab/bump.jpg", Format::Jpeg, plain(makeBumpHeights)},
        {"data/kebab/envmap.jpg", Format::Jpeg, plain(makeEnvironment)},
        {"data/Huset/before.pcx", Format::Pcx, makeHouse},
        {"data/Huset/jag.pcx", Format::Pcx, makeMeLabel},
        {"data/Huset/pil.pcx", Format::Pcx, plain(makeArrow)},
        {"data/Creds/code.pcx", Format::Pcx, makeCodePlate},
        {"data/Creds/grafik.pcx", Format::Pcx, makeGraphicsPlate},
        {"data/Creds/musik.pcx", Format::Pcx, makeMusicPlate},
        {"data/Creds/plomek.pcx", Format::Pcx, plain(makeEmblem)},
        // The credits part opens "data/creds/tunnel1.pcx"; data files are found without
        // regard to letter case, so it lives beside the other credit pictures.
        {"data/Creds/tunnel1.pcx", Format::Pcx, plain(makeTunnelTile)},
        {"data/Greets/crest1.pcx", Format::Pcx, makeGreetingsBackdrop},
        {"data/Greets/namn1.pcx", Format::Pcx, greet(1)},
        {"data/Greets/namn2.pcx", Format::Pcx, greet(2)},
        {"data/Greets/namn3.pcx", Format::Pcx, greet(3)},
        {"data/Greets/namn4.pcx", Format::Pcx, greet(4)},
        {"data/Greets/namn5.pcx", Format::Pcx, greet(5)},
        {"data/Slut/slut.pcx", Format::Pcx, makeEndScroller},
    };
}

std::string directoryOf(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

bool writePicture(const std::string& outDir, const PictureJob& job, TextRenderer& text) {
    const std::string path = outDir + "/" + job.path;
    if (!makeDirectories(directoryOf(path))) return false;
    Canvas canvas = job.make(text);
    if (job.format == Format::Jpeg)
        return writeJpeg(path, canvas.width(), canvas.height(), canvas.rgbBytes(), 92);
    return writePcx(path, canvas.width(), canvas.height(), canvas.rgbBytes());
}

bool writeMusic(const std::string& outDir) {
    std::vector<uint8_t> mp3 = encodeMp3(renderSong(), show::kSampleRate, 192);
    if (mp3.empty()) {
        std::fprintf(stderr, "assetgen: MP3 encoding failed\n");
        return false;
    }
    return makeDirectories(outDir + "/data") && writeFileBytes(outDir + "/data/musik.mp3", mp3);
}

bool writeObject(const std::string& outDir) {
    return makeDirectories(outDir + "/data/kebab") &&
           writeLwob(outDir + "/data/kebab/kebab2.lwo", buildKebabModel());
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
    bool ok = writeObject(outDir);
    try {
        TextRenderer text(kFontFolder);
        for (const PictureJob& job : pictureJobs()) ok = writePicture(outDir, job, text) && ok;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        ok = false;
    }
    music.join();
    // The build takes the sync script as the sign of a complete stage, so it comes last
    // and only after everything else was written.
    return ok && musicOk && writeSyncScript(outDir) ? 0 : 1;
}
