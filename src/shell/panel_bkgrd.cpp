#include "shell/panel_bkgrd.h"

#include <QHBoxLayout>

namespace quire::shell {

namespace {

// A splitter whose handles are plain bars of the panel's dark colour.
class ColouredSplitter : public QSplitter {
 public:
  using QSplitter::QSplitter;

 protected:
  QSplitterHandle* createHandle() override {
    auto* handle = new QSplitterHandle(orientation(), this);
    handle->setAutoFillBackground(true);
    QPalette palette = handle->palette();
    palette.setColor(QPalette::Window, QColor(0, 48, 52));
    handle->setPalette(palette);
    return handle;
  }
};

}  // namespace

TPanelBkgrd::TPanelBkgrd(QWidget* window) : QWidget(window), splitter_(new ColouredSplitter(this)) {
  setGeometry(33, 90, 673, 421);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);
  hide();
}

}  // namespace quire::shell
