#pragma once
#include <string>
#include <vector>

#include "ScriptLines.h"
#include "SyncDocument.h"

// What in the script the demo's reader would take silently in a way its writer hardly
// meant: each finding with its line, in line order.
std::vector<SyncWarning> checkScript(const std::string& text, const ScriptLayout& layout);

// The line the file must have ended with a line break after to count as whole: the last
// one the reader takes a value from. Null for a text without a header.
const ScriptLine* lastValueLine(const ScriptLayout& layout);
