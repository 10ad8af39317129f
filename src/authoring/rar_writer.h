// RAR 4 archives of stored (uncompressed) files and folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quire::authoring {

// A DOS date and time (two-second steps) as archives keep it.
uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second);

struct RarEntry {
  std::string path;  // UTF-8, folders separated by "/" or "\"
  std::string data;  // a file's bytes
  bool folder = false;
  uint32_t dosTime = DosDateTime(2024, 1, 15, 10, 0, 0);
};

// The archive's bytes: marker, archive header, one header per entry (a folder entry is
// added before the first entry inside a folder that has none of its own), end block.
// Folders are separated by "\". A name outside ASCII is stored as Windows stores it: the DOS
// (CP866) name, a zero byte and the packed UTF-16 name, with the Unicode flag; libarchive
// reads the UTF-16 name, which needs a UTF-8 LC_CTYPE to come out. InputError for an empty
// or absolute path, an empty, "." or ".." component, a file over 4 GB or a name over 64 KB.
std::string WriteRar(const std::vector<RarEntry>& entries);

}  // namespace quire::authoring
