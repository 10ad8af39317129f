// The packed content archive interface.dat: a tree of folders ("ranges") and 80-byte entries,
// zlib-compressed, whose paths are matched in upper-case form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/read_only_file.h"
#include "platform/virtual_fs.h"

namespace quire::storage {

struct ArchiveRange {
  std::uint32_t First = 0;
  std::uint32_t Count = 0;
};

struct ArchiveEntry {
  static constexpr std::uint32_t kFile = 1;
  static constexpr std::uint32_t kFolder = 2;
  std::string Name;          // normalised, at most 64 bytes
  std::uint32_t Offset = 0;  // file: data offset in the data area; folder: its range
  std::uint32_t Packed = 0;  // file: stored size
  std::uint32_t Size = 0;    // file: size after inflation
  std::uint32_t Kind = 0;
};

// The header words are masked with these.
inline constexpr std::uint32_t kArchiveSpanMask = 0x5C3A91D2;
inline constexpr std::uint32_t kArchivePackedMask = 0x17E4B06F;
inline constexpr size_t kArchiveEntrySize = 80;
inline constexpr size_t kArchiveNameSize = 64;

// "/" to "\", ASCII and the basic Cyrillic letters to upper case ("ё" stays as it is).
std::string NormaliseArchivePath(std::string_view path);

class ContentArchive {
 public:
  static constexpr size_t kMaxPath = 1024;
  static constexpr size_t kMaxComponent = 100;

  // Opens the archive at the virtual `path` and reads its directory; clears the root prefix.
  // Throws FileOpenError when it cannot be read and DamagedFileError when the directory does
  // not inflate or points outside itself or the file.
  void OpenArchive(const platform::VirtualFs& fs, std::string_view path);
  bool IsOpen() const { return file_ != nullptr; }

  void SetArchiveRoot(std::string_view folder);
  const std::string& Root() const { return root_; }

  // The entry index of the file `path`, or -1.
  int FindArchiveFile(std::string_view path) const;
  // The bytes of the file entry `index` into `out`: 0, or -1 when it is not a file. Throws
  // DamagedFileError when the stored data cannot be read or does not inflate to its size.
  int ExtractEntry(int index, std::string& out) const;
  // Every file, as a normalised path relative to the archive root, depth first.
  std::vector<std::string> ListArchiveFiles() const;
  // The same paths with the index of each file's entry.
  std::vector<std::pair<std::string, int>> ListArchiveEntries() const;

  const std::vector<ArchiveRange>& Ranges() const { return ranges_; }
  const std::vector<ArchiveEntry>& Entries() const { return entries_; }
  std::uint32_t RootRange() const { return rootRange_; }

 private:
  void ReadDirectory(std::string_view block);
  void CheckTree() const;
  int FindInRange(std::uint32_t range, std::string_view name) const;
  void ListRange(std::uint32_t range, const std::string& prefix,
                 std::vector<std::pair<std::string, int>>& out) const;
  [[noreturn]] void Damaged(const std::string& what) const;

  std::unique_ptr<platform::ReadOnlyFile> file_;
  std::string shownName_;  // UTF-8, for messages
  std::vector<ArchiveRange> ranges_;
  std::vector<ArchiveEntry> entries_;
  std::uint32_t rootRange_ = 0;
  std::uint32_t currentRange_ = 0;
  std::uint64_t dataStart_ = 0;
  std::string root_;
  // Compressed bytes of the entry being extracted, kept between extractions so that reading
  // many files allocates once. The archive is used from one thread only.
  mutable std::unique_ptr<char[]> scratch_;
  mutable size_t scratchSize_ = 0;
};

}  // namespace quire::storage
