#include "SourceMap.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "parts/Show.h"

namespace fs = std::filesystem;

namespace {

// Each row's class with the names of its makers ("makeGreetPlate<1>" as written).
#define LIVE_MAKER_NAME(path, width, height, maker) #maker
#define LIVE_ROW_MAKERS(Class, label, section, files) {#Class, {SHOW_LIST files}},
const std::pair<const char*, std::vector<std::string>> kRowMakers[] = {
    SHOW_PARTS(LIVE_ROW_MAKERS, LIVE_MAKER_NAME)};
#undef LIVE_ROW_MAKERS
#undef LIVE_MAKER_NAME

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The quoted includes of a file, as paths that exist: beside it, or under src/.
std::vector<fs::path> includesOf(const fs::path& file, const fs::path& srcDir) {
    std::vector<fs::path> found;
    std::istringstream lines(readText(file));
    std::string line;
    while (std::getline(lines, line)) {
        const size_t hash = line.find_first_not_of(" \t");
        if (hash == std::string::npos || line.compare(hash, 8, "#include") != 0) continue;
        const size_t open = line.find('"');
        const size_t close = open == std::string::npos ? open : line.find('"', open + 1);
        if (close == std::string::npos) continue;
        const std::string name = line.substr(open + 1, close - open - 1);
        for (const fs::path& candidate : {file.parent_path() / name, srcDir / name})
            if (fs::is_regular_file(candidate)) {
                found.push_back(candidate.lexically_normal());
                break;
            }
    }
    return found;
}

// Every file reached from the sources through quoted includes, the sources too.
std::set<fs::path> reached(const std::vector<fs::path>& sources, const fs::path& srcDir) {
    std::set<fs::path> seen;
    std::vector<fs::path> todo = sources;
    while (!todo.empty()) {
        const fs::path file = todo.back().lexically_normal();
        todo.pop_back();
        if (!seen.insert(file).second) continue;
        for (const fs::path& next : includesOf(file, srcDir)) todo.push_back(next);
    }
    return seen;
}

std::vector<fs::path> filesUnder(const fs::path& dir, std::initializer_list<const char*> endings) {
    std::vector<fs::path> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(dir, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        for (const char* ending : endings)
            if (it->is_regular_file() && name.size() > std::strlen(ending) &&
                name.compare(name.size() - std::strlen(ending), std::string::npos, ending) == 0)
                files.push_back(it->path().lexically_normal());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool namesIdentifier(const std::string& text, const std::string& name) {
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
        const bool before = at == 0 || !(std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '_');
        const size_t after = at + name.size();
        const bool behind =
            after >= text.size() || !(std::isalnum(static_cast<unsigned char>(text[after])) || text[after] == '_');
        if (before && behind) return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> showPartClasses() {
    std::vector<std::string> classes;
    for (const show::Part& part : show::kParts)
        if (std::find(classes.begin(), classes.end(), part.className) == classes.end())
            classes.push_back(part.className);
    return classes;
}

std::vector<WatchedFile> liveWatchList(const std::string& sourceDir) {
    const fs::path root = fs::path(sourceDir).lexically_normal();
    const fs::path srcDir = root / "src";
    const std::vector<std::string> classes = showPartClasses();

    std::set<fs::path> partSources;
    for (const std::string& name : classes) partSources.insert(srcDir / "parts" / (name + ".cpp"));
    // The player's own code: everything it is built from but the part sources.
    std::vector<fs::path> hostSources;
    for (const fs::path& file : filesUnder(srcDir, {".cpp"}))
        if (!partSources.count(file)) hostSources.push_back(file);
    for (const fs::path& file : filesUnder(root / "tools" / "demo-player", {".cpp"}))
        if (file.filename() != "ModuleEntry.cpp") hostSources.push_back(file);
    const std::set<fs::path> hostFiles = reached(hostSources, srcDir);

    std::map<fs::path, std::vector<std::string>> users;   // a part file and the classes it reaches
    for (const std::string& name : classes)
        for (const fs::path& file : reached({srcDir / "parts" / (name + ".cpp")}, srcDir))
            if (file.parent_path() == srcDir / "parts") users[file].push_back(name);

    std::vector<WatchedFile> list;
    for (const auto& [file, names] : users) {
        const bool host = hostFiles.count(file) > 0;
        list.push_back({fs::relative(file, root).generic_string(), host ? WatchedFile::HostHeader : WatchedFile::PartCode,
                        names});
    }
    for (const fs::path& file : filesUnder(root / "tools" / "assetgen", {".cpp", ".h"}))
        list.push_back({fs::relative(file, root).generic_string(), WatchedFile::PictureMaker, {}});
    return list;
}

std::vector<std::string> pictureClassesOf(const std::string& generatorText) {
    std::vector<std::string> named;
    for (const auto& [className, makers] : kRowMakers) {
        const bool names = std::any_of(makers.begin(), makers.end(), [&](const std::string& maker) {
            return namesIdentifier(generatorText, maker.substr(0, maker.find('<')));
        });
        if (names && std::find(named.begin(), named.end(), className) == named.end()) named.push_back(className);
    }
    return named.empty() ? showPartClasses() : named;
}
