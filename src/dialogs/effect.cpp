#include "dialogs/effect.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace quire::dialogs {

using engine::widgets::Blend;
using engine::widgets::MakeBuffer;

namespace {
constexpr int kFadeStep = 3;  // a fade-in shows 85 frames, alpha 3 to 255
}

TEffCar::TEffCar(IEffectOwner& owner) : owner_(owner) {
  timer_.SetInterval(1);
  timer_.OnTimer = [this](media::TSuperTimer& t) { Tick(t.TickCount()); };
}

void TEffCar::Start() {
  QWidget* window = owner_.EffectWidget();
  QImage behind;
  if (QScreen* screen = window->screen()) {
    behind = screen->grabWindow(0, window->x(), window->y(), window->width(), window->height())
                 .toImage();
  }
  QImage own(window->size(), QImage::Format_RGB32);
  own.fill(Qt::white);
  window->render(&own);  // painted while the fade is not yet running: the window's own look
  StartWith(behind, own);
}

void TEffCar::StartWith(const QImage& behind, const QImage& window) {
  const QSize size = window.size();
  background_ = MakeBuffer(behind, size);
  frame_ = background_;
  foreground_ = MakeBuffer(window, size);
  running_ = true;
  owner_.FadeBegins(true);
  timer_.SetEnabled(false);
  timer_.SetEnabled(true);
}

void TEffCar::Tick(std::uint32_t count) {
  if (!running_) return;
  const int alpha = kFadeStep * static_cast<int>(count);
  if (alpha > 255) {
    Finish();
    return;
  }
  Blend(foreground_, background_, alpha, frame_);
  owner_.EffectWidget()->repaint();
}

void TEffCar::Finish() {
  timer_.SetEnabled(false);
  Blend(foreground_, background_, 255, frame_);
  owner_.EffectWidget()->repaint();
  running_ = false;
  background_ = foreground_ = frame_ = {};
  owner_.FadeBegins(false);
  owner_.EffectWidget()->update();
}

void TEffCar::DrawFrame(QPainter& painter) const {
  if (!frame_.isNull()) painter.drawImage(0, 0, frame_);
}

TEffBtnCar::TEffBtnCar(IEffectOwner& owner, int index) : owner_(owner), index_(index) {
  timer_.SetInterval(1);
  timer_.OnTimer = [this](media::TSuperTimer& t) { Tick(t.TickCount()); };
}

void TEffBtnCar::Start(const QImage& from, const QImage& to, QPoint position) {
  if (running_) {
    // The reverse fade begins at the picture shown now.
    offset_ = 255 - static_cast<int>(ticks_) * step_ - offset_;
    timer_.SetEnabled(false);
  }
  from_ = MakeBuffer(from);
  to_ = MakeBuffer(to, from_.size());
  frame_ = from_;
  position_ = position;
  running_ = true;
  ticks_ = 0;
  timer_.SetEnabled(true);
}

void TEffBtnCar::Tick(std::uint32_t count) {
  if (!running_) return;
  ticks_ = count;
  const int a = static_cast<int>(count) * step_ + offset_;
  if (a >= 256) {
    Finish();
    return;
  }
  if (a >= 0) Blend(to_, from_, a, frame_);
  owner_.EffectWidget()->repaint(FrameRect());
}

void TEffBtnCar::Finish() {
  timer_.SetEnabled(false);
  Blend(to_, from_, 255, frame_);
  owner_.EffectWidget()->repaint(FrameRect());
  offset_ = 0;
  running_ = false;
  // The last frame stays on the control, as drawn, until the next fade or a cancel.
  from_ = to_ = {};
}

void TEffBtnCar::Cancel() {
  timer_.SetEnabled(false);
  offset_ = 0;
  running_ = false;
  from_ = to_ = frame_ = {};
}

void TEffBtnCar::DrawFrame(QPainter& painter) const {
  if (!owner_.MainFadeRunning() && !frame_.isNull()) {
    painter.drawImage(position_, frame_);
  }
}

}  // namespace quire::dialogs
