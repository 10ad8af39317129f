// A plain-coloured 24-bit BMP picture, as a book's skin or pages hold them.
#pragma once

#include <QBuffer>
#include <QImage>
#include <string>

namespace quire::testing {

inline std::string Bmp(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB888);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes.toStdString();
}

}  // namespace quire::testing
