#include "storage/content_archive.h"

#include <zlib.h>

#include "platform/text.h"
#include "storage/storage_error.h"

namespace quire::storage {

namespace {

// zlib cannot inflate more than about 1032 bytes from one, so a larger claimed size is a lie
// that must not make us allocate.
constexpr std::uint64_t kMaxInflateRatio = 1032;
constexpr std::uint64_t kInflateSlack = 1024;

std::uint32_t Word(std::string_view bytes, size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

bool PlausibleInflatedSize(std::uint64_t packed, std::uint64_t size) {
  return size <= packed * kMaxInflateRatio + kInflateSlack;
}

// Inflates `packed` into exactly `size` bytes; false when the data is damaged.
bool Inflate(std::string_view packed, std::uint32_t size, std::string& out) {
  out.resize(size);
  uLongf length = size;
  const int rc = ::uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                              reinterpret_cast<const Bytef*>(packed.data()), packed.size());
  return rc == Z_OK && length == size;
}

}  // namespace

std::string NormaliseArchivePath(std::string_view path) {
  std::string out = platform::UpperAsciiAndBasicCyrillic(path);
  for (char& c : out) {
    if (c == '/') c = '\\';
  }
  return out;
}

void ContentArchive::Damaged(const std::string& what) const {
  throw DamagedFileError(shownName_ + ": " + what);
}

void ContentArchive::OpenArchive(const platform::VirtualFs& fs, std::string_view path) {
  file_.reset();
  ranges_.clear();
  entries_.clear();
  root_.clear();
  shownName_ = platform::Cp1251ToUtf8(path);
  const auto host = fs.ToHost(path);
  auto file = host ? platform::ReadOnlyFile::Open(*host) : nullptr;
  if (!file) throw FileOpenError(shownName_ + ": cannot open the content archive");

  std::string header;
  if (!file->ReadAt(0, 8, header)) Damaged("the header is truncated");
  const std::uint32_t span = Word(header, 0) ^ kArchiveSpanMask;  // D - P
  const std::uint32_t packed = Word(header, 4) ^ kArchivePackedMask;
  const std::uint64_t size = std::uint64_t{span} + packed;
  std::string stored;
  if (!file->ReadAt(8, packed, stored)) Damaged("the directory runs past the end of the file");
  std::string block;
  if (size == packed) {
    block = std::move(stored);
  } else if (size > UINT32_MAX || !PlausibleInflatedSize(packed, size)) {
    Damaged("the directory claims an impossible size of " + std::to_string(size) + " bytes");
  } else if (!Inflate(stored, static_cast<std::uint32_t>(size), block)) {
    Damaged("the directory's compressed data is damaged");
  }
  dataStart_ = 8 + std::uint64_t{packed};
  file_ = std::move(file);
  try {
    ReadDirectory(block);
  } catch (...) {
    file_.reset();
    ranges_.clear();
    entries_.clear();
    throw;
  }
}

void ContentArchive::ReadDirectory(std::string_view block) {
  if (block.size() < 16) Damaged("the directory is shorter than its header");
  const std::uint32_t rangeCount = Word(block, 0);
  const std::uint32_t entryCount = Word(block, 4);
  rootRange_ = currentRange_ = Word(block, 12);
  const std::uint64_t needed =
      16 + std::uint64_t{rangeCount} * 8 + std::uint64_t{entryCount} * kArchiveEntrySize;
  if (needed > block.size()) Damaged("the directory's tables run past its end");
  if (rootRange_ >= rangeCount) Damaged("the root folder names a range that does not exist");

  ranges_.resize(rangeCount);
  for (std::uint32_t r = 0; r < rangeCount; ++r) {
    ranges_[r] = {Word(block, 16 + 8 * r), Word(block, 20 + 8 * r)};
    if (std::uint64_t{ranges_[r].First} + ranges_[r].Count > entryCount) {
      Damaged("range " + std::to_string(r) + " holds entries that do not exist");
    }
  }
  const std::uint64_t dataSize = file_->Size() - dataStart_;
  entries_.resize(entryCount);
  for (std::uint32_t e = 0; e < entryCount; ++e) {
    const std::string_view raw =
        block.substr(16 + 8 * std::uint64_t{rangeCount} + kArchiveEntrySize * e, kArchiveEntrySize);
    ArchiveEntry& entry = entries_[e];
    const std::string_view name = raw.substr(0, kArchiveNameSize);
    entry.Name = std::string(name.substr(0, std::min(name.size(), name.find('\0'))));
    entry.Offset = Word(raw, 64);
    entry.Packed = Word(raw, 68);
    entry.Size = Word(raw, 72);
    entry.Kind = Word(raw, 76);
    const std::string which =
        "entry " + std::to_string(e) + " (" + platform::Cp1251ToUtf8(entry.Name) + ")";
    if (entry.Kind == ArchiveEntry::kFile) {
      if (std::uint64_t{entry.Offset} + entry.Packed > dataSize) {
        Damaged(which + " lies outside the file");
      }
      if (entry.Packed != entry.Size && !PlausibleInflatedSize(entry.Packed, entry.Size)) {
        Damaged(which + " claims an impossible size of " + std::to_string(entry.Size) + " bytes");
      }
    } else if (entry.Kind == ArchiveEntry::kFolder && entry.Offset >= rangeCount) {
      Damaged(which + " names a range that does not exist");
    }
  }
  CheckTree();
}

// Folders must form a tree below the root: a range that is the content of two folders, or of
// a folder and the root, could make a cycle or an endless listing.
void ContentArchive::CheckTree() const {
  std::vector<bool> used(ranges_.size(), false);
  used[rootRange_] = true;
  for (size_t e = 0; e < entries_.size(); ++e) {
    if (entries_[e].Kind != ArchiveEntry::kFolder) continue;
    const std::uint32_t range = entries_[e].Offset;
    if (used[range]) {
      Damaged("range " + std::to_string(range) + " is the content of more than one folder");
    }
    used[range] = true;
  }
}

void ContentArchive::SetArchiveRoot(std::string_view folder) {
  root_ = NormaliseArchivePath(folder.substr(0, std::min<size_t>(folder.size(), kMaxPath - 1)));
}

int ContentArchive::FindInRange(std::uint32_t range, std::string_view name) const {
  const ArchiveRange& r = ranges_[range];
  for (std::uint32_t e = r.First; e < r.First + r.Count; ++e) {
    if (entries_[e].Name == name) return static_cast<int>(e);
  }
  return -1;
}

int ContentArchive::FindArchiveFile(std::string_view path) const {
  if (!IsOpen() || path.size() > kMaxPath) return -1;
  std::string_view rest;
  const std::string normal = NormaliseArchivePath(path);
  rest = normal;
  if (rest.substr(0, root_.size()) == root_) rest.remove_prefix(root_.size());
  std::uint32_t range = currentRange_;
  if (!rest.empty() && rest.front() == '\\') {
    rest.remove_prefix(1);
    range = rootRange_;
  }
  for (;;) {
    const size_t cut = rest.find('\\');
    const std::string_view component = rest.substr(0, cut);
    if (component.size() > kMaxComponent) return -1;
    const int index = FindInRange(range, component);
    if (index < 0) return -1;
    const ArchiveEntry& entry = entries_[index];
    if (cut == std::string_view::npos) return entry.Kind == ArchiveEntry::kFile ? index : -1;
    if (entry.Kind != ArchiveEntry::kFolder) return -1;
    range = entry.Offset;
    rest.remove_prefix(cut + 1);
  }
}

int ContentArchive::ExtractEntry(int index, std::string& out) const {
  if (!IsOpen() || index < 0 || static_cast<size_t>(index) >= entries_.size()) return -1;
  const ArchiveEntry& entry = entries_[index];
  if (entry.Kind != ArchiveEntry::kFile) return -1;
  const auto which = [&entry] { return "entry " + platform::Cp1251ToUtf8(entry.Name); };
  const std::uint64_t at = dataStart_ + entry.Offset;
  if (entry.Packed == entry.Size) {
    if (!file_->ReadAt(at, entry.Packed, out)) Damaged(which() + " cannot be read");
    return 0;
  }
  if (scratchSize_ < entry.Packed) {
    scratch_.reset(new char[entry.Packed]);  // not cleared: it is read over at once
    scratchSize_ = entry.Packed;
  }
  if (!file_->ReadAt(at, entry.Packed, scratch_.get())) Damaged(which() + " cannot be read");
  if (!Inflate(std::string_view(scratch_.get(), entry.Packed), entry.Size, out)) {
    out.clear();
    Damaged(which() + " is damaged: its data does not inflate");
  }
  return 0;
}

void ContentArchive::ListRange(std::uint32_t range, const std::string& prefix,
                               std::vector<std::pair<std::string, int>>& out) const {
  const ArchiveRange& r = ranges_[range];
  for (std::uint32_t e = r.First; e < r.First + r.Count; ++e) {
    const ArchiveEntry& entry = entries_[e];
    if (!entry.Name.empty() && entry.Name[0] == '.') continue;
    const std::string path = prefix + entry.Name;
    if (path.size() > kMaxPath) continue;
    if (entry.Kind == ArchiveEntry::kFolder) {
      ListRange(entry.Offset, path + "\\", out);
    } else if (entry.Kind == ArchiveEntry::kFile) {
      out.emplace_back(path, static_cast<int>(e));
    }
  }
}

std::vector<std::pair<std::string, int>> ContentArchive::ListArchiveEntries() const {
  std::vector<std::pair<std::string, int>> files;
  if (IsOpen()) ListRange(rootRange_, "", files);
  return files;
}

std::vector<std::string> ContentArchive::ListArchiveFiles() const {
  std::vector<std::string> paths;
  for (auto& [path, index] : ListArchiveEntries()) paths.push_back(std::move(path));
  return paths;
}

}  // namespace quire::storage
