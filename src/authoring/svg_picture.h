// Pictures drawn by authors as SVG, rendered into the formats books use.
#pragma once

#include <string>
#include <string_view>

namespace quire::authoring {

// Renders SVG at its own size on white into a picture file of `format` ("bmp": 24-bit,
// "png", "jpg"). Needs a QGuiApplication. InputError (naming `source`) for bad SVG.
std::string RenderSvg(std::string_view svg, std::string_view format, const std::string& source);

}  // namespace quire::authoring
