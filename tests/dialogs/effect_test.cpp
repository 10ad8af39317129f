#include "dialogs/effect.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

namespace quire::dialogs {
namespace {

struct Owner : IEffectOwner {
  QWidget widget;
  std::vector<bool> fades;
  bool mainFade = false;
  QWidget* EffectWidget() override { return &widget; }
  void FadeBegins(bool begins) override { fades.push_back(begins); }
  bool MainFadeRunning() const override { return mainFade; }
};

QImage Filled(QRgb colour) {
  QImage image(4, 2, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Ticks by hand (no event loop runs, so the timer's own ticks never arrive) until it stops.
int TicksToFinish(TEffBtnCar& effect) {
  int n = 0;
  while (effect.Running()) effect.Tick(++n);
  return n;
}

TEST(EffBtnCarTest, AReverseFadeStartsFromThePictureShown) {
  struct Case {
    int step, ticksBeforeReverse, ticksAfter;
  } cases[] = {{1, 100, 101}, {4, 25, 26}, {3, 0, 86}};
  for (const Case& c : cases) {
    Owner owner;
    TEffBtnCar effect(owner, 0);
    effect.SetStep(c.step);
    effect.Start(Filled(qRgb(0, 0, 0)), Filled(qRgb(255, 255, 255)), {10, 20});
    for (int n = 1; n <= c.ticksBeforeReverse; ++n) effect.Tick(n);
    if (c.ticksBeforeReverse > 0) {
      effect.Start(Filled(qRgb(255, 255, 255)), Filled(qRgb(0, 0, 0)), {10, 20});
    }
    EXPECT_EQ(TicksToFinish(effect), c.ticksAfter) << "step " << c.step;
  }
}

TEST(EffBtnCarTest, DrawsNothingWhileTheMainWindowFadesIn) {
  Owner owner;
  TEffBtnCar effect(owner, 0);
  effect.Start(Filled(qRgb(0, 0, 0)), Filled(qRgb(255, 0, 0)), {1, 1});
  effect.Tick(128);
  QImage canvas(8, 8, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  owner.mainFade = true;
  {
    QPainter painter(&canvas);
    effect.DrawFrame(painter);
  }
  EXPECT_EQ(canvas.pixel(2, 2), qRgb(255, 255, 255));
  owner.mainFade = false;
  {
    QPainter painter(&canvas);
    effect.DrawFrame(painter);
  }
  EXPECT_EQ(canvas.pixel(2, 2), qRgb(127, 0, 0));
  effect.Cancel();
  EXPECT_FALSE(effect.Running());
}

TEST(EffCarTest, FadesIn85FramesThenTellsTheOwner) {
  Owner owner;
  owner.widget.resize(4, 2);
  TEffCar fade(owner);
  fade.StartWith(Filled(qRgb(0, 0, 0)), Filled(qRgb(255, 255, 255)));
  EXPECT_TRUE(fade.Running());
  EXPECT_EQ(owner.fades, std::vector<bool>{true});
  QImage canvas(4, 2, QImage::Format_RGB32);
  fade.Tick(1);
  {
    QPainter painter(&canvas);
    fade.DrawFrame(painter);
  }
  EXPECT_EQ(qRed(canvas.pixel(0, 0)), 2);  // alpha 3
  for (std::uint32_t n = 2; n <= 85; ++n) fade.Tick(n);
  EXPECT_TRUE(fade.Running());
  fade.Tick(86);
  EXPECT_FALSE(fade.Running());
  EXPECT_EQ(owner.fades, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace quire::dialogs
