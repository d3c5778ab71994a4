#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rpn {

inline constexpr int kClickSampleRate = 22050;
inline constexpr int kClickSampleCount = 1079;

// The key click as a complete RIFF/WAVE file: PCM, mono, 16 bits. The same
// bytes on every machine, so the committed file can be checked against it.
std::vector<std::uint8_t> MakeClickWav();

// The click's samples alone, before they are wrapped into the file.
std::vector<std::int16_t> MakeClickSamples();

// Writes MakeClickWav() to path; false when the file cannot be written.
bool WriteClickWav(const std::string& path);

}  // namespace rpn
