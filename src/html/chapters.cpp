#include "html/chapters.h"

#include "platform/text.h"
#include "storage/read_bin.h"

namespace quire::html {

TListChapter ParseChapterList(const std::vector<std::string>& lines) {
  TListChapter chapters;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    const size_t semicolon = line.find(';');
    RListChapter chapter;
    chapter.File = platform::Trim(line.substr(0, semicolon));
    if (semicolon != std::string::npos) {
      const std::string rest = line.substr(semicolon + 1);
      chapter.Title = platform::Trim(rest.substr(0, rest.find(';')));
    }
    chapters.push_back(std::move(chapter));
  }
  return chapters;
}

TListChapter ReadChapterList(const storage::TReadBin* pack) {
  std::string block;
  const int count = pack ? pack->ReadToBuffer("Glavs.cfs", block) : -1;
  if (count < 0) return {};
  std::vector<std::string> lines;
  storage::DescrambleLines(block, count, lines, false);
  return ParseChapterList(lines);
}

}  // namespace quire::html
