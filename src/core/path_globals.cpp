#include "core/path_globals.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace quire::core {

using platform::IncludeTrailingBackslash;

std::string ArchiveRootFor(std::string_view exeDir) {
  std::string root(exeDir);
  const size_t at = platform::FindText(root, "run\\");
  if (at != std::string::npos) root.erase(at, 4);
  return root;
}

std::string DriveRootOf(std::string_view exeDir) {
  return platform::AsciiLower(platform::ExtractFileDrive(exeDir)) + "\\";
}

PathGlobals ComputePathGlobals(std::string_view exeDir, std::string_view tempDir) {
  PathGlobals g;
  g.ExeDir = IncludeTrailingBackslash(exeDir);
  g.DriveRoot = DriveRootOf(g.ExeDir);
  g.ArchiveRootDir = ArchiveRootFor(g.ExeDir);
  g.WindowsDir = std::string(1, platform::DriveTable::kUserDrive) + ":\\windows\\";
  g.SystemDir = g.WindowsDir + "system\\";
  g.TempDir = IncludeTrailingBackslash(tempDir);
  return g;
}

}  // namespace quire::core
