// Description files of any bytes, with and without lower-casing.
#include <cstdint>
#include <string>
#include <vector>

#include "storage/read_bin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view block(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  quire::storage::DescrambleLines(block, static_cast<int>(size), lines, size % 2 == 0);
  return 0;
}
