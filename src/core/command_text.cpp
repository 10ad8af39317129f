#include "core/command_text.h"

#include "core/resolve_path.h"

namespace quire::core {

namespace {
constexpr auto npos = std::string_view::npos;

std::string Resolved(std::string_view value, const PathGlobals& paths) {
  return ResolvePath(value, paths.ExeDir, paths.DriveRoot);
}
}  // namespace

std::string CommandVerb(std::string_view command) {
  const size_t first = command.find('=');
  return first == npos ? std::string() : std::string(command.substr(0, first));
}

std::string FirstArgument(std::string_view command, const PathGlobals& paths) {
  const size_t first = command.find('=');
  if (first == npos) return {};
  const size_t last = command.rfind('=');
  const std::string_view arg =
      last == first ? command.substr(first + 1) : command.substr(first + 1, last - first - 1);
  return Resolved(arg, paths);
}

std::string SecondArgument(std::string_view command, const PathGlobals& paths) {
  const size_t first = command.find('=');
  const size_t last = command.rfind('=');
  if (first == npos || first == last) return {};
  return Resolved(command.substr(last + 1), paths);
}

}  // namespace quire::core
