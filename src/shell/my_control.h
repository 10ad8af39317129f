// TMyControl: an invisible child covering a skinned control, so that tool-tips work for
// controls the window paints itself. Its pointer events go to the window, in window
// coordinates.
#pragma once

#include <QWidget>

namespace quire::shell {

class IPointerHandler {
 public:
  virtual ~IPointerHandler() = default;
  virtual void FormMouseMove(Qt::KeyboardModifiers shift, int x, int y) = 0;
  virtual void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) = 0;
  virtual void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) = 0;
};

class TMyControl : public QWidget {
 public:
  TMyControl(QWidget* window, IPointerHandler& handler);
  // Places it over the control's rectangle with the control's hint.
  void Place(const QRect& bounds, const QString& hint);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  IPointerHandler& handler_;
};

}  // namespace quire::shell
