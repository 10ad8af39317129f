#include "authoring/wav_writer.h"

#include <algorithm>
#include <cmath>

#include "authoring/book_writers.h"
#include "authoring/little_endian.h"

namespace quire::authoring {
namespace {}  // namespace

std::string WriteWav(const std::vector<int16_t>& samples, int sampleRate, int channels) {
  if (channels != 1 && channels != 2) throw InputError{"WAV: 1 or 2 channels only"};
  if (sampleRate < 1 || sampleRate > 192000) throw InputError{"WAV: bad sample rate"};
  if (samples.size() % size_t(channels) != 0) throw InputError{"WAV: incomplete last frame"};
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  const uint32_t blockAlign = uint32_t(channels) * 2;
  std::string out = "RIFF";
  Put32(out, 36 + dataBytes);
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, uint32_t(channels));
  Put32(out, uint32_t(sampleRate));
  Put32(out, uint32_t(sampleRate) * blockAlign);
  Put16(out, blockAlign);
  Put16(out, 16);
  out += "data";
  Put32(out, dataBytes);
  for (int16_t s : samples) Put16(out, uint16_t(s));
  return out;
}

std::vector<int16_t> ToPcm16(const std::vector<float>& samples) {
  std::vector<int16_t> out(samples.size());
  std::transform(samples.begin(), samples.end(), out.begin(), [](float s) {
    if (std::isnan(s)) return int16_t(0);
    return int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
  });
  return out;
}

}  // namespace quire::authoring
