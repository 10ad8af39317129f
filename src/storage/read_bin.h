// The resource pack Pak.dhl: a directory of named entries, each a run of bytes of the file,
// and the descrambling of the description files stored in it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/virtual_fs.h"

namespace quire::storage {

struct RBin {
  std::string Name;  // Windows-1251
  std::uint32_t Offset = 0;
  std::uint32_t Size = 0;
};
using TDynamicBinArray = std::vector<RBin>;

class TReadBin {
 public:
  static constexpr std::uint32_t kMaxNameLength = 256;

  explicit TReadBin(const platform::VirtualFs& fs) : fs_(fs) {}

  // Reads the directory of the pack at the virtual `path`. Throws FileOpenError when the file
  // cannot be read and DamagedFileError when the directory is truncated, a name is longer
  // than 256 bytes or an entry lies outside the file.
  void LoadDirectory(std::string_view path);
  const TDynamicBinArray& Directory() const { return directory_; }
  const std::string& PackPath() const { return path_; }

  // Whether some entry is named `name`, without regard to case.
  bool Exists(std::string_view name) const;
  // Copies the first entry named `name` into `block`; its size, or -1 when there is no such
  // entry or it cannot be read.
  int ReadToBuffer(std::string_view name, std::string& block) const;

 private:
  const RBin* Find(std::string_view name) const;

  const platform::VirtualFs& fs_;
  std::string path_;
  TDynamicBinArray directory_;
};

// Appends the text lines of a scrambled description file (`count` bytes of `block`; no line
// when `count` < 1), ASCII-lower-cased when `lowerCase`.
void DescrambleLines(std::string_view block, int count, std::vector<std::string>& lines,
                     bool lowerCase);

}  // namespace quire::storage
