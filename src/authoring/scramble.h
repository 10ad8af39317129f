// The reverse of the description files' descrambling, for authors.
#pragma once

#include <string>
#include <string_view>

namespace quire::authoring {

// Scrambles Windows-1251 text so that descrambling gives it back byte for byte.
std::string ScrambleText(std::string_view text);

// Description sources are written with LF line ends; the book's files end lines with CR LF.
std::string ToCrLf(std::string_view text);

// Source text as Windows-1251: valid UTF-8 is converted (when it holds a
// character the code page lacks: false); anything else is taken as Windows-1251 already.
bool SourceToCp1251(std::string_view source, std::string& out);

}  // namespace quire::authoring
