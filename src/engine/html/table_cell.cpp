#include "engine/html/table_cell.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/html/html_prepass.h"

namespace quire::engine::html {
namespace {

// Cells without padding from their table or their style have this much, as in browsers.
constexpr int kDefaultPadding = 1;

litehtml::element::ptr TableOf(const litehtml::element& cell) {
  // td -> tr -> tbody -> table: the parser always puts a row group between.
  auto el = cell.parent();
  for (int depth = 0; el && depth < 3; ++depth, el = el->parent()) {
    if (std::strcmp(el->get_tagName(), "table") == 0) return el;
  }
  return nullptr;
}

}  // namespace

void TTableCell::parse_styles(bool is_reparse) {
  litehtml::el_td::parse_styles(is_reparse);
  const litehtml::element::ptr table = TableOf(*this);
  const char* padding = table ? table->get_attr(kCellPaddingAttr) : nullptr;
  ApplyPadding(padding ? std::atoi(padding) : kDefaultPadding);
  if (const char* border = table ? table->get_attr(kCellBorderAttr) : nullptr) ApplyBorder(border);
}

void TTableCell::ApplyBorder(const char* border) {
  const std::string value = border;
  const size_t space = value.find(' ');
  const auto style = static_cast<litehtml::border_style>(litehtml::value_index(
      value.substr(0, space), border_style_strings, litehtml::border_style_none));
  const litehtml::web_color color = litehtml::web_color::from_string(
      value.substr(space + 1).c_str(), get_document()->container());
  const struct {
    litehtml::css_border& css;
    const char *style, *width, *color;
  } sides[] = {
      {m_css_borders.left, "border-left-style", "border-left-width", "border-left-color"},
      {m_css_borders.top, "border-top-style", "border-top-width", "border-top-color"},
      {m_css_borders.right, "border-right-style", "border-right-width", "border-right-color"},
      {m_css_borders.bottom, "border-bottom-style", "border-bottom-width", "border-bottom-color"},
  };
  for (const auto& side : sides) {
    if (!get_style_property(side.style, false)) side.css.style = style;
    if (!get_style_property(side.width, false)) side.css.width.set_value(1, litehtml::css_units_px);
    if (!get_style_property(side.color, false)) side.css.color = color;
  }
  m_borders.left = static_cast<int>(m_css_borders.left.width.val());
  m_borders.top = static_cast<int>(m_css_borders.top.width.val());
  m_borders.right = static_cast<int>(m_css_borders.right.width.val());
  m_borders.bottom = static_cast<int>(m_css_borders.bottom.width.val());
}

void TTableCell::ApplyPadding(int pixels) {
  const struct {
    litehtml::css_length& css;
    int& used;
    const char* property;
  } sides[] = {{m_css_padding.left, m_padding.left, "padding-left"},
               {m_css_padding.top, m_padding.top, "padding-top"},
               {m_css_padding.right, m_padding.right, "padding-right"},
               {m_css_padding.bottom, m_padding.bottom, "padding-bottom"}};
  for (const auto& [css, used, property] : sides) {
    if (get_style_property(property, false)) continue;
    css.set_value(static_cast<float>(pixels), litehtml::css_units_px);
    used = pixels;
  }
}

}  // namespace quire::engine::html
