// Small writers of the book's storage formats, independent of the code under test, so that
// each test shows the bytes it reads.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quire::testing {

inline void PutWord(std::string& out, std::uint32_t value, int width = 4) {
  for (int i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string Deflate(const std::string& data) {
  uLongf length = compressBound(data.size());
  std::string out(length, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &length,
            reinterpret_cast<const Bytef*>(data.data()), data.size(), 9);
  out.resize(length);
  return out;
}

// A resource pack: the directory, then the entries' data in order.
struct PackEntry {
  std::string name;
  std::string data;
};
inline std::string MakePack(const std::vector<PackEntry>& entries) {
  size_t directory = 2;
  for (const PackEntry& e : entries) directory += 12 + e.name.size();
  std::string out;
  PutWord(out, static_cast<std::uint32_t>(entries.size()), 2);
  size_t offset = directory;
  for (const PackEntry& e : entries) {
    PutWord(out, static_cast<std::uint32_t>(e.name.size()));
    out += e.name;
    PutWord(out, static_cast<std::uint32_t>(offset));
    PutWord(out, static_cast<std::uint32_t>(e.data.size()));
    offset += e.data.size();
  }
  for (const PackEntry& e : entries) out += e.data;
  return out;
}

// Scrambles text so that descrambling gives it back: the text's bytes sit at the odd places
// of a work array, last first, and the array is stored as differences with a doubling addend.
inline std::string Scramble(const std::string& text, bool oddLength = false) {
  const size_t n = text.size() * 2 + (oddLength ? 1 : 0);
  std::string work(n, '\x5A');
  for (size_t m = 0; m < text.size(); ++m) work[2 * (text.size() - 1 - m) + 1] = text[m];
  std::string out(n, '\0');
  unsigned char addend = static_cast<unsigned char>(n % 256);
  if (n > 0) out[0] = work[0];
  for (size_t i = 1; i < n; ++i) {
    out[i] = static_cast<char>(static_cast<unsigned char>(work[i]) -
                               static_cast<unsigned char>(work[i - 1]) - addend);
    addend = static_cast<unsigned char>(addend * 2);
  }
  return out;
}

// A content archive as raw tables, so tests can also damage any field.
struct RawArchive {
  struct Entry {
    std::string name;
    std::uint32_t offset = 0, packed = 0, size = 0, kind = 1;
  };
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;  // first, count
  std::vector<Entry> entries;
  std::uint32_t root = 0;
  std::string data;
  bool compressDirectory = true;

  std::string Directory() const {
    std::string dir;
    PutWord(dir, static_cast<std::uint32_t>(ranges.size()));
    PutWord(dir, static_cast<std::uint32_t>(entries.size()));
    PutWord(dir, 0);
    PutWord(dir, root);
    for (auto [first, count] : ranges) {
      PutWord(dir, first);
      PutWord(dir, count);
    }
    for (const Entry& e : entries) {
      std::string name = e.name;
      name.resize(64, '\0');
      dir += name;
      PutWord(dir, e.offset);
      PutWord(dir, e.packed);
      PutWord(dir, e.size);
      PutWord(dir, e.kind);
    }
    return dir;
  }
  std::string Bytes() const {
    const std::string dir = Directory();
    const std::string stored = compressDirectory ? Deflate(dir) : dir;
    std::string out;
    PutWord(out, static_cast<std::uint32_t>(dir.size() - stored.size()) ^ 0x5C3A91D2u);
    PutWord(out, static_cast<std::uint32_t>(stored.size()) ^ 0x17E4B06Fu);
    return out + stored + data;
  }
};

// A folder tree for RawArchive: files carry content, folders children.
struct Node {
  std::string name;
  std::string content;
  std::vector<Node> children;
  bool folder = false;
  bool compress = true;
};
inline Node File(std::string name, std::string content, bool compress = true) {
  return Node{std::move(name), std::move(content), {}, false, compress};
}
inline Node Folder(std::string name, std::vector<Node> children) {
  return Node{std::move(name), "", std::move(children), true, true};
}

// Lays the tree out breadth first: each folder's entries form one range; range 0 is the root.
inline RawArchive MakeArchive(const std::vector<Node>& root) {
  RawArchive archive;
  std::vector<const std::vector<Node>*> queue{&root};
  for (size_t r = 0; r < queue.size(); ++r) {
    archive.ranges.push_back({static_cast<std::uint32_t>(archive.entries.size()),
                              static_cast<std::uint32_t>(queue[r]->size())});
    for (const Node& node : *queue[r]) {
      RawArchive::Entry e;
      e.name = node.name;
      if (node.folder) {
        e.kind = 2;
        e.offset = static_cast<std::uint32_t>(queue.size());
        queue.push_back(&node.children);
      } else {
        const std::string stored = node.compress ? Deflate(node.content) : node.content;
        e.offset = static_cast<std::uint32_t>(archive.data.size());
        e.packed = static_cast<std::uint32_t>(stored.size());
        e.size = static_cast<std::uint32_t>(node.content.size());
        archive.data += stored;
      }
      archive.entries.push_back(e);
    }
  }
  return archive;
}

}  // namespace quire::testing
