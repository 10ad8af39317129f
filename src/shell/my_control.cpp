#include "shell/my_control.h"

#include <QMouseEvent>

#include "core/guard.h"

namespace quire::shell {

TMyControl::TMyControl(QWidget* window, IPointerHandler& handler)
    : QWidget(window), handler_(handler) {
  setMouseTracking(true);
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_TranslucentBackground);
}

void TMyControl::Place(const QRect& bounds, const QString& hint) {
  setGeometry(bounds);
  setToolTip(hint);
  setVisible(bounds.width() > 0 && bounds.height() > 0);
}

void TMyControl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() + pos();
  core::Guarded([&] { handler_.FormMouseMove(event->modifiers(), p.x(), p.y()); });
}

void TMyControl::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() + pos();
  core::Guarded([&] { handler_.FormMouseDown(event->button(), event->modifiers(), p.x(), p.y()); });
}

void TMyControl::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() + pos();
  core::Guarded([&] { handler_.FormMouseUp(event->button(), event->modifiers(), p.x(), p.y()); });
}

}  // namespace quire::shell
