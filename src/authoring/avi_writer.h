// Motion-JPEG video in an AVI (RIFF) file, with an optional 16-bit PCM sound track.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace quire::authoring {

struct AviSound {
  int sampleRate = 22050;
  int channels = 1;
  std::vector<int16_t> samples;  // interleaved
};

struct AviOptions {
  int framesPerSecond = 15;
  int jpegQuality = 85;
  const AviSound* sound = nullptr;  // none: a silent clip
};

// The file's bytes: header list, one stream header per track, the frames as JPEG chunks with
// the sound cut into one chunk per frame between them, and the idx1 index. Every frame has
// the size of the first. InputError for no frames, frames of different sizes, a rate outside
// 1..120 frames per second or a malformed sound track.
std::string WriteMjpegAvi(const std::vector<QImage>& frames, const AviOptions& options);

}  // namespace quire::authoring
