// A table cell: takes the border and padding its table's attributes give its cells (see
// kCellBorderAttr) straight into its box, wherever the cell's own style says nothing.
#pragma once

#include <litehtml/litehtml.h>

#include <litehtml/el_td.h>

namespace quire::engine::html {

class TTableCell : public litehtml::el_td {
 public:
  using litehtml::el_td::el_td;
  void parse_styles(bool is_reparse = false) override;

 private:
  void ApplyBorder(const char* border);
  void ApplyPadding(int pixels);
};

}  // namespace quire::engine::html
