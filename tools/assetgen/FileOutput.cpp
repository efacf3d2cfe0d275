#include "FileOutput.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "assetgen: failed writing %s\n", path.c_str());
    return ok;
}

bool makeDirectories(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) std::fprintf(stderr, "assetgen: cannot create %s: %s\n", path.c_str(), ec.message().c_str());
    return !ec;
}
