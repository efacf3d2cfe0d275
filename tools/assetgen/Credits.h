#pragma once

// Invented names only: the group, its members and the groups it greets (UTF-8).
namespace credits {

constexpr const char* kDemoName = "KEBABNATT";
constexpr const char* kGroup = "Vitl\xC3\xB6ksg\xC3\xA4nget";
constexpr const char* kCoder = "nullvektor";
constexpr const char* kGraphician = "pixelgurka";
constexpr const char* kMusician = "fyrkantv\xC3\xA5g";
constexpr const char* kGreeted[5] = {"Sillkrew", "Brusbaron", "Pixelfika", "Nollbit",
                                     "Lakritsgruppen"};

}  // namespace credits
