// Failures the engine reports to the program; the message is the text the user may see.
#pragma once

#include <stdexcept>
#include <string>

namespace quire::engine::html {

class HtmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quire::engine::html
