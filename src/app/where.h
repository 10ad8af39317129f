#pragma once

#include <string>

#include "core/globals.h"

namespace quire::app {

// The table of folders and files Quire will read and write for a book, in UTF-8.
std::string WhereText(const core::Globals& g);

}  // namespace quire::app
