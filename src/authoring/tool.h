// What every quire-pack command shares: its errors, host files, the storage view of them and
// the progress bar.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/book_writers.h"
#include "platform/virtual_fs.h"

namespace quire::authoring {

// Wrong usage: exit 2 with the command's usage text.
struct UsageError {
  std::string message;
};

// The arguments of one command, with its options taken out.
class Args {
 public:
  Args(std::vector<std::string> words, std::string usage)
      : words_(std::move(words)), usage_(std::move(usage)) {}
  // Takes "--name" (a flag) out of the words.
  bool Flag(std::string_view name);
  // Takes "--name VALUE" or "--name=VALUE" out of the words.
  std::optional<std::string> Option(std::string_view name);
  // The remaining words, which must be exactly `count`.
  std::vector<std::string> Positional(size_t count);

 private:
  std::vector<std::string> words_;
  std::string usage_;
};

std::string ReadHostFile(const std::filesystem::path& file);
void WriteHostFile(const std::filesystem::path& file, std::string_view data);
// A host file name as Windows-1251; InputError when the code page cannot hold it.
std::string Cp1251Name(const std::filesystem::path& file);
// A host file name from a Windows-1251 book name; InputError for names that would leave the
// folder they are written into.
std::filesystem::path SafeHostName(std::string_view name, const std::string& where);

// The host file system as the storage classes see it (z: is "/").
struct HostView {
  HostView();
  std::string Virtual(const std::filesystem::path& file) const;
  platform::VirtualFs fs;
};

// A progress bar on a terminal; silent when stdout is not one.
class Progress {
 public:
  explicit Progress(std::string label);
  ~Progress();
  void operator()(size_t done, size_t total);

 private:
  std::string label_;
  bool shown_;
  int lastPercent_ = -1;
};

// Reads a folder tree into content nodes (files and folders sorted by name); InputError for
// a tree deeper than 64 folders (a link loop, most likely).
std::vector<ContentNode> ReadContentTree(const std::filesystem::path& folder, int depth = 0);

}  // namespace quire::authoring
