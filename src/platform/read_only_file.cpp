#include "platform/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quire::platform {

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::Open(const std::filesystem::path& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<ReadOnlyFile>(
      new ReadOnlyFile(fd, static_cast<std::uint64_t>(st.st_size)));
}

ReadOnlyFile::~ReadOnlyFile() {
  ::close(fd_);
}

bool ReadOnlyFile::ReadAt(std::uint64_t offset, std::uint64_t count, std::string& out) const {
  if (offset > size_ || count > size_ - offset) return false;  // never allocate past the file
  out.resize(count);
  return ReadAt(offset, count, out.data());
}

bool ReadOnlyFile::ReadAt(std::uint64_t offset, std::uint64_t count, char* out) const {
  if (offset > size_ || count > size_ - offset) return false;
  std::uint64_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::uint64_t>(n);
  }
  return true;
}

}  // namespace quire::platform
