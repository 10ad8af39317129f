// Windows-style paths of the book ("d:\run\html\ch1.htm") and the drive table that maps each
// virtual drive to a host folder.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quire::platform {

// The usual splitting of Windows paths: "\" and a drive's ":" end a path part, "/" does not.
std::string ExtractFileDrive(std::string_view path);  // "d:" or "\\server\share"; else ""
std::string ExtractFilePath(std::string_view path);   // up to and including the last "\" or ":"
std::string ExtractFileName(std::string_view path);   // after the last "\" or ":"
std::string ExtractFileExt(std::string_view path);    // from the name's last ".", or ""
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);

// Which host folder each virtual drive letter stands for.
class DriveTable {
 public:
  // The book's drive letter when none is given.
  static constexpr char kBookDrive = 'd';
  static constexpr char kUserDrive = 'c';
  static constexpr char kHostDrive = 'z';

  void Map(char letter, const std::filesystem::path& hostFolder);
  std::optional<std::filesystem::path> HostFolder(char letter) const;
  const std::map<char, std::filesystem::path>& Entries() const { return drives_; }

  // The standard table of a book: its drive for `mediumRoot`, c: for the per-user prefix,
  // z: for the host root.
  static DriveTable ForBook(const std::filesystem::path& mediumRoot,
                            const std::filesystem::path& userPrefix);

 private:
  std::map<char, std::filesystem::path> drives_;  // lower-case letter -> absolute host folder
};

// The medium root of a book folder: its parent when the folder is named "run" (any case),
// otherwise the folder itself.
std::filesystem::path MediumRootOf(const std::filesystem::path& bookFolder);

// The per-user prefix: $QUIRE_PREFIX, else $XDG_DATA_HOME/quire, else ~/.local/share/quire.
std::filesystem::path UserPrefix();

// The host's temporary folder ($TMPDIR, else /tmp).
std::filesystem::path HostTempFolder();

}  // namespace quire::platform
