#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "assets/LwoReader.h"
#include "engine/MeshSurfaceObject.h"

// The running surface number counts across the whole program; tests compare without it.
inline std::string withoutSurfaceNumbers(std::string text) {
    const std::string marker = "at number ";
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
        size_t end = at + marker.size();
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
        text.replace(at + marker.size(), end - at - marker.size(), "N");
    }
    return text;
}

// Parses the blob and builds its mesh with `surfaces` (may be null), discarding or
// returning what was printed.
struct ReaderRun {
    meshSurfaceObject* mesh = nullptr;
    bool parsed = false;
    std::string parseOutput;
    std::string buildOutput;
};

inline ReaderRun readBlob(const std::vector<uint8_t>& blob, SurfaceList* surfaces) {
    ReaderRun run;
    LwoReader reader;
    testing::internal::CaptureStdout();
    run.parsed = reader.parseObject(blob.data(), blob.size());
    run.parseOutput = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    run.mesh = reader.buildMesh(surfaces);
    run.buildOutput = testing::internal::GetCapturedStdout();
    return run;
}

// Destroys a mesh without its console lines in the test log.
inline void destroyQuietly(meshSurfaceObject* mesh) {
    testing::internal::CaptureStdout();
    delete mesh;
    testing::internal::GetCapturedStdout();
}
