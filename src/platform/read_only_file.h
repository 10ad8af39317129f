// A host file kept open for reading at any offset (the content archive stays open while the
// book runs; the resource pack is opened for each read).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace quire::platform {

class ReadOnlyFile {
 public:
  // Empty when the file cannot be opened for reading or is a folder.
  static std::unique_ptr<ReadOnlyFile> Open(const std::filesystem::path& hostPath);
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  std::uint64_t Size() const { return size_; }
  // Reads exactly `count` bytes at `offset` into `out` (resized); false when the file ends
  // first or the read fails.
  bool ReadAt(std::uint64_t offset, std::uint64_t count, std::string& out) const;
  // The same into `count` bytes at `out`.
  bool ReadAt(std::uint64_t offset, std::uint64_t count, char* out) const;

 private:
  ReadOnlyFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  int fd_;
  std::uint64_t size_;
};

}  // namespace quire::platform
