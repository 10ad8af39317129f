#include "engine/html/justify.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace quire::engine::html {
namespace {

using litehtml::element;

constexpr int kMaxDepth = 1000;

// Elements whose content is laid out in lines of their own.
bool OwnsLines(litehtml::style_display display) {
  switch (display) {
    case litehtml::display_block:
    case litehtml::display_list_item:
    case litehtml::display_inline_block:
    case litehtml::display_table_cell:
    case litehtml::display_table_caption:
      return true;
    default:
      return false;
  }
}

bool IsJustified(const element& el) {
  const char* align = el.get_style_property("text-align", true, "left");
  return align && std::strcmp(align, "justify") == 0;
}

bool InFlow(const element& el) {
  const auto position = el.get_element_position();
  return el.get_float() == litehtml::float_none &&
         position != litehtml::element_position_absolute &&
         position != litehtml::element_position_fixed;
}

// A box in a block's lines; x and y are relative to the block's content box.
struct LineItem {
  element* El;
  int X, Y, Width, Height;
};

// The boxes of a block's lines in order. A null marks the end of a paragraph: a line break or
// a block between lines. `x`, `y`: where `parent` lies in the block.
void CollectLineItems(const element& parent, int x, int y, std::vector<LineItem>& out, int depth) {
  if (depth > kMaxDepth) return;
  for (size_t i = 0; i < parent.get_children_count(); ++i) {
    const element::ptr child = parent.get_child(static_cast<int>(i));
    if (!child || child->get_display() == litehtml::display_none || !InFlow(*child)) continue;
    const litehtml::style_display display = child->get_display();
    const bool inLine =
        display == litehtml::display_inline || display == litehtml::display_inline_text ||
        display == litehtml::display_inline_block || display == litehtml::display_inline_table;
    const litehtml::position& pos = child->get_position();
    if (child->is_break() || !inLine) {
      out.push_back({nullptr, 0, 0, 0, 0});
    } else if (display == litehtml::display_inline && child->get_children_count() > 0) {
      CollectLineItems(*child, x + pos.x, y + pos.y, out, depth + 1);
    } else if (!child->skip()) {
      out.push_back({child.get(), x + pos.x, y + pos.y, pos.width, pos.height});
    }
  }
}

// Where a line between `top` and `bottom` may end in `block`.
int LineRight(element& block, int top, int bottom) {
  const int width = block.get_position().width;
  int right = width;
  for (int y : {top, bottom - 1}) {
    int left = 0, lineRight = width;
    block.get_line_left_right(y, width, left, lineRight);
    right = std::min(right, lineRight);
  }
  return right;
}

void JustifyLine(element& block, const std::vector<LineItem>& line) {
  auto isSpace = [](const LineItem& item) { return item.El->is_white_space(); };
  const auto first = std::find_if_not(line.begin(), line.end(), isSpace);
  const auto last = std::find_if_not(line.rbegin(), line.rend(), isSpace).base();
  if (first >= last) return;
  const int gaps = static_cast<int>(std::count_if(first, last, isSpace));
  if (gaps == 0) return;
  int top = INT_MAX, bottom = INT_MIN;
  for (auto it = first; it != last; ++it) {
    top = std::min(top, it->Y);
    bottom = std::max(bottom, it->Y + it->Height);
  }
  const LineItem& end = *(last - 1);
  const int extra = LineRight(block, top, bottom) - (end.X + end.Width);
  if (extra <= 0) return;
  int shift = 0, gap = 0;
  for (auto it = first; it != last; ++it) {
    litehtml::position& pos = it->El->get_position();
    pos.x += shift;
    if (!isSpace(*it)) continue;
    ++gap;
    const int widen = extra * gap / gaps - extra * (gap - 1) / gaps;
    pos.width += widen;
    shift += widen;
  }
}

// Every line of the block but the last of each paragraph.
void JustifyBlock(element& block) {
  std::vector<LineItem> items;
  CollectLineItems(block, 0, 0, items, 0);
  std::vector<LineItem> line;
  for (const LineItem& item : items) {
    if (!item.El) {
      line.clear();
      continue;
    }
    const LineItem* previous = line.empty() ? nullptr : &line.back();
    if (previous && item.X < previous->X + previous->Width) {  // back at the left: it wrapped
      JustifyLine(block, line);
      line.clear();
    }
    line.push_back(item);
  }
}

void Walk(const element::ptr& el, int depth) {
  if (!el || depth > kMaxDepth || el->get_display() == litehtml::display_none) return;
  if (OwnsLines(el->get_display()) && IsJustified(*el)) JustifyBlock(*el);
  for (size_t i = 0; i < el->get_children_count(); ++i) {
    Walk(el->get_child(static_cast<int>(i)), depth + 1);
  }
}

}  // namespace

void JustifyLines(const litehtml::element::ptr& root) {
  Walk(root, 0);
}

}  // namespace quire::engine::html
