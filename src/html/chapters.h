// The book's chapters, in reading order, from the pack's chapter file.
#pragma once

#include <string>
#include <vector>

namespace quire::storage {
class TReadBin;
}

namespace quire::html {

struct RListChapter {
  std::string File;  // relative to the program folder
  std::string Title;
};
using TListChapter = std::vector<RListChapter>;

// One chapter per non-empty line: "FILE;TITLE", each part trimmed; a title ends at a further ";".
TListChapter ParseChapterList(const std::vector<std::string>& lines);
// "Glavs.cfs" from the pack; empty without a pack or the file.
TListChapter ReadChapterList(const storage::TReadBin* pack);

}  // namespace quire::html
