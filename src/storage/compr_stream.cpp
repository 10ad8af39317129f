#include "storage/compr_stream.h"

#include <cstring>

#include "platform/text.h"
#include "storage/content_archive.h"
#include "storage/storage_error.h"

namespace quire::storage {

TComprStream::TComprStream(const core::Globals& g, std::string_view fileName) {
  if (g.Archive) {
    const int index = g.Archive->FindArchiveFile(fileName);
    if (index >= 0 && g.Archive->ExtractEntry(index, data_) == 0) return;
  }
  auto bytes = g.Fs->ReadFile(fileName);
  if (!bytes) throw FileOpenError("Can't open file " + platform::Cp1251ToUtf8(fileName));
  data_ = std::move(*bytes);
}

size_t TComprStream::Read(char* out, size_t count) {
  const size_t n = std::min(count, data_.size() - position_);
  std::memcpy(out, data_.data() + position_, n);
  position_ += n;
  return n;
}

bool ContentFileExists(const core::Globals& g, std::string_view path) {
  if (g.Fs->FileExists(path)) return true;
  return g.Archive && g.Archive->FindArchiveFile(path) >= 0;
}

bool CopyContentFile(const core::Globals& g, std::string_view from, std::string_view to) {
  try {
    TComprStream stream(g, from);
    return g.Fs->WriteFile(to, stream.Bytes());
  } catch (const std::exception&) {
    return false;
  }
}

bool ReadLine(TComprStream& stream, std::string& line) {
  line.clear();
  for (int c = stream.ReadByte(); c >= 0; c = stream.ReadByte()) {
    if (c == '\r') return true;
    if (c != '\n') line += static_cast<char>(c);
  }
  return false;
}

}  // namespace quire::storage
