// RIFF WAVE sound files with 16-bit PCM samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quire::authoring {

// The file's bytes for interleaved samples (left, right, left, ... for stereo).
// InputError for a channel count other than 1 or 2, a rate outside 1..192000, or a sample
// count that is not a whole number of frames.
std::string WriteWav(const std::vector<int16_t>& samples, int sampleRate, int channels = 1);

// Turns floating-point samples (-1..1, louder values clipped) into 16-bit ones.
std::vector<int16_t> ToPcm16(const std::vector<float>& samples);

}  // namespace quire::authoring
