#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/FileBytes.h"

// A fresh directory under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "demo-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The path of a file below the directory.
    std::string file(const std::string& relative) const { return path + "/" + relative; }

    // Writes bytes to a file below the directory (creating folders) and returns its path.
    std::string write(const std::string& relative, const std::string& bytes) const {
        const std::string name = file(relative);
        writeFileBytes(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
        return name;
    }

    std::string path;
};
