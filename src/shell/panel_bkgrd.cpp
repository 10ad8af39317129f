#include "shell/panel_bkgrd.h"

#include <QHBoxLayout>

namespace quire::shell {

TPanelBkgrd::TPanelBkgrd(QWidget* window) : QWidget(window), splitter_(new QSplitter(this)) {
  setGeometry(33, 90, 673, 421);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);
  splitter_->setStyleSheet("QSplitter::handle { background: rgb(0, 48, 52); }");
  hide();
}

}  // namespace quire::shell
