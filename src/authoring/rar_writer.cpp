#include "authoring/rar_writer.h"

#include <zlib.h>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <set>

#include "authoring/book_writers.h"
#include "authoring/little_endian.h"

namespace quire::authoring {
namespace {

constexpr uint16_t kLongBlock = 0x8000;  // a data area follows the header
constexpr uint16_t kUnicodeName = 0x0200;
constexpr uint16_t kFolder = 0x00E0;  // all window-size bits: a directory entry
constexpr uint32_t kFolderAttribute = 0x10;
constexpr uint32_t kArchiveAttribute = 0x20;
constexpr uint8_t kHostWindows = 2;
constexpr uint8_t kStored = 0x30;

uint32_t Crc(const std::string& bytes, size_t from = 0) {
  return uint32_t(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + from), uInt(bytes.size() - from)));
}

// A header: its CRC16 (the low half of the CRC32 of everything after the CRC field), type,
// flags, size, then `body`.
std::string Block(uint8_t type, uint16_t flags, const std::string& body) {
  std::string head;
  head += static_cast<char>(type);
  Put16(head, flags);
  Put16(head, uint32_t(body.size() + 7));
  head += body;
  std::string out;
  Put16(out, Crc(head) & 0xFFFF);
  return out + head;
}

// The DOS name Windows would give: CP866 for Cyrillic, "_" for what it cannot show.
std::string DosName(const std::u16string& name) {
  std::string out;
  for (char16_t c : name) {
    if (c < 0x80)
      out += static_cast<char>(c);
    else if (c >= 0x410 && c < 0x440)
      out += static_cast<char>(0x80 + (c - 0x410));
    else if (c >= 0x440 && c < 0x450)
      out += static_cast<char>(0xE0 + (c - 0x440));
    else if (c == 0x401)
      out += static_cast<char>(0xF0);
    else if (c == 0x451)
      out += static_cast<char>(0xF1);
    else
      out += '_';
  }
  return out;
}

// RAR's packed UTF-16: a high byte shared by "mode 1" characters, then groups of four
// two-bit modes (0: low byte, high byte 0; 1: low byte with the shared high byte; 2: both
// bytes), each followed by its bytes.
std::string PackedName(const std::u16string& name) {
  uint8_t high = 0;
  for (char16_t c : name)
    if (c >= 0x100) {
      high = uint8_t(c >> 8);
      break;
    }
  std::string out(1, static_cast<char>(high));
  size_t flagAt = 0;
  int shift = 0;
  for (char16_t c : name) {
    if (shift == 0) {
      flagAt = out.size();
      out += '\0';
      shift = 8;
    }
    shift -= 2;
    int mode = c < 0x100 ? 0 : (c >> 8) == high ? 1 : 2;
    out[flagAt] = static_cast<char>(uint8_t(out[flagAt]) | (mode << shift));
    out += static_cast<char>(c & 0xFF);
    if (mode == 2) out += static_cast<char>(c >> 8);
  }
  return out;
}

// Splits a path into checked components.
std::vector<std::u16string> Components(const std::string& path) {
  const QString text = QString::fromUtf8(path.data(), qsizetype(path.size()));
  if (text.isEmpty() || text.startsWith('/') || text.startsWith('\\') ||
      (text.size() > 1 && text[1] == ':'))
    throw InputError{"RAR: bad entry path \"" + path + "\""};
  std::vector<std::u16string> parts;
  for (const QString& part : text.split('/')) {
    for (const QString& piece : part.split('\\')) {
      if (piece.isEmpty() || piece == "." || piece == "..")
        throw InputError{"RAR: bad entry path \"" + path + "\""};
      parts.push_back(piece.toStdU16String());
    }
  }
  return parts;
}

std::u16string Join(const std::vector<std::u16string>& parts, size_t count) {
  std::u16string out;
  for (size_t i = 0; i < count; ++i) {
    if (i) out += u'\\';
    out += parts[i];
  }
  return out;
}

std::string FileHeader(const std::u16string& name, const std::string& data, bool folder,
                       uint32_t dosTime) {
  std::string stored = DosName(name);
  uint16_t flags = kLongBlock;
  if (std::any_of(name.begin(), name.end(), [](char16_t c) { return c >= 0x80; })) {
    flags |= kUnicodeName;
    stored += '\0';
    stored += PackedName(name);
  }
  if (folder) flags |= kFolder;
  if (stored.size() > 0xFFFF - 40) throw InputError{"RAR: name too long"};
  if (data.size() > 0xFFFFFFFFu) throw InputError{"RAR: file too large"};
  std::string body;
  Put32(body, uint32_t(data.size()));  // packed size
  Put32(body, uint32_t(data.size()));  // unpacked size
  body += static_cast<char>(kHostWindows);
  Put32(body, folder ? 0 : Crc(data));
  Put32(body, dosTime);
  body += static_cast<char>(20);  // version needed: 2.0
  body += static_cast<char>(kStored);
  Put16(body, uint32_t(stored.size()));
  Put32(body, folder ? kFolderAttribute : kArchiveAttribute);
  body += stored;
  return Block(0x74, flags, body) + data;
}

}  // namespace

uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second) {
  return (uint32_t(year - 1980) << 25) | (uint32_t(month) << 21) | (uint32_t(day) << 16) |
         (uint32_t(hour) << 11) | (uint32_t(minute) << 5) | uint32_t(second / 2);
}

std::string WriteRar(const std::vector<RarEntry>& entries) {
  std::string out("Rar!\x1A\x07\x00", 7);
  std::string archiveBody;
  Put16(archiveBody, 0);
  Put32(archiveBody, 0);
  out += Block(0x73, 0, archiveBody);
  std::set<std::u16string> folders;  // upper-cased, as Windows compares names
  auto key = [](const std::u16string& s) {
    return QString::fromStdU16String(s).toUpper().toStdU16String();
  };
  for (const RarEntry& entry : entries) {
    const auto parts = Components(entry.path);
    const size_t parents = entry.folder ? parts.size() : parts.size() - 1;
    for (size_t n = 1; n <= parents; ++n) {
      const std::u16string folder = Join(parts, n);
      if (folders.insert(key(folder)).second) out += FileHeader(folder, {}, true, entry.dosTime);
    }
    if (!entry.folder)
      out += FileHeader(Join(parts, parts.size()), entry.data, false, entry.dosTime);
  }
  out += Block(0x7B, 0x4000, {});
  return out;
}

}  // namespace quire::authoring
