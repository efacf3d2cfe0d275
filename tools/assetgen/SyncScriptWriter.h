#pragma once
#include <string>

// The sync script text: header "QRM SYNCSCRIPT", the "POWPOW" events at music positions
// in bytes, then the change times in seconds, each record three lines.
std::string syncScriptText();
