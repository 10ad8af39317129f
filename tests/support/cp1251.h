// Windows-1251 bytes of a UTF-8 literal, so tests can be written in readable text.
#pragma once

#include <string>

#include "platform/text.h"

namespace quire::testing {

inline std::string Cp(const char* utf8) { return *platform::Utf8ToCp1251(utf8); }

}  // namespace quire::testing
