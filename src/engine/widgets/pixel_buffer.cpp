#include "engine/widgets/pixel_buffer.h"

#include <QPainter>

namespace quire::engine::widgets {

TPixelBuffer24 MakeBuffer(const QImage& picture, QSize size) {
  TPixelBuffer24 buffer(size, QImage::Format_RGB888);
  buffer.fill(Qt::black);
  if (!picture.isNull()) {
    QPainter painter(&buffer);
    painter.drawImage(0, 0, picture);
  }
  return buffer;
}

TPixelBuffer24 MakeBuffer(const QImage& picture) {
  return MakeBuffer(picture, picture.size());
}

BlendTable::BlendTable(int alpha) {
  for (int d = -255; d <= 255; ++d) {
    values_[d + 255] = static_cast<std::int16_t>((alpha * d) >> 8);  // arithmetic shift: floor
  }
}

void Blend(const TPixelBuffer24& foreground, const TPixelBuffer24& background, int alpha,
           TPixelBuffer24& target) {
  const BlendTable table(alpha);
  const int rowBytes = foreground.width() * 3;
  for (int y = 0; y < foreground.height(); ++y) {
    const uchar* f = foreground.constScanLine(y);
    const uchar* b = background.constScanLine(y);
    uchar* t = target.scanLine(y);
    for (int i = 0; i < rowBytes; ++i) t[i] = static_cast<uchar>(b[i] + table(f[i] - b[i]));
  }
}

}  // namespace quire::engine::widgets
