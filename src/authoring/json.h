// Writing JSON for quire-pack's reports.
#pragma once

#include <string>
#include <string_view>

namespace quire::authoring {

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view utf8);

}  // namespace quire::authoring
