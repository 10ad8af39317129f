// 24-bit pixel buffers and the table-driven blend the window effects use.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>

namespace quire::engine::widgets {

// A 24-bit picture with direct access to its rows.
using TPixelBuffer24 = QImage;  // always QImage::Format_RGB888

// A buffer of `size`, filled from `picture` (converted to 24 bits, cut or padded with black).
TPixelBuffer24 MakeBuffer(const QImage& picture, QSize size);
TPixelBuffer24 MakeBuffer(const QImage& picture);

// The per-frame table of alpha * d >> 8 for every difference d = -255..255 (the shift rounds
// toward minus infinity).
class BlendTable {
 public:
  explicit BlendTable(int alpha);
  int operator()(int difference) const { return values_[difference + 255]; }

 private:
  std::array<std::int16_t, 511> values_{};
};

// target = background + alpha * (foreground - background) / 256, per channel; all three the
// same size.
void Blend(const TPixelBuffer24& foreground, const TPixelBuffer24& background, int alpha,
           TPixelBuffer24& target);

}  // namespace quire::engine::widgets
