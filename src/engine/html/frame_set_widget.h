// The widget of a frameset: lays its cells out by the rows and cols of the frameset, with a
// border between them.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

namespace quire::engine::html {

class TFrameSetWidget : public QWidget {
  Q_OBJECT
 public:
  TFrameSetWidget(std::string rows, std::string cols, int border, QWidget* parent = nullptr);
  // Cells fill the grid row by row.
  void AddCell(QWidget* cell);
  void ReplaceCell(QWidget* old, QWidget* cell);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Arrange();
  std::string rows_, cols_;
  int border_;
  std::vector<QWidget*> cells_;
};

}  // namespace quire::engine::html
