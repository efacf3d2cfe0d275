#pragma once
#include <cstdint>

// Error codes of our audio libraries, as errorGetCode reports them.
namespace AudioError {
inline constexpr int32_t None = 0;
inline constexpr int32_t NotInitialised = 1;
inline constexpr int32_t AlreadyInitialised = 2;
inline constexpr int32_t NoDevice = 3;
inline constexpr int32_t UnsupportedRate = 4;
inline constexpr int32_t FileOpen = 5;
inline constexpr int32_t FileFormat = 6;
inline constexpr int32_t BadHandle = 7;
inline constexpr int32_t BadSyncType = 8;
}  // namespace AudioError

// A short English description of an error code.
const char* audioErrorText(int32_t code);
