// Fuzz input handed to readers that open files: written to one file in memory-backed storage.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/virtual_fs.h"

namespace quire::fuzz {

class InputFile {
 public:
  InputFile() {
    const std::filesystem::path folder =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    host_ = folder / ("quire-fuzz-" + std::to_string(::getpid()));
    platform::DriveTable drives;
    drives.Map('z', "/");
    fs_ = std::make_unique<platform::VirtualFs>(drives);
    virtual_ = *fs_->ToVirtual(host_);
  }
  ~InputFile() { std::filesystem::remove(host_); }

  void Write(const uint8_t* data, size_t size) {
    std::ofstream(host_, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const platform::VirtualFs& Fs() const { return *fs_; }
  const std::string& Path() const { return virtual_; }

 private:
  std::filesystem::path host_;
  std::unique_ptr<platform::VirtualFs> fs_;
  std::string virtual_;
};

}  // namespace quire::fuzz
