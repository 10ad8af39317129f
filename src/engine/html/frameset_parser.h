// Frameset pages: recognising one and reading its frames, and sharing out the space of a
// frameset between its rows or columns.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quire::engine::html {

struct FrameSetDef;

// One cell of a frameset: a frame showing a page, or a frameset written inside the first.
struct FrameDef {
  std::string Name;  // UTF-8, as written in the page
  std::string Src;
  bool NoScroll = false;
  int MarginWidth = -1, MarginHeight = -1;
  std::shared_ptr<FrameSetDef> Nested;
};

struct FrameSetDef {
  std::string Rows, Cols;  // the attribute texts
  std::vector<FrameDef> Frames;
  int Border = 4;
};

// The frameset of a page (UTF-8 text) whose body is a frameset, or nothing for an ordinary
// page. Framesets nested deeper than 8 levels, and frames beyond the rows and columns declared,
// are left out.
std::optional<FrameSetDef> ParseFrameset(std::string_view html);

// Splits `total` pixels by a rows or cols text ("100,*,2*,20%"): fixed sizes first, then
// percentages, then the rest shared by the "*" parts. Always `count` sizes summing to `total`.
std::vector<int> ShareOut(std::string_view lengths, int total);
// How many rows or columns a lengths text declares (at least 1, at most 64).
int LengthCount(std::string_view lengths);

}  // namespace quire::engine::html

namespace quire::engine::html {

// The text of a page's <title> (UTF-8, spaces collapsed), or "".
std::string PageTitle(std::string_view html);

}  // namespace quire::engine::html
