// The registry keys of the games a book installs from its disc, under HKEY_LOCAL_MACHINE.
#pragma once

#include <string>

#include "core/globals.h"

namespace quire::core {

// "SOFTWARE\Zarvex\" + the game's key.
std::string GameKeyPath(const std::string& game);
// A string value of the game's key; empty when the key or the value is missing.
std::string ReadGameValue(Globals& g, const std::string& game, const char* name);

}  // namespace quire::core
