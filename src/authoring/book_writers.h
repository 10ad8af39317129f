// Writers of the book's storage files: the resource pack and the content archive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quire::authoring {

// Thrown for input the writers cannot store; the message names the file and the fault.
struct InputError {
  std::string message;
};

struct PackItem {
  std::string name;  // Windows-1251
  std::string data;
};
// The pack's bytes: the directory in the given order, then the data of each entry.
std::string WritePack(const std::vector<PackItem>& items);

// A file or folder of the content tree.
struct ContentNode {
  std::string name;  // Windows-1251, as the author wrote it
  bool folder = false;
  std::string data;  // a file's bytes
  std::vector<ContentNode> children;
  std::string source;  // where it came from, for messages
};

// The archive's bytes for a content tree: names normalised and sorted within each folder,
// every file and the directory compressed at zlib's best level unless that saves nothing.
// `progress` is called once per file with the files done and the total.
std::string WriteArchive(const std::vector<ContentNode>& root,
                         const std::function<void(size_t, size_t)>& progress = {});

}  // namespace quire::authoring
