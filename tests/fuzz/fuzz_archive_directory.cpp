// Content archives of any bytes: opened or refused; then every file listed, found and read.
#include <cstdint>
#include <stdexcept>

#include "fuzz/fuzz_input_file.h"
#include "storage/content_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quire::fuzz::InputFile input;
  input.Write(data, size);
  quire::storage::ContentArchive archive;
  try {
    archive.OpenArchive(input.Fs(), input.Path());
  } catch (const std::runtime_error&) {
    return 0;
  }
  archive.SetArchiveRoot("z:\\");
  std::string bytes;
  for (const auto& [path, index] : archive.ListArchiveEntries()) {
    archive.FindArchiveFile(path);
    archive.FindArchiveFile("\\" + path);
    try {
      archive.ExtractEntry(index, bytes);
    } catch (const std::runtime_error&) {
    }
  }
  return 0;
}
