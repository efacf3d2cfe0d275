#include "ModuleBuild.h"

#include <fstream>
#include <sstream>

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The JSON string that starts at text[at] (just past its opening quote), unescaped.
std::string jsonString(const std::string& text, size_t at) {
    std::string value;
    for (; at < text.size() && text[at] != '"'; at++) {
        if (text[at] != '\\' || at + 1 >= text.size()) {
            value += text[at];
            continue;
        }
        const char escaped = text[++at];
        value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
    }
    return value;
}

// The value of "key" in the entry of the compile database that holds position at.
std::string field(const std::string& text, size_t at, const std::string& key) {
    const size_t open = text.rfind('{', at);
    const size_t close = text.find('}', at);
    const std::string marker = "\"" + key + "\": \"";
    const size_t found = text.find(marker, open);
    if (open == std::string::npos || found == std::string::npos || found > close) return "";
    return jsonString(text, found + marker.size());
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::vector<std::string> moduleBuildCommand(const std::string& buildDir, const std::string& cmakeCommand,
                                            const std::string& buildConfig, const std::string& target,
                                            const std::string& className) {
    const std::string database = readText(buildDir + "/compile_commands.json");
    const size_t entry = database.find("-DLIVE_PART_CLASS=" + className + " ");
    const std::string linkDir = buildDir + "/tools/demo-player/live";
    const std::string link = readText(linkDir + "/CMakeFiles/part_" + className + ".dir/link.txt");
    const std::string compile = entry == std::string::npos ? "" : field(database, entry, "command");
    const std::string directory = entry == std::string::npos ? "" : field(database, entry, "directory");
    if (compile.empty() || directory.empty() || link.empty() || link.find('\n') != link.rfind('\n')) {
        std::vector<std::string> argv{cmakeCommand, "--build", buildDir};
        if (!buildConfig.empty()) argv.insert(argv.end(), {"--config", buildConfig});
        argv.insert(argv.end(), {"--target", target});
        return argv;
    }
    std::string line = link;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return {"/bin/sh", "-c", "cd " + quoted(directory) + " && " + compile + " && cd " + quoted(linkDir) + " && " + line};
}
