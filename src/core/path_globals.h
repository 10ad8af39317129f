// The folders every part of the book works from, as virtual Windows paths.
#pragma once

#include <string>
#include <string_view>

namespace quire::core {

struct PathGlobals {
  std::string ExeDir;          // the book folder, with a trailing backslash
  std::string DriveRoot;       // its drive, lower case, plus "\" (the "<cd>" token)
  std::string ArchiveRootDir;  // the folder the content archive's root stands for
  std::string SystemDir;
  std::string WindowsDir;
  std::string TempDir;
};

// `exeDir` without its first "run\", found without regard to case: "d:\run\" -> "d:\",
// "d:\Brun\" -> "d:\B".
std::string ArchiveRootFor(std::string_view exeDir);

// The drive of a folder, lower case, plus "\": "D:\run\" -> "d:\".
std::string DriveRootOf(std::string_view exeDir);

// The globals of a book whose folder is `exeDir`; `tempDir` is the host temporary folder
// already written as a virtual path.
PathGlobals ComputePathGlobals(std::string_view exeDir, std::string_view tempDir);

}  // namespace quire::core
