// TComprStream: one content file in memory, taken from the content archive when it holds the
// file and from the disk otherwise, so the same path works for both.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/globals.h"

namespace quire::storage {

class TComprStream {
 public:
  // Fills the stream from the archive of `g`, else from the file on disk. Throws
  // FileOpenError ("Can't open file NAME") when neither has it, and DamagedFileError when the
  // archive's copy is damaged (nothing partial is handed out).
  TComprStream(const core::Globals& g, std::string_view fileName);

  const std::string& Bytes() const { return data_; }
  std::string TakeBytes() { return std::move(data_); }
  size_t Size() const { return data_.size(); }
  size_t Position() const { return position_; }
  void Seek(size_t position) { position_ = std::min(position, data_.size()); }
  // Copies up to `count` bytes from the position on; the number copied.
  size_t Read(char* out, size_t count);
  // The next byte, or -1 at the end.
  int ReadByte() {
    return position_ < data_.size() ? static_cast<unsigned char>(data_[position_++]) : -1;
  }

 private:
  std::string data_;
  size_t position_ = 0;
};

// Whether a content file exists on disk or in the archive (the disk is asked first).
bool ContentFileExists(const core::Globals& g, std::string_view path);

// Copies a content file (as TComprStream finds it) to a file on disk, replacing it; false when
// the source cannot be read or the destination written.
bool CopyContentFile(const core::Globals& g, std::string_view from, std::string_view to);

// Reads one text line: CR ends it (and is consumed), LF bytes are skipped. True when the line
// ended with CR; false when the data ran out, with what was read since the call in `line`.
bool ReadLine(TComprStream& stream, std::string& line);

}  // namespace quire::storage
