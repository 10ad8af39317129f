#include "authoring/tool.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "platform/text.h"

namespace quire::authoring {

namespace fs = std::filesystem;

bool Args::Flag(std::string_view name) {
  const auto it = std::find(words_.begin(), words_.end(), name);
  if (it == words_.end()) return false;
  words_.erase(it);
  return true;
}

std::optional<std::string> Args::Option(std::string_view name) {
  const std::string prefix = std::string(name) + "=";
  for (size_t i = 0; i < words_.size(); ++i) {
    if (words_[i].rfind(prefix, 0) == 0) {
      std::string value = words_[i].substr(prefix.size());
      words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i));
      return value;
    }
    if (words_[i] == name) {
      if (i + 1 >= words_.size()) throw UsageError{std::string(name) + " needs a value\n" + usage_};
      std::string value = words_[i + 1];
      words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i),
                   words_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      return value;
    }
  }
  return std::nullopt;
}

std::vector<std::string> Args::Positional(size_t count) {
  for (const std::string& word : words_) {
    if (word.rfind("--", 0) == 0) throw UsageError{"unknown option " + word + "\n" + usage_};
  }
  if (words_.size() != count) throw UsageError{usage_};
  return words_;
}

std::string ReadHostFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in || fs::is_directory(file)) throw InputError{file.string() + ": cannot read the file"};
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteHostFile(const fs::path& file, std::string_view data) {
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  out.close();
  if (!out) throw InputError{file.string() + ": cannot write the file"};
}

std::string Cp1251Name(const fs::path& file) {
  const auto name = platform::Utf8ToCp1251(file.filename().string());
  if (!name) throw InputError{file.string() + ": the name cannot be written in Windows-1251"};
  return *name;
}

fs::path SafeHostName(std::string_view name, const std::string& where) {
  const std::string utf8 = platform::Cp1251ToUtf8(name);
  if (utf8.empty() || utf8 == "." || utf8 == ".." ||
      utf8.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
    throw InputError{where + ": the entry name \"" + utf8 + "\" cannot be a file name"};
  }
  return fs::path(utf8);
}

HostView::HostView()
    : fs([] {
        platform::DriveTable table;
        table.Map(platform::DriveTable::kHostDrive, "/");
        return table;
      }()) {}

std::string HostView::Virtual(const fs::path& file) const {
  const auto path = fs.ToVirtual(fs::absolute(file));
  if (!path) throw InputError{file.string() + ": the path cannot be written in Windows-1251"};
  return *path;
}

Progress::Progress(std::string label) : label_(std::move(label)), shown_(::isatty(1) == 1) {}

Progress::~Progress() {
  if (shown_ && lastPercent_ >= 0) std::fputs("\n", stdout);
}

void Progress::operator()(size_t done, size_t total) {
  if (!shown_ || total == 0) return;
  const int percent = static_cast<int>(done * 100 / total);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  constexpr int kWidth = 30;
  const int filled = percent * kWidth / 100;
  std::printf("\r%s [%s%s] %3d%% (%zu/%zu)", label_.c_str(), std::string(filled, '#').c_str(),
              std::string(kWidth - filled, ' ').c_str(), percent, done, total);
  std::fflush(stdout);
}

std::vector<ContentNode> ReadContentTree(const fs::path& folder, int depth) {
  constexpr int kMaxDepth = 64;
  if (depth > kMaxDepth) throw InputError{folder.string() + ": folders nest too deep"};
  std::vector<fs::path> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path());
  }
  if (ec) throw InputError{folder.string() + ": cannot read the folder"};
  std::sort(names.begin(), names.end());
  std::vector<ContentNode> nodes;
  for (const fs::path& path : names) {
    ContentNode node;
    node.name = Cp1251Name(path);
    node.source = path.string();
    node.folder = fs::is_directory(path);
    if (node.folder) {
      node.children = ReadContentTree(path, depth + 1);
    } else {
      node.data = ReadHostFile(path);
    }
    nodes.push_back(std::move(node));
  }
  return nodes;
}

}  // namespace quire::authoring
