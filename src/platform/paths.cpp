#include "platform/paths.h"

#include <cstdlib>

#include "platform/text.h"

namespace quire::platform {

namespace fs = std::filesystem;

namespace {

// Index just past the last "\\" or ":", or 0. As on Windows, "/" is no delimiter here.
size_t NameStart(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    const char c = path[i - 1];
    if (c == '\\' || c == ':') return i;
  }
  return 0;
}

std::string EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

}  // namespace

std::string ExtractFileDrive(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // "\\server\share": the drive runs up to the backslash after the share name.
    size_t backslashes = 0;
    size_t i = 2;
    for (; i < path.size(); ++i) {
      if (path[i] == '\\' && ++backslashes == 2) break;
    }
    return std::string(path.substr(0, i));
  }
  return {};
}

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(NameStart(path)));
}

std::string ExtractFileExt(std::string_view path) {
  const std::string_view name = path.substr(NameStart(path));
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string IncludeTrailingBackslash(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != '\\') out += '\\';
  return out;
}

std::string ExcludeTrailingBackslash(std::string_view path) {
  std::string out(path);
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

void DriveTable::Map(char letter, const fs::path& hostFolder) {
  drives_[AsciiLowerChar(letter)] = fs::absolute(hostFolder).lexically_normal();
}

std::optional<fs::path> DriveTable::HostFolder(char letter) const {
  const auto it = drives_.find(AsciiLowerChar(letter));
  if (it == drives_.end()) return std::nullopt;
  return it->second;
}

DriveTable DriveTable::ForBook(const fs::path& mediumRoot, const fs::path& userPrefix) {
  DriveTable table;
  table.Map(kHostDrive, "/");
  table.Map(kUserDrive, userPrefix);
  table.Map(kBookDrive, mediumRoot);
  return table;
}

fs::path MediumRootOf(const fs::path& bookFolder) {
  const fs::path folder = fs::absolute(bookFolder).lexically_normal();
  // A trailing separator leaves an empty last component; look at the folder's own name.
  const fs::path trimmed = folder.has_filename() ? folder : folder.parent_path();
  if (AsciiLower(trimmed.filename().string()) == "run") return trimmed.parent_path();
  return trimmed;
}

fs::path UserPrefix() {
  if (const std::string prefix = EnvOrEmpty("QUIRE_PREFIX"); !prefix.empty()) return prefix;
  if (const std::string data = EnvOrEmpty("XDG_DATA_HOME"); !data.empty()) {
    return fs::path(data) / "quire";
  }
  const std::string home = EnvOrEmpty("HOME");
  return fs::path(home.empty() ? "/tmp" : home) / ".local" / "share" / "quire";
}

fs::path HostTempFolder() {
  const std::string tmp = EnvOrEmpty("TMPDIR");
  return tmp.empty() ? fs::path("/tmp") : fs::path(tmp);
}

}  // namespace quire::platform
