#include <filesystem>
#include <fstream>
#include <system_error>

#include "SyncDocument.h"

namespace fs = std::filesystem;

bool saveScript(const std::string& path, const std::string& text, std::string& error) {
    const std::string temporary = path + ".saving";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            error = "cannot write " + temporary;
            return false;
        }
    }
    std::error_code failure;
    if (fs::exists(path, failure)) {
        // The old backup goes first: MinGW's library refuses to overwrite with copy_file.
        fs::remove(path + "~", failure);
        if (!failure) fs::copy_file(path, path + "~", failure);
        if (failure) {
            fs::remove(temporary, failure);
            error = "cannot keep the previous file as " + path + "~";
            return false;
        }
    }
    fs::rename(temporary, path, failure);
    if (failure) {
        error = "cannot replace " + path + ": " + failure.message();
        fs::remove(temporary, failure);
        return false;
    }
    return true;
}

SaveTargets saveTargets(const std::string& stageScript, const std::string& buildStage,
                        const std::string& sourceScript) {
    std::error_code failure;
    const fs::path stage = fs::weakly_canonical(fs::absolute(stageScript).parent_path(), failure);
    const bool fromBuild = !buildStage.empty() && !sourceScript.empty() &&
                           stage == fs::weakly_canonical(buildStage, failure) && fs::exists(sourceScript, failure);
    if (fromBuild)
        return {{stageScript, sourceScript}, "saves go to " + sourceScript + " and the stage's copy"};
    return {{stageScript},
            "saves go to this stage's " + stageScript +
                " alone (it was not built from a source tree here): a copy to keep elsewhere"};
}

SaveTargets saveTargetsOfThisBuild(const std::string& stageScript) {
    return saveTargets(stageScript, DEMO_BUILD_STAGE, DEMO_SOURCE_SCRIPT);
}

bool ScriptSettle::due(const std::string& stamp, int64_t nowNs) {
    if (stamp == readStamp) {
        waiting = false;
        return false;
    }
    if (!waiting || stamp != seenStamp) {
        seenStamp = stamp;
        seenSinceNs = nowNs;
        waiting = true;
        return false;
    }
    if (nowNs - seenSinceNs < kSettleNs) return false;
    markRead(stamp);
    return true;
}

void ScriptSettle::markRead(const std::string& stamp) {
    readStamp = stamp;
    waiting = false;
}

std::string refusalOf(const SyncDocument& document) {
    for (const SyncWarning& warning : document.warnings())
        if (warning.fatal) return "line " + std::to_string(warning.line) + ": " + warning.message;
    return "";
}

std::vector<std::string> scriptFindings(const std::string& fileName, const SyncDocument& document) {
    std::vector<std::string> findings;
    for (const SyncWarning& warning : document.warnings())
        findings.push_back(fileName + " line " + std::to_string(warning.line) + ": " + warning.message);
    return findings;
}
