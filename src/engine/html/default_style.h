// The browser's own style sheet: how elements look when a page says nothing about them,
// close to what the browsers of the books' time did.
#pragma once

#include <string>

namespace quire::engine::html {

const std::string& DefaultStyleSheet();

}  // namespace quire::engine::html
