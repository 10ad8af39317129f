// TPanelBkgrd: the white panel of the reading screen that carries its HTML viewer and the
// contents trees, with a splitter between them.
#pragma once

#include <QSplitter>
#include <QWidget>

namespace quire::shell {

class TPanelBkgrd : public QWidget {
 public:
  explicit TPanelBkgrd(QWidget* window);
  QSplitter* Splitter() const { return splitter_; }

 private:
  QSplitter* splitter_;
};

}  // namespace quire::shell
