#include "core/resolve_path.h"

#include "platform/text.h"

namespace quire::core {

namespace {

constexpr auto npos = std::string::npos;

// The anchor: the backslash that ends the first folder name (or the root's backslash), as a
// count of the characters up to and including it.
size_t AnchorLength(std::string& base) {
  size_t anchor = 0;
  const size_t drive = base.find(":\\");
  if (drive != npos) {
    const size_t next = base.find('\\', drive + 2);
    anchor = (next != npos ? next : drive + 1) + 1;
  } else if (const size_t first = base.find('\\'); first != npos) {
    anchor = first + 1;
  }
  if (base.find('\\') == npos) {
    base += '\\';
    anchor = base.size();
  } else if (base.back() != '\\') {
    base += '\\';
  }
  return anchor;
}

}  // namespace

std::string JoinPath(std::string_view baseIn, std::string_view relIn) {
  std::string base(baseIn);
  const size_t anchor = AnchorLength(base);
  const std::string rel = platform::Trim(relIn);
  std::string result =
      !rel.empty() && rel[0] == '\\' ? base.substr(0, anchor) + rel.substr(1) : base + rel;
  // Fold "\..\": drop the folder name before it, or only "..\" at or above the anchor.
  for (size_t at = result.find("\\..\\"); at != npos; at = result.find("\\..\\")) {
    if (at + 1 > anchor) {
      const size_t before = at == 0 ? npos : result.rfind('\\', at - 1);
      if (before == npos) break;  // no folder name to drop
      result.erase(before + 1, at + 3 - before);
    } else {
      result.erase(at + 1, 3);
    }
  }
  return result;
}

std::string ResolvePath(std::string_view value, std::string_view exeDir,
                        std::string_view driveRoot) {
  if (const size_t cd = value.find("<cd>"); cd != npos) {
    return std::string(value.substr(0, cd)) + std::string(driveRoot) +
           std::string(value.substr(cd + 4));
  }
  if (value.find(":\\") != npos) return std::string(value);
  if (value.find_first_of(".\\") == npos) return std::string(value);
  const size_t equals = value.rfind('=');
  if (equals == npos) return JoinPath(exeDir, value);
  return std::string(value.substr(0, equals + 1)) + JoinPath(exeDir, value.substr(equals + 1));
}

}  // namespace quire::core
