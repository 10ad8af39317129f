#include <algorithm>
#include <cstdio>

#include "authoring/commands.h"
#include "authoring/json.h"
#include "authoring/scramble.h"
#include "authoring/svg_picture.h"
#include "platform/text.h"
#include "storage/read_bin.h"

namespace quire::authoring {

namespace fs = std::filesystem;
using platform::Cp1251ToUtf8;

namespace {

// An entry of a pack source folder, as it goes into the pack.
PackItem PackItemFor(const fs::path& file) {
  const std::string ext = platform::AsciiLower(file.extension().string());
  const std::string stem = Cp1251Name(file.stem());
  const std::string data = ReadHostFile(file);
  if (ext == ".txt") {
    std::string text;
    if (!SourceToCp1251(data, text)) {
      throw InputError{file.string() + ": holds characters Windows-1251 cannot write"};
    }
    return {stem + ".cfs", ScrambleText(ToCrLf(text))};
  }
  if (ext == ".svg") return {stem + ".bmp", RenderSvg(data, "bmp", file.string())};
  return {Cp1251Name(file), data};
}

storage::TReadBin LoadPack(const HostView& host, const std::string& file) {
  storage::TReadBin pack(host.fs);
  pack.LoadDirectory(host.Virtual(file));
  return pack;
}

}  // namespace

std::string BuildPack(const fs::path& folder) {
  std::vector<PackItem> items;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file()) items.push_back(PackItemFor(it->path()));
  }
  if (ec) throw InputError{folder.string() + ": cannot read the folder"};
  std::sort(items.begin(), items.end(),
            [](const PackItem& a, const PackItem& b) { return a.name < b.name; });
  for (size_t i = 1; i < items.size(); ++i) {
    if (platform::SameText(items[i].name, items[i - 1].name)) {
      throw InputError{folder.string() + ": two sources give the entry " +
                       Cp1251ToUtf8(items[i].name)};
    }
  }
  return WritePack(items);
}

int PackList(Args& args) {
  const auto words = args.Positional(1);
  HostView host;
  const storage::TReadBin pack = LoadPack(host, words[0]);
  for (const storage::RBin& entry : pack.Directory()) {
    std::printf("%s\t%u\t%u\n", Cp1251ToUtf8(entry.Name).c_str(), entry.Offset, entry.Size);
  }
  return 0;
}

int PackExtract(Args& args) {
  const auto words = args.Positional(2);
  HostView host;
  const storage::TReadBin pack = LoadPack(host, words[0]);
  std::vector<std::string> written;
  for (const storage::RBin& entry : pack.Directory()) {
    const bool taken = std::any_of(written.begin(), written.end(), [&](const std::string& name) {
      return platform::SameText(name, entry.Name);
    });
    if (taken) continue;  // lookups find the first of equal names only
    const fs::path target = fs::path(words[1]) / SafeHostName(entry.Name, words[0]);
    std::string data;
    if (pack.ReadToBuffer(entry.Name, data) < 0) {
      throw InputError{words[0] + ": cannot read the entry " + Cp1251ToUtf8(entry.Name)};
    }
    WriteHostFile(target, data);
    written.push_back(entry.Name);
  }
  return 0;
}

int PackBuild(Args& args) {
  const auto words = args.Positional(2);
  WriteHostFile(words[1], BuildPack(words[0]));
  return 0;
}

int CfsDescramble(Args& args) {
  const bool lower = args.Flag("--lower");
  const bool json = args.Flag("--json");
  const auto words = args.Positional(1);
  const std::string data = ReadHostFile(words[0]);
  std::vector<std::string> lines;
  storage::DescrambleLines(data, static_cast<int>(std::min<size_t>(data.size(), INT32_MAX)), lines,
                           lower);
  if (json) {
    std::string out = "[";
    for (size_t i = 0; i < lines.size(); ++i) {
      out += (i ? "," : "") + JsonString(Cp1251ToUtf8(lines[i]));
    }
    std::printf("%s]\n", out.c_str());
  } else {
    for (const std::string& line : lines) std::printf("%s\n", Cp1251ToUtf8(line).c_str());
  }
  return 0;
}

int CfsScramble(Args& args) {
  const auto words = args.Positional(2);
  std::string text;
  if (!SourceToCp1251(ReadHostFile(words[0]), text)) {
    throw InputError{words[0] + ": holds characters Windows-1251 cannot write"};
  }
  WriteHostFile(words[1], ScrambleText(ToCrLf(text)));
  return 0;
}

}  // namespace quire::authoring
