#pragma once
#include <string>

#include "parts/ShowTiming.h"

// The show's sync script (show/synkTest.snc), byte for byte as the source tree holds it.
std::string syncScriptText();

// Its timing; it ends the generator with a message when the script is not a plain one.
const show::Timing& showTiming();
