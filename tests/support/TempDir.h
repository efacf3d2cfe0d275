#pragma once
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "support/FileBytes.h"

// A fresh directory under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir() {
        // A random name that nobody else has made: creating it fails when it exists.
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937_64 random((static_cast<uint64_t>(seed()) << 32) ^ seed());
        for (int attempt = 0; attempt < 100 && path.empty(); attempt++) {
            const std::filesystem::path candidate = base / ("demo-test-" + std::to_string(random() % 1000000000));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) path = candidate.string();
        }
        if (path.empty()) std::abort();
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
