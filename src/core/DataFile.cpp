#include "core/DataFile.h"

#include <string>

#include "core/PlatformFiles.h"
#include "core/TextCompare.h"

namespace {

bool exists(const std::string& path) { return platform::pathExists(path); }

// The entry of `dir` whose name equals `component` ignoring letter case, or "".
std::string findIgnoringCase(const std::string& dir, const std::string& component) {
    std::vector<std::string> names;
    if (!platform::listFolder(dir, names)) return {};
    std::string found;
    for (const std::string& name : names) {
        if (compareIgnoringCase(name.c_str(), component.c_str()) == 0) {
            found = name;
            if (found == component) break;  // an exact match wins over a case-folded one
        }
    }
    return found;
}

}  // namespace

std::string resolveDataPath(const char* name) {
    if (!name || !*name) return {};
    std::string path(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    if (exists(path)) return path;

    // Walk the components, matching each without regard to case.
    std::string resolved;
    size_t pos = 0;
    if (path[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos <= path.size()) {
        size_t slash = path.find('/', pos);
        std::string component = path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        pos = (slash == std::string::npos) ? path.size() + 1 : slash + 1;
        if (component.empty() || component == ".") continue;
        std::string candidate = resolved + component;
        if (component == ".." || exists(candidate)) {
            resolved = candidate;
        } else {
            std::string match = findIgnoringCase(resolved.empty() ? "." : resolved, component);
            if (match.empty()) return {};
            resolved += match;
        }
        if (pos <= path.size()) resolved += "/";
    }
    return exists(resolved) ? resolved : std::string();
}

std::FILE* openDataFile(const char* name, const char* mode) {
    std::string path = resolveDataPath(name);
    if (path.empty()) return nullptr;
    return std::fopen(path.c_str(), mode);
}

bool readDataFile(const char* name, std::vector<uint8_t>& bytes) {
    bytes.clear();
    std::FILE* file = openDataFile(name, "rb");
    if (!file) return false;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return true;
}
