#include <cstdio>

#include "authoring/commands.h"
#include "platform/text.h"
#include "storage/content_archive.h"

namespace quire::authoring {

namespace fs = std::filesystem;
using platform::Cp1251ToUtf8;

namespace {

storage::ContentArchive OpenArchive(const HostView& host, const std::string& file) {
  storage::ContentArchive archive;
  archive.OpenArchive(host.fs, host.Virtual(file));
  return archive;
}

std::string Extract(const storage::ContentArchive& archive, int index) {
  std::string data;
  archive.ExtractEntry(index, data);
  return data;
}

}  // namespace

int ArchiveList(Args& args) {
  const auto words = args.Positional(1);
  HostView host;
  const storage::ContentArchive archive = OpenArchive(host, words[0]);
  for (const auto& [path, index] : archive.ListArchiveEntries()) {
    const storage::ArchiveEntry& entry = archive.Entries()[index];
    std::printf("%s\t%u\t%u\n", Cp1251ToUtf8(path).c_str(), entry.Size, entry.Packed);
  }
  return 0;
}

int ArchiveCat(Args& args) {
  const auto root = args.Option("--root");
  const auto words = args.Positional(2);
  HostView host;
  storage::ContentArchive archive = OpenArchive(host, words[0]);
  const auto toCp1251 = [](const std::string& utf8) {
    const auto text = platform::Utf8ToCp1251(utf8);
    if (!text) throw InputError{utf8 + ": the path cannot be written in Windows-1251"};
    return *text;
  };
  if (root) archive.SetArchiveRoot(toCp1251(*root));
  const int index = archive.FindArchiveFile(toCp1251(words[1]));
  if (index < 0) throw InputError{words[0] + ": holds no file " + words[1]};
  const std::string data = Extract(archive, index);
  std::fwrite(data.data(), 1, data.size(), stdout);
  return 0;
}

int ArchiveExtract(Args& args) {
  const auto words = args.Positional(2);
  HostView host;
  const storage::ContentArchive archive = OpenArchive(host, words[0]);
  const auto files = archive.ListArchiveEntries();
  Progress progress("Extracting");
  for (size_t i = 0; i < files.size(); ++i) {
    fs::path target = words[1];
    const std::string& path = files[i].first;
    for (size_t start = 0; start <= path.size();) {
      const size_t end = std::min(path.find('\\', start), path.size());
      target /= SafeHostName(path.substr(start, end - start), words[0]);
      start = end + 1;
    }
    WriteHostFile(target, Extract(archive, files[i].second));
    progress(i + 1, files.size());
  }
  return 0;
}

int ArchiveBuild(Args& args) {
  const auto words = args.Positional(2);
  const auto tree = ReadContentTree(words[0]);
  Progress progress("Packing");
  WriteHostFile(words[1], WriteArchive(tree, std::ref(progress)));
  return 0;
}

}  // namespace quire::authoring
