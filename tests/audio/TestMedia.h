#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Media made at test time: an MP3 of a sine tone (encoded with LAME), a tiny ProTracker
// module, a WAV, and a way to put them in files.

std::vector<uint8_t> encodeSineMp3(double seconds, int rate);
// A 4-channel "M.K." module of `orders` orders, all playing one pattern whose first row
// sets speed 1 (one row every 20 ms) and starts a looped square-wave sample.
std::vector<uint8_t> makeTinyMod(int orders);
std::vector<uint8_t> makeWav(int rate, int channels, const std::vector<int16_t>& samples);
// Writes the bytes to a fresh file under the test's temporary folder; returns its path.
std::string writeTempFile(const std::string& name, const std::vector<uint8_t>& bytes);
