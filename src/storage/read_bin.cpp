#include "storage/read_bin.h"

#include "platform/read_only_file.h"
#include "platform/text.h"
#include "storage/storage_error.h"

namespace quire::storage {

namespace {

std::uint32_t LittleEndian(std::string_view bytes) {
  std::uint32_t value = 0;
  for (size_t i = bytes.size(); i > 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[i - 1]);
  }
  return value;
}

// Reads the directory field by field, in blocks, refusing what runs past the end of the file.
class DirectoryReader {
 public:
  DirectoryReader(const platform::ReadOnlyFile& file, std::string_view name)
      : file_(file), name_(name) {}

  std::uint32_t Number(int width) { return LittleEndian(Bytes(static_cast<std::uint32_t>(width))); }
  std::string Bytes(std::uint32_t count) {
    if (position_ + count > blockStart_ + block_.size()) Refill(count);
    std::string out = block_.substr(position_ - blockStart_, count);
    position_ += count;
    return out;
  }

 private:
  static constexpr std::uint64_t kBlock = 64 * 1024;

  void Refill(std::uint32_t needed) {
    const std::uint64_t size = std::min<std::uint64_t>(
        std::max<std::uint64_t>(kBlock, needed), file_.Size() - std::min(file_.Size(), position_));
    if (size < needed || !file_.ReadAt(position_, size, block_)) {
      throw DamagedFileError(name_ + ": the directory is truncated at byte " +
                             std::to_string(position_));
    }
    blockStart_ = position_;
  }

  const platform::ReadOnlyFile& file_;
  std::string name_;
  std::uint64_t position_ = 0;
  std::uint64_t blockStart_ = 0;
  std::string block_;
};

}  // namespace

void TReadBin::LoadDirectory(std::string_view path) {
  path_ = std::string(path);
  directory_.clear();
  const std::string shown = platform::Cp1251ToUtf8(path);
  const auto host = fs_.ToHost(path);
  const auto file = host ? platform::ReadOnlyFile::Open(*host) : nullptr;
  if (!file) throw FileOpenError(shown + ": cannot open the resource pack");

  DirectoryReader reader(*file, shown);
  const std::uint32_t count = reader.Number(2);
  directory_.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t length = reader.Number(4);
    if (length > kMaxNameLength) {
      throw DamagedFileError(shown + ": entry " + std::to_string(i) + " has a name of " +
                             std::to_string(length) + " bytes (at most 256)");
    }
    RBin entry;
    entry.Name = reader.Bytes(length);
    entry.Name.resize(std::min(entry.Name.size(), entry.Name.find('\0')));
    entry.Offset = reader.Number(4);
    entry.Size = reader.Number(4);
    if (std::uint64_t{entry.Offset} + entry.Size > file->Size()) {
      throw DamagedFileError(shown + ": entry \"" + platform::Cp1251ToUtf8(entry.Name) +
                             "\" lies outside the file");
    }
    directory_.push_back(std::move(entry));
  }
}

const RBin* TReadBin::Find(std::string_view name) const {
  for (const RBin& entry : directory_) {
    if (platform::SameText(entry.Name, name)) return &entry;
  }
  return nullptr;
}

bool TReadBin::Exists(std::string_view name) const {
  return Find(name) != nullptr;
}

int TReadBin::ReadToBuffer(std::string_view name, std::string& block) const {
  const RBin* entry = Find(name);
  if (!entry || entry->Size > static_cast<std::uint32_t>(INT32_MAX)) return -1;
  // The pack is opened for each read, so it can sit on a medium other programs share.
  const auto host = fs_.ToHost(path_);
  const auto file = host ? platform::ReadOnlyFile::Open(*host) : nullptr;
  std::string bytes;
  if (!file || !file->ReadAt(entry->Offset, entry->Size, bytes)) return -1;
  block = std::move(bytes);
  return static_cast<int>(entry->Size);
}

void DescrambleLines(std::string_view block, int count, std::vector<std::string>& lines,
                     bool lowerCase) {
  if (count < 1) return;
  const size_t n = std::min(static_cast<size_t>(count), block.size());
  if (n == 0) return;
  // Running-sum decoding; the addend doubles each step and so stays 0 after eight bytes.
  std::string decoded(n, '\0');
  decoded[0] = block[0];
  unsigned char addend = static_cast<unsigned char>(n % 256);
  for (size_t i = 1; i < n; ++i) {
    decoded[i] = static_cast<char>(static_cast<unsigned char>(decoded[i - 1]) +
                                   static_cast<unsigned char>(block[i]) + addend);
    addend = static_cast<unsigned char>(addend * 2);
  }
  // The text is every odd byte, last first.
  const size_t half = n / 2;
  std::string text(half, '\0');
  for (size_t m = 0; m < half; ++m) text[m] = decoded[2 * (half - 1 - m) + 1];

  lines.emplace_back();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      lines.emplace_back();
      ++i;
    } else {
      lines.back() += lowerCase ? platform::AsciiLowerChar(text[i]) : text[i];
    }
  }
}

}  // namespace quire::storage
