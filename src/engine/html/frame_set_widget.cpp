#include "engine/html/frame_set_widget.h"

#include <QPainter>

#include "engine/html/frameset_parser.h"

namespace quire::engine::html {

TFrameSetWidget::TFrameSetWidget(std::string rows, std::string cols, int border, QWidget* parent)
    : QWidget(parent), rows_(std::move(rows)), cols_(std::move(cols)), border_(border) {}

void TFrameSetWidget::AddCell(QWidget* cell) {
  cell->setParent(this);
  cells_.push_back(cell);
  cell->show();
  Arrange();
}

void TFrameSetWidget::ReplaceCell(QWidget* old, QWidget* cell) {
  for (QWidget*& c : cells_) {
    if (c != old) continue;
    cell->setParent(this);
    c = cell;
    cell->show();
  }
  Arrange();
}

void TFrameSetWidget::resizeEvent(QResizeEvent*) {
  Arrange();
}

void TFrameSetWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
}

void TFrameSetWidget::Arrange() {
  const int rowCount = LengthCount(rows_);
  const int colCount = LengthCount(cols_);
  const int gapsX = border_ * (colCount - 1), gapsY = border_ * (rowCount - 1);
  const std::vector<int> heights = ShareOut(rows_, std::max(0, height() - gapsY));
  const std::vector<int> widths = ShareOut(cols_, std::max(0, width() - gapsX));
  size_t index = 0;
  int y = 0;
  for (int r = 0; r < rowCount; ++r) {
    int x = 0;
    for (int c = 0; c < colCount; ++c, ++index) {
      if (index < cells_.size()) {
        cells_[index]->setGeometry(x, y, widths[static_cast<size_t>(c)],
                                   heights[static_cast<size_t>(r)]);
      }
      x += widths[static_cast<size_t>(c)] + border_;
    }
    y += heights[static_cast<size_t>(r)] + border_;
  }
}

}  // namespace quire::engine::html
