#include "authoring/svg_picture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgRenderer>

#include "authoring/book_writers.h"
#include "authoring/gif_writer.h"
#include "platform/text.h"

namespace quire::authoring {

QImage RenderSvgImage(std::string_view svg, const std::string& source) {
  QSvgRenderer renderer(QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
  const QSize size = renderer.defaultSize();
  if (!renderer.isValid() || size.isEmpty()) {
    throw InputError{source + ": not a picture Qt's SVG renderer can draw"};
  }
  QImage image(size, QImage::Format_RGB888);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  renderer.render(&painter);
  return image;
}

std::string EncodePicture(const QImage& image, std::string_view format, const std::string& source) {
  if (format == "gif") return WriteGif({image}, 0, false);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const std::string name = platform::AsciiUpper(format == "jpg" ? "jpeg" : format);
  if (!image.save(&buffer, name.c_str(), format == "jpg" ? 90 : -1)) {
    throw InputError{source + ": cannot write a " + std::string(format) + " picture"};
  }
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string RenderSvg(std::string_view svg, std::string_view format, const std::string& source) {
  return EncodePicture(RenderSvgImage(svg, source), format, source);
}

}  // namespace quire::authoring
