#include "engine/html/frameset_parser.h"

#include <algorithm>
#include <cmath>

#include "engine/html/tag_scanner.h"
#include "platform/text.h"

namespace quire::engine::html {
namespace {

constexpr int kMaxFramesetDepth = 8;
constexpr int kMaxLengths = 64;

bool IsHeadElement(std::string_view name) {
  return name == "html" || name == "head" || name == "title" || name == "meta" || name == "link" ||
         name == "style" || name == "script" || name == "base" || name == "basefont" ||
         name == "bgsound";
}

int ToInt(std::string_view v, int fallback) {
  int value = 0;
  bool any = false;
  for (char c : v) {
    if (c < '0' || c > '9') break;
    any = true;
    value = std::min(value * 10 + (c - '0'), 1000000);
  }
  return any ? value : fallback;
}

std::vector<std::string> SplitLengths(std::string_view lengths) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= lengths.size() && static_cast<int>(out.size()) < kMaxLengths) {
    size_t comma = lengths.find(',', start);
    if (comma == std::string_view::npos) comma = lengths.size();
    std::string part;
    for (char c : lengths.substr(start, comma - start)) {
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') part += c;
    }
    out.push_back(part);
    start = comma + 1;
  }
  if (out.size() == 1 && out[0].empty()) out[0].push_back('*');
  return out;
}

// Number of frame cells a frameset offers.
size_t CellCount(const FrameSetDef& set) {
  return static_cast<size_t>(LengthCount(set.Rows)) * static_cast<size_t>(LengthCount(set.Cols));
}

}  // namespace

int LengthCount(std::string_view lengths) {
  if (lengths.empty()) return 1;
  return static_cast<int>(SplitLengths(lengths).size());
}

std::vector<int> ShareOut(std::string_view lengths, int total) {
  total = std::max(total, 0);
  const std::vector<std::string> parts =
      lengths.empty() ? std::vector<std::string>{"*"} : SplitLengths(lengths);
  const size_t n = parts.size();
  std::vector<double> sizes(n, 0);
  std::vector<double> stars(n, 0);
  double fixed = 0, starWeight = 0;
  for (size_t i = 0; i < n; ++i) {
    const std::string& p = parts[i];
    if (!p.empty() && p.back() == '*') {
      stars[i] = std::max(1, ToInt(p, 1));
      starWeight += stars[i];
    } else if (!p.empty() && p.back() == '%') {
      sizes[i] = total * ToInt(p, 0) / 100.0;
      fixed += sizes[i];
    } else {
      sizes[i] = ToInt(p, 0);
      fixed += sizes[i];
    }
  }
  if (starWeight > 0) {
    const double left = std::max(0.0, total - fixed);
    if (fixed > total && fixed > 0) {
      for (double& s : sizes) s = s * total / fixed;
    }
    for (size_t i = 0; i < n; ++i) {
      if (stars[i] > 0) sizes[i] = left * stars[i] / starWeight;
    }
  } else if (fixed > 0) {
    for (double& s : sizes) s = s * total / fixed;
  } else {
    for (double& s : sizes) s = static_cast<double>(total) / static_cast<double>(n);
  }
  // Whole pixels that add up exactly.
  std::vector<int> out(n);
  double edge = 0;
  int placed = 0;
  for (size_t i = 0; i < n; ++i) {
    edge += sizes[i];
    const int next =
        i + 1 == n ? total : std::clamp(static_cast<int>(std::lround(edge)), placed, total);
    out[i] = next - placed;
    placed = next;
  }
  return out;
}

std::optional<FrameSetDef> ParseFrameset(std::string_view html) {
  TagScanner scanner(html);
  Token t;
  bool sawFrameset = false;
  // Before the first frameset: anything but head matter means an ordinary page.
  while (scanner.Next(t)) {
    if (t.kind == Token::kText) {
      const std::string_view text = html.substr(t.Begin, t.End - t.Begin);
      if (text.find_first_not_of(" \t\r\n") != std::string_view::npos) return std::nullopt;
      continue;
    }
    if (t.kind == Token::kStartTag) {
      if (t.Name == "frameset") {
        sawFrameset = true;
        break;
      }
      if (!IsHeadElement(t.Name)) return std::nullopt;
    }
  }
  if (!sawFrameset) return std::nullopt;

  auto makeSet = [](const Token& tag) {
    FrameSetDef set;
    if (const TagAttr* a = FindAttr(tag, "rows")) set.Rows = a->Value;
    if (const TagAttr* a = FindAttr(tag, "cols")) set.Cols = a->Value;
    for (const char* name : {"border", "framespacing"}) {
      if (const TagAttr* a = FindAttr(tag, name)) set.Border = std::min(ToInt(a->Value, 4), 50);
    }
    if (const TagAttr* a = FindAttr(tag, "frameborder")) {
      if (a->Value == "0" || ToLower(a->Value) == "no") set.Border = 0;
    }
    return set;
  };

  auto root = std::make_shared<FrameSetDef>(makeSet(t));
  std::vector<FrameSetDef*> stack{root.get()};
  int skippedDepth = 0;  // framesets nested too deep, or with no room left
  bool inNoFrames = false;
  while (scanner.Next(t) && !stack.empty()) {
    if (inNoFrames) {
      inNoFrames = !(t.kind == Token::kEndTag && t.Name == "noframes");
      continue;
    }
    if (t.kind == Token::kStartTag && t.Name == "noframes") {
      inNoFrames = true;
    } else if (t.kind == Token::kStartTag && t.Name == "frameset") {
      FrameSetDef* parent = stack.back();
      if (skippedDepth > 0 || static_cast<int>(stack.size()) >= kMaxFramesetDepth ||
          parent->Frames.size() >= CellCount(*parent)) {
        ++skippedDepth;
        continue;
      }
      FrameDef cell;
      cell.Nested = std::make_shared<FrameSetDef>(makeSet(t));
      parent->Frames.push_back(std::move(cell));
      stack.push_back(parent->Frames.back().Nested.get());
    } else if (t.kind == Token::kEndTag && t.Name == "frameset") {
      if (skippedDepth > 0) {
        --skippedDepth;
      } else {
        stack.pop_back();
      }
    } else if (t.kind == Token::kStartTag && t.Name == "frame" && skippedDepth == 0) {
      FrameSetDef* parent = stack.back();
      if (parent->Frames.size() >= CellCount(*parent)) continue;
      FrameDef frame;
      if (const TagAttr* a = FindAttr(t, "name")) frame.Name = a->Value;
      if (const TagAttr* a = FindAttr(t, "src")) frame.Src = a->Value;
      if (const TagAttr* a = FindAttr(t, "scrolling")) frame.NoScroll = ToLower(a->Value) == "no";
      if (const TagAttr* a = FindAttr(t, "marginwidth")) frame.MarginWidth = ToInt(a->Value, -1);
      if (const TagAttr* a = FindAttr(t, "marginheight")) frame.MarginHeight = ToInt(a->Value, -1);
      parent->Frames.push_back(std::move(frame));
    }
  }
  return *root;
}

}  // namespace quire::engine::html

namespace quire::engine::html {

std::string PageTitle(std::string_view html) {
  TagScanner scanner(html);
  Token t;
  while (scanner.Next(t)) {
    if (t.kind == Token::kStartTag && t.Name == "body") return "";
    if (t.kind != Token::kRawText || t.Name != "title") continue;
    return platform::CollapseBlanks(html.substr(t.Begin, t.End - t.Begin),
                                    [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  }
  return "";
}

}  // namespace quire::engine::html
