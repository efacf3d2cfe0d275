#include "CompilerOutput.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace {

bool allDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// "file:line[:column]: error: message" as "file:line: error: message"; empty otherwise.
std::string diagnostic(const std::string& line) {
    for (const char* kind : {": error: ", ": fatal error: "}) {
        const size_t at = line.find(kind);
        if (at == std::string::npos) continue;
        std::string where = line.substr(0, at);
        // Up to two numbers after the file: the line, then the column.
        std::vector<std::string> numbers;
        for (int i = 0; i < 2; i++) {
            const size_t colon = where.rfind(':');
            if (colon == std::string::npos || !allDigits(where.substr(colon + 1))) break;
            numbers.insert(numbers.begin(), where.substr(colon + 1));
            where.erase(colon);
        }
        if (numbers.empty() || where.empty()) continue;
        // A path relative to the compiler's folder (ccache's base_dir makes them so):
        // what follows its climb out is the path under the source folder.
        while (where.compare(0, 3, "../") == 0 || where.compare(0, 2, "./") == 0) where.erase(0, where.find('/') + 1);
        return where + ":" + numbers.front() + ": " + line.substr(at + 2);
    }
    return "";
}

}  // namespace

std::string firstCompilerError(const std::string& output, const std::string& sourceDir) {
    std::istringstream lines(output);
    std::string line, speaking, last;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string found = diagnostic(line);
        if (!found.empty()) {
            const std::string prefix = sourceDir + "/";
            if (!sourceDir.empty() && found.compare(0, prefix.size(), prefix) == 0) found.erase(0, prefix.size());
            return found;
        }
        if (speaking.empty() && line.find("rror") != std::string::npos) speaking = line;
        if (line.find_first_not_of(" \t") != std::string::npos) last = line;
    }
    return speaking.empty() ? last : speaking;
}
