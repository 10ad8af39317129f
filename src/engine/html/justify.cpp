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

// The boxes of a block's lines in order. A null marks the end of a paragraph: a line break or
// a block between lines.
void CollectLineItems(const element& parent, std::vector<element*>& out, int depth) {
  if (depth > kMaxDepth) return;
  for (size_t i = 0; i < parent.get_children_count(); ++i) {
    const element::ptr child = parent.get_child(static_cast<int>(i));
    if (!child || child->get_display() == litehtml::display_none || !InFlow(*child)) continue;
    const litehtml::style_display display = child->get_display();
    const bool inLine =
        display == litehtml::display_inline || display == litehtml::display_inline_text ||
        display == litehtml::display_inline_block || display == litehtml::display_inline_table;
    if (child->is_break() || !inLine) {
      out.push_back(nullptr);
    } else if (display == litehtml::display_inline && child->get_children_count() > 0) {
      CollectLineItems(*child, out, depth + 1);
    } else if (!child->skip()) {
      out.push_back(child.get());
    }
  }
}

// Where a line between `top` and `bottom` (document coordinates) may end in `block`.
int LineRight(element& block, int top, int bottom) {
  const litehtml::position box = block.get_placement();
  int right = box.width;
  for (int y : {top, bottom - 1}) {
    int left = 0, lineRight = box.width;
    block.get_line_left_right(y - box.y, box.width, left, lineRight);
    right = std::min(right, lineRight);
  }
  return box.x + right;
}

void JustifyLine(element& block, const std::vector<element*>& line) {
  auto isSpace = [](const element* el) { return el->is_white_space(); };
  const auto first = std::find_if_not(line.begin(), line.end(), isSpace);
  const auto last = std::find_if_not(line.rbegin(), line.rend(), isSpace).base();
  if (first >= last) return;
  const int gaps = static_cast<int>(std::count_if(first, last, isSpace));
  if (gaps == 0) return;
  int top = INT_MAX, bottom = INT_MIN;
  for (auto it = first; it != last; ++it) {
    const litehtml::position pos = (*it)->get_placement();
    top = std::min(top, pos.y);
    bottom = std::max(bottom, pos.y + pos.height);
  }
  const litehtml::position end = (*(last - 1))->get_placement();
  const int extra = LineRight(block, top, bottom) - (end.x + end.width);
  if (extra <= 0) return;
  int shift = 0, gap = 0;
  for (auto it = first; it != last; ++it) {
    litehtml::position& pos = (*it)->get_position();
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
  std::vector<element*> items;
  CollectLineItems(block, items, 0);
  std::vector<element*> line;
  int lineEnd = 0;  // right edge of the line's last box
  for (element* item : items) {
    if (!item) {
      line.clear();
      continue;
    }
    const litehtml::position pos = item->get_placement();
    if (!line.empty() && pos.x < lineEnd) {  // back at the left: the line wrapped
      JustifyLine(block, line);
      line.clear();
    }
    line.push_back(item);
    lineEnd = pos.x + pos.width;
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
