// Resource packs of any bytes: the directory is read or refused, and every entry read.
#include <cstdint>
#include <stdexcept>

#include "fuzz/fuzz_input_file.h"
#include "storage/read_bin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quire::fuzz::InputFile input;
  input.Write(data, size);
  quire::storage::TReadBin pack(input.Fs());
  try {
    pack.LoadDirectory(input.Path());
  } catch (const std::runtime_error&) {
    return 0;
  }
  std::string block;
  for (const auto& entry : pack.Directory()) {
    pack.ReadToBuffer(entry.Name, block);
    pack.Exists(entry.Name);
  }
  return 0;
}
