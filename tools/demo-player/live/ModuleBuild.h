#pragma once
#include <string>
#include <vector>

// The command that rebuilds one part's module. The build folder's own commands for it when
// they can be read (CMake's compile database and the module's link line): its compiler
// straight away, without the build tool's checks of the rest of the build (under load those
// take seconds). Otherwise the build tool on the module's target.
std::vector<std::string> moduleBuildCommand(const std::string& buildDir, const std::string& cmakeCommand,
                                            const std::string& buildConfig, const std::string& target,
                                            const std::string& className);
