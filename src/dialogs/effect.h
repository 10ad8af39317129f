// The soft looks of skinned windows: a window fading in over what was behind it (TEffCar) and
// a control cross-fading from one picture to another (TEffBtnCar).
#pragma once

#include <QImage>
#include <QPoint>
#include <memory>

#include "engine/widgets/pixel_buffer.h"
#include "media/super_timer.h"

class QPainter;
class QWidget;

namespace quire::dialogs {

// The window that shows the effects.
class IEffectOwner {
 public:
  virtual ~IEffectOwner() = default;
  virtual QWidget* EffectWidget() = 0;
  // A fade-in begins (true) or ends (false): hide what would paint over the fading window.
  virtual void FadeBegins(bool begins) = 0;
  // While the main window fades in, no cross-fade is drawn in any window.
  virtual bool MainFadeRunning() const = 0;
};

class TEffCar {
 public:
  explicit TEffCar(IEffectOwner& owner);

  // Begins the fade-in: what the screen shows at the window's place now, to the window's own
  // look.
  void Start();
  bool Running() const { return running_; }
  // The owner paints this instead of itself while the fade runs.
  void DrawFrame(QPainter& painter) const;

  // The steps of a fade, for tests and for hosts without a screen to capture.
  void StartWith(const QImage& behind, const QImage& window);
  void Tick(std::uint32_t count);

 private:
  void Finish();

  IEffectOwner& owner_;
  media::TSuperTimer timer_;
  bool running_ = false;
  engine::widgets::TPixelBuffer24 background_, foreground_, frame_;
};

class TEffBtnCar {
 public:
  TEffBtnCar(IEffectOwner& owner, int index);

  void Start(const QImage& from, const QImage& to, QPoint position);
  void Cancel();
  bool Running() const { return running_; }
  // The blend weight added per tick: 1 at first; the main window sets 3 or 4.
  void SetStep(int step) { step_ = step; }
  int Step() const { return step_; }
  // Draws the current (or, once ended, the last) frame at the control's place; nothing
  // while the main window fades in, or after a cancel.
  void DrawFrame(QPainter& painter) const;
  QRect FrameRect() const { return QRect(position_, frame_.size()); }

  void Tick(std::uint32_t count);

 private:
  void Finish();

  IEffectOwner& owner_;
  int index_;
  media::TSuperTimer timer_;
  bool running_ = false;
  int offset_ = 0;
  int step_ = 1;
  std::uint32_t ticks_ = 0;  // ticks of the running fade
  QPoint position_;
  engine::widgets::TPixelBuffer24 from_, to_, frame_;
};

}  // namespace quire::dialogs
