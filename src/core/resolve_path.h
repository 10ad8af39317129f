// The path rule of description values and command arguments.
#pragma once

#include <string>
#include <string_view>

namespace quire::core {

// "<cd>" becomes `driveRoot`; absolute paths (":\") stay; text with "." or "\" is joined to
// `exeDir` (after the last "=", when there is one); plain words stay as they are.
std::string ResolvePath(std::string_view value, std::string_view exeDir,
                        std::string_view driveRoot);

// Joins `rel` to the folder `base`; a leading "\" starts at the first-level folder of `base`,
// and ".." never climbs above that folder.
std::string JoinPath(std::string_view base, std::string_view rel);

}  // namespace quire::core
