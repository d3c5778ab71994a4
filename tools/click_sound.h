#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rpn {

inline constexpr int kClickSampleRate = 22050;
inline constexpr int kClickSampleCount = 1079;

// The key click's samples. The same on every machine, so the committed file
// can be checked against them.
std::vector<std::int16_t> MakeClickSamples();

// Writes the click to path as a RIFF/WAVE file (PCM, mono, 16 bits); false
// when the file cannot be written.
bool WriteClickWav(const std::string& path);

}  // namespace rpn
