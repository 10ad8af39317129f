// GIF89a pictures, still or animated, from QImages.
#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace quire::authoring {

struct GifOptions {
  int delayMs = 100;    // shown time of each frame (GIF counts in 1/100 s)
  bool loop = true;     // animations repeat for ever (NETSCAPE2.0 block)
  bool dither = false;  // error diffusion when the picture has more than 256 colours
};

// The GIF's bytes. Every frame has the size of the first; pixels with alpha below 128 become
// the transparent colour. One global palette serves all frames: the exact colours when there
// are at most 256, otherwise a median-cut palette. InputError for no frames, an empty frame
// or frames of different sizes.
std::string WriteGif(const std::vector<QImage>& frames, const GifOptions& options = {});

// Shorthand for the book build: a still picture is one frame.
inline std::string WriteGif(const std::vector<QImage>& frames, int delayMs, bool loop) {
  return WriteGif(frames, GifOptions{delayMs, loop, false});
}

}  // namespace quire::authoring
