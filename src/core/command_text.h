// Command texts "verb=arg1=arg2" and their parts.
#pragma once

#include <string>
#include <string_view>

#include "core/path_globals.h"

namespace quire::core {

// The text before the first "="; empty when there is none.
std::string CommandVerb(std::string_view command);
// One "=": what follows it; two or more: what lies between the first and the last "=".
// Resolved by the path rule.
std::string FirstArgument(std::string_view command, const PathGlobals& paths);
// With two or more "=": what follows the last one, resolved; otherwise empty.
std::string SecondArgument(std::string_view command, const PathGlobals& paths);

}  // namespace quire::core
