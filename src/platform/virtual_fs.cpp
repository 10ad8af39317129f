#include "platform/virtual_fs.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <system_error>

#include "platform/text.h"

namespace quire::platform {

namespace fs = std::filesystem;

namespace {

bool IsDriveLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Splits the part after the drive into components, folding "." and "..".
std::vector<std::string_view> Components(std::string_view rest) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view part = rest.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  return parts;
}

bool Exists(const fs::path& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The faXxx bits of a host entry; a name starting with "." counts as hidden.
std::optional<unsigned> HostAttributes(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return std::nullopt;
  unsigned attr = 0;
  if (fs::is_directory(status)) {
    attr |= faDirectory;
  } else {
    attr |= faArchive;
  }
  if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) attr |= faReadOnly;
  const std::string name = path.filename().string();
  if (!name.empty() && name[0] == '.') attr |= faHidden;
  return attr;
}

bool AttributesAllowed(unsigned attr, unsigned mask) {
  const unsigned excluded = ~mask & (faHidden | faSysFile | faVolumeID | faDirectory);
  return (attr & excluded) == 0;
}

bool MatchFrom(std::string_view name, std::string_view mask) {
  // Iterative wildcard match with single-star backtracking.
  size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() &&
               (mask[m] == '?' || AnsiUpperChar(mask[m]) == AnsiUpperChar(name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

// True the first time a host folder is met, whatever path leads to it.
bool FirstVisit(const std::optional<fs::path>& folder, std::set<std::pair<dev_t, ino_t>>& seen) {
  struct stat st;
  if (!folder || ::stat(folder->c_str(), &st) != 0) return false;
  return seen.insert({st.st_dev, st.st_ino}).second;
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (MatchFrom(name, mask)) return true;
  if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*") {
    return name.find('.') == std::string_view::npos &&
           MatchFrom(name, mask.substr(0, mask.size() - 2));
  }
  if (!mask.empty() && mask.back() == '.') {
    return name.find('.') == std::string_view::npos &&
           MatchFrom(name, mask.substr(0, mask.size() - 1));
  }
  return false;
}

VirtualFs::VirtualFs(DriveTable drives) : drives_(std::move(drives)) {}

const std::vector<std::string>& VirtualFs::FolderEntries(const fs::path& folder,
                                                         bool reread) const {
  auto it = folderCache_.find(folder.native());
  if (it != folderCache_.end() && !reread) return it->second;
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator dir(folder, ec), end; !ec && dir != end; dir.increment(ec)) {
    names.push_back(dir->path().filename().string());
  }
  auto& slot = folderCache_[folder.native()];
  slot = std::move(names);
  return slot;
}

std::optional<std::string> VirtualFs::MatchComponent(const fs::path& folder,
                                                     std::string_view name) const {
  const std::string exact = Cp1251ToUtf8(name);
  if (Exists(folder / exact)) return exact;
  std::lock_guard lock(cacheMutex_);
  // A cached folder may be stale, since the program creates files while it runs: a miss
  // reads it again.
  for (bool reread : {false, true}) {
    for (const std::string& host : FolderEntries(folder, reread)) {
      const auto cp = Utf8ToCp1251(host);
      if (cp && SameText(*cp, name) && Exists(folder / host)) return host;
    }
  }
  return std::nullopt;
}

std::optional<fs::path> VirtualFs::ToHost(std::string_view path) const {
  if (path.find('\0') != std::string_view::npos) return std::nullopt;
  if (path.size() < 2 || path[1] != ':' || !IsDriveLetter(path[0])) return std::nullopt;
  const auto root = drives_.HostFolder(path[0]);
  if (!root) return std::nullopt;
  fs::path host = *root;
  bool lookingUp = true;
  for (const std::string_view part : Components(path.substr(2))) {
    std::optional<std::string> found;
    if (lookingUp) found = MatchComponent(host, part);
    if (!found) {
      lookingUp = false;  // nothing below a missing folder can exist
      found = Cp1251ToUtf8(part);
    }
    host /= *found;
  }
  return host;
}

std::optional<std::string> VirtualFs::ToVirtual(const fs::path& hostPath) const {
  const fs::path path = fs::absolute(hostPath).lexically_normal();
  std::optional<char> best;
  std::ptrdiff_t bestDepth = -1;
  for (const auto& [letter, folder] : drives_.Entries()) {
    const std::ptrdiff_t depth = std::distance(folder.begin(), folder.end());
    if (depth > bestDepth && ToVirtualOn(letter, path)) {
      best = letter;
      bestDepth = depth;
    }
  }
  if (!best) return std::nullopt;
  return ToVirtualOn(*best, path);
}

std::optional<std::string> VirtualFs::ToVirtualOn(char drive, const fs::path& hostPath) const {
  const auto root = drives_.HostFolder(drive);
  if (!root) return std::nullopt;
  const fs::path rel = fs::absolute(hostPath).lexically_normal().lexically_relative(*root);
  if (rel.empty() || *rel.begin() == "..") return std::nullopt;
  std::string out{AsciiLowerChar(drive), ':'};
  for (const fs::path& part : rel) {
    const std::string name = part.string();
    if (name == "." || name.empty()) continue;
    const auto cp = Utf8ToCp1251(name);
    if (!cp) return std::nullopt;
    out += '\\';
    out += *cp;
  }
  if (out.size() == 2) out += '\\';
  return out;
}

bool VirtualFs::FileExists(std::string_view path) const {
  const auto attr = FileGetAttr(path);
  return attr && !(*attr & faDirectory);
}

bool VirtualFs::DirectoryExists(std::string_view path) const {
  const auto attr = FileGetAttr(path);
  return attr && (*attr & faDirectory);
}

std::optional<unsigned> VirtualFs::FileGetAttr(std::string_view path) const {
  const auto host = ToHost(path);
  if (!host) return std::nullopt;
  return HostAttributes(*host);
}

std::optional<std::string> VirtualFs::ReadFile(std::string_view path) const {
  const auto host = ToHost(path);
  if (!host || fs::is_directory(*host)) return std::nullopt;
  std::ifstream in(*host, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return data;
}

bool VirtualFs::WriteFile(std::string_view path, std::string_view data) const {
  const auto host = ToHost(path);
  if (!host) return false;
  std::ofstream out(*host, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  out.close();
  return !out.fail();
}

bool VirtualFs::CopyFile(std::string_view from, std::string_view to) const {
  const auto source = ToHost(from);
  const auto target = ToHost(to);
  if (!source || !target || !FileExists(from)) return false;
  if (const auto attr = FileGetAttr(to); attr && (*attr & (faReadOnly | faDirectory))) {
    return false;
  }
  std::error_code ec;
  fs::copy_file(*source, *target, fs::copy_options::overwrite_existing, ec);
  return !ec;
}

bool VirtualFs::ForceDirectories(std::string_view path) const {
  const auto host = ToHost(path);
  if (!host) return false;
  std::error_code ec;
  fs::create_directories(*host, ec);
  return fs::is_directory(*host, ec);
}

bool VirtualFs::DeleteFile(std::string_view path) const {
  const auto attr = FileGetAttr(path);
  if (!attr || (*attr & (faReadOnly | faDirectory))) return false;
  std::error_code ec;
  return fs::remove(*ToHost(path), ec);
}

bool VirtualFs::RemoveDir(std::string_view path) const {
  if (!DirectoryExists(path)) return false;
  std::error_code ec;
  return fs::remove(*ToHost(path), ec);
}

bool VirtualFs::SetReadOnly(std::string_view path, bool readOnly) const {
  const auto host = ToHost(path);
  if (!host || !Exists(*host)) return false;
  std::error_code ec;
  fs::permissions(*host, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
  if (!ec && !readOnly) {
    // Others' and the group's write bits are not given back: only the owner's.
    fs::permissions(*host, fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove, ec);
  }
  return !ec;
}

std::vector<SearchRec> VirtualFs::FindFiles(std::string_view folderAndMask,
                                            unsigned attrMask) const {
  const std::string folder = ExtractFilePath(folderAndMask);
  const std::string mask = ExtractFileName(folderAndMask);
  std::vector<SearchRec> found;
  const auto host = ToHost(folder);
  if (!host || mask.empty()) return found;
  std::error_code ec;
  for (fs::directory_iterator dir(*host, ec), end; !ec && dir != end; dir.increment(ec)) {
    const auto name = Utf8ToCp1251(dir->path().filename().string());
    if (!name || !MatchesMask(*name, mask)) continue;  // unnameable in the book's code page
    const auto attr = HostAttributes(dir->path());
    if (!attr || !AttributesAllowed(*attr, attrMask)) continue;
    SearchRec rec{*name, *attr, 0};
    if (!(*attr & faDirectory)) rec.Size = dir->file_size(ec);
    ec.clear();
    found.push_back(std::move(rec));
  }
  std::sort(found.begin(), found.end(), [](const SearchRec& a, const SearchRec& b) {
    const int order = AnsiCompareText(a.Name, b.Name);
    return order != 0 ? order < 0 : a.Name < b.Name;
  });
  return found;
}

std::vector<std::string> VirtualFs::ListFiles(std::string_view folder,
                                              const std::vector<std::string>& masks, bool recurse,
                                              bool includeFolders) const {
  std::vector<std::string> result;
  if (folder.empty()) return result;
  constexpr unsigned kFileAttrMask = faReadOnly | faHidden | faSysFile | faArchive;  // 39
  std::vector<std::string> folders{IncludeTrailingBackslash(folder)};
  std::set<std::pair<dev_t, ino_t>> seen;  // a link back up the tree must not loop
  for (size_t i = 0; i < folders.size(); ++i) {
    const std::string current = folders[i];  // copied: the list grows below
    if (includeFolders) result.push_back(current);
    for (const std::string& mask : masks) {
      for (const SearchRec& rec : FindFiles(current + AsciiLower(mask), kFileAttrMask)) {
        result.push_back(current + rec.Name);
      }
    }
    if (!recurse || !FirstVisit(ToHost(current), seen)) continue;
    for (const SearchRec& rec : FindFiles(current + "*.*", faAnyFile)) {
      if (rec.Attr & faDirectory) folders.push_back(current + rec.Name + "\\");
    }
  }
  return result;
}

}  // namespace quire::platform
