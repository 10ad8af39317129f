// Writing the little-endian integers of the file formats books use.
#pragma once

#include <cstdint>
#include <string>

namespace quire::authoring {

inline void Put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

inline void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Overwrites the 32-bit value at `at` (a size filled in once it is known).
inline void Set32(std::string& out, size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace quire::authoring
