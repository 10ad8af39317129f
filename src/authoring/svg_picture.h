// Pictures drawn by authors as SVG, rendered into the formats books use.
#pragma once

#include <QImage>
#include <string>
#include <string_view>

namespace quire::authoring {

// Renders SVG at its own size on white. Needs a QGuiApplication. InputError (naming
// `source`) for SVG the renderer cannot draw.
QImage RenderSvgImage(std::string_view svg, const std::string& source);

// A picture file of `format`: "bmp" (24-bit), "gif", "jpg" or "png".
std::string EncodePicture(const QImage& image, std::string_view format, const std::string& source);

// Both steps at once.
std::string RenderSvg(std::string_view svg, std::string_view format, const std::string& source);

}  // namespace quire::authoring
