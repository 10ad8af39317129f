// The book's view of the file system: virtual Windows paths resolved through the drive table,
// each component matched against the host without regard to case, and the file operations the
// book expects on them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/paths.h"

namespace quire::platform {

// File attribute bits as the book's file search knows them.
enum FileAttr : unsigned {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faAnyFile = 0x3F,
};

struct SearchRec {
  std::string Name;  // Windows-1251
  unsigned Attr = 0;
  std::uint64_t Size = 0;
};

class VirtualFs {
 public:
  explicit VirtualFs(DriveTable drives);

  const DriveTable& Drives() const { return drives_; }

  // The host path of an absolute virtual path ("d:\x\y"; "/" is taken as "\"), components
  // matched without regard to case. A component that matches nothing keeps its own spelling,
  // so a new file can be created under that name. "." and ".." are folded, never above the
  // drive's folder. Empty when the path has no drive, names an unmapped drive or holds a NUL.
  std::optional<std::filesystem::path> ToHost(std::string_view path) const;
  // The virtual path of a host path, on the drive with the deepest folder that holds it.
  // Empty when a component cannot be written in Windows-1251.
  std::optional<std::string> ToVirtual(const std::filesystem::path& hostPath) const;
  // The same on a given drive; empty when the drive's folder does not hold the path.
  std::optional<std::string> ToVirtualOn(char drive, const std::filesystem::path& hostPath) const;

  bool FileExists(std::string_view path) const;  // a file, not a folder
  bool DirectoryExists(std::string_view path) const;
  std::optional<std::string> ReadFile(std::string_view path) const;
  bool WriteFile(std::string_view path, std::string_view data) const;
  // Copies, replacing an existing destination unless it is read-only.
  bool CopyFile(std::string_view from, std::string_view to) const;
  // Creates the folder and every missing parent; true when the folder exists afterwards.
  bool ForceDirectories(std::string_view path) const;
  // As on Windows, a read-only file is not deleted.
  bool DeleteFile(std::string_view path) const;
  bool RemoveDir(std::string_view path) const;  // an empty folder only
  // The faXxx bits of a file or folder, or empty when it does not exist.
  std::optional<unsigned> FileGetAttr(std::string_view path) const;
  // Read-only maps to the owner's write permission.
  bool SetReadOnly(std::string_view path, bool readOnly) const;

  // The entries of a folder matching a wildcard mask ("d:\x\*.htm*"), without "." and "..",
  // sorted by name. Normal, read-only and archive entries always match; hidden, system and
  // folder entries only when `attrMask` holds their bit.
  std::vector<SearchRec> FindFiles(std::string_view folderAndMask, unsigned attrMask) const;

  // Breadth-first listing: each folder's matching files (and the folder itself when
  // `includeFolders`) before those of its sub-folders.
  std::vector<std::string> ListFiles(std::string_view folder, const std::vector<std::string>& masks,
                                     bool recurse, bool includeFolders) const;

 private:
  // Host name in `folder` equal to `name` (Windows-1251) without regard to case.
  std::optional<std::string> MatchComponent(const std::filesystem::path& folder,
                                            std::string_view name) const;
  const std::vector<std::string>& FolderEntries(const std::filesystem::path& folder,
                                                bool reread) const;

  DriveTable drives_;
  mutable std::mutex cacheMutex_;
  // Host folder -> the names in it, as last read.
  mutable std::unordered_map<std::string, std::vector<std::string>> folderCache_;
};

// Windows wildcard match of a Windows-1251 name, without regard to case: "*" any run, "?" one
// character; a mask ending in ".*" also matches names without a dot ("*.*" matches all).
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace quire::platform
