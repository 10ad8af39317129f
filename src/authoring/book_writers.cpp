#include "authoring/book_writers.h"
#include "authoring/little_endian.h"

#include <zlib.h>

#include <algorithm>

#include "platform/text.h"
#include "storage/content_archive.h"

namespace quire::authoring {

namespace {

// zlib's best level when that makes the data smaller; otherwise the data as it is.
std::string PackBytes(const std::string& data) {
  uLongf length = compressBound(data.size());
  std::string packed(length, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &length,
                reinterpret_cast<const Bytef*>(data.data()), data.size(), 9) != Z_OK ||
      length >= data.size()) {
    return data;
  }
  packed.resize(length);
  return packed;
}

size_t CountFiles(const std::vector<ContentNode>& nodes) {
  size_t count = 0;
  for (const ContentNode& node : nodes) count += node.folder ? CountFiles(node.children) : 1;
  return count;
}

class ArchiveBuilder {
 public:
  ArchiveBuilder(size_t totalFiles, const std::function<void(size_t, size_t)>& progress)
      : total_(totalFiles), progress_(progress) {}

  // Emits one folder's entries as a range, then the ranges of its sub-folders.
  std::uint32_t AddFolder(const std::vector<ContentNode>& nodes) {
    std::vector<const ContentNode*> sorted;
    for (const ContentNode& node : nodes) sorted.push_back(&node);
    std::vector<std::string> names;
    for (const ContentNode* node : sorted) names.push_back(NormalName(*node));
    std::vector<size_t> order(sorted.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return names[a] < names[b]; });

    const std::uint32_t range = static_cast<std::uint32_t>(ranges_.size());
    const std::uint32_t first = static_cast<std::uint32_t>(entries_.size());
    ranges_.push_back({first, static_cast<std::uint32_t>(order.size())});
    for (size_t k = 0; k < order.size(); ++k) {
      if (k > 0 && names[order[k]] == names[order[k - 1]]) {
        throw InputError{sorted[order[k]]->source + ": its archive name " +
                         platform::Cp1251ToUtf8(names[order[k]]) + " is taken by " +
                         sorted[order[k - 1]]->source};
      }
      entries_.push_back(FileEntry(names[order[k]], *sorted[order[k]]));
    }
    for (size_t k = 0; k < order.size(); ++k) {
      const ContentNode& node = *sorted[order[k]];
      if (!node.folder) continue;
      const std::uint32_t content = AddFolder(node.children);  // may grow entries_
      entries_[first + k].offset = content;
    }
    return range;
  }

  std::string Bytes() const {
    std::string directory;
    Put32(directory, static_cast<std::uint32_t>(ranges_.size()));
    Put32(directory, static_cast<std::uint32_t>(entries_.size()));
    Put32(directory, 0);
    Put32(directory, 0);  // the root folder is the first range
    for (const auto& range : ranges_) {
      Put32(directory, range.first);
      Put32(directory, range.count);
    }
    for (const Entry& e : entries_) {
      std::string name = e.name;
      name.resize(storage::kArchiveNameSize, '\0');
      directory += name;
      Put32(directory, e.offset);
      Put32(directory, e.packed);
      Put32(directory, e.size);
      Put32(directory, e.kind);
    }
    const std::string stored = PackBytes(directory);
    std::string out;
    Put32(out,
          static_cast<std::uint32_t>(directory.size() - stored.size()) ^ storage::kArchiveSpanMask);
    Put32(out, static_cast<std::uint32_t>(stored.size()) ^ storage::kArchivePackedMask);
    return out + stored + data_;
  }

 private:
  struct Range {
    std::uint32_t first, count;
  };
  struct Entry {
    std::string name;
    std::uint32_t offset = 0, packed = 0, size = 0, kind = 0;
  };

  static std::string NormalName(const ContentNode& node) {
    const std::string name = storage::NormaliseArchivePath(node.name);
    if (name.empty() || name.size() > storage::kArchiveNameSize ||
        name.find('\\') != std::string::npos) {
      throw InputError{node.source + ": an archive name must have 1 to 64 bytes and no slash"};
    }
    return name;
  }

  Entry FileEntry(const std::string& name, const ContentNode& node) {
    Entry e{name};
    if (node.folder) {
      e.kind = storage::ArchiveEntry::kFolder;
      return e;
    }
    if (node.data.size() > UINT32_MAX || data_.size() + node.data.size() > UINT32_MAX) {
      throw InputError{node.source + ": the archive would pass 4 GiB"};
    }
    const std::string stored = PackBytes(node.data);
    e.kind = storage::ArchiveEntry::kFile;
    e.offset = static_cast<std::uint32_t>(data_.size());
    e.packed = static_cast<std::uint32_t>(stored.size());
    e.size = static_cast<std::uint32_t>(node.data.size());
    data_ += stored;
    if (progress_) progress_(++done_, total_);
    return e;
  }

  std::vector<Range> ranges_;
  std::vector<Entry> entries_;
  std::string data_;
  size_t done_ = 0;
  size_t total_;
  const std::function<void(size_t, size_t)>& progress_;
};

}  // namespace

std::string WritePack(const std::vector<PackItem>& items) {
  std::uint64_t offset = 2;
  for (const PackItem& item : items) offset += 12 + item.name.size();
  if (items.size() > 0xFFFF) throw InputError{"a pack holds at most 65535 entries"};
  std::string out;
  out += static_cast<char>(items.size() & 0xFF);
  out += static_cast<char>(items.size() >> 8);
  for (const PackItem& item : items) {
    if (item.name.size() > 256) throw InputError{item.name + ": a pack name has at most 256 bytes"};
    if (offset + item.data.size() > UINT32_MAX) throw InputError{"the pack would pass 4 GiB"};
    Put32(out, static_cast<std::uint32_t>(item.name.size()));
    out += item.name;
    Put32(out, static_cast<std::uint32_t>(offset));
    Put32(out, static_cast<std::uint32_t>(item.data.size()));
    offset += item.data.size();
  }
  for (const PackItem& item : items) out += item.data;
  return out;
}

std::string WriteArchive(const std::vector<ContentNode>& root,
                         const std::function<void(size_t, size_t)>& progress) {
  ArchiveBuilder builder(CountFiles(root), progress);
  builder.AddFolder(root);
  return builder.Bytes();
}

}  // namespace quire::authoring
