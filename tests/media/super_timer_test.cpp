#include "media/super_timer.h"

#include <gtest/gtest.h>

#include <QThread>
#include <stdexcept>

#include "support/qt_wait.h"

namespace quire::media {
namespace {

using testing::WaitUntil;

TEST(SuperTimerTest, TicksOnTheGuiThreadUntilDisabledFromTheHandler) {
  TSuperTimer timer;
  timer.SetInterval(1);
  int ticks = 0;
  bool onGuiThread = true;
  timer.OnTimer = [&](TSuperTimer& t) {
    onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
    if (++ticks == 5) t.SetEnabled(false);
  };
  timer.SetEnabled(true);
  ASSERT_TRUE(WaitUntil([&] { return !timer.Enabled(); }));
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);  // no tick after disabling
  EXPECT_EQ(ticks, 5);
  EXPECT_EQ(timer.TickCount(), 5u);
  EXPECT_TRUE(onGuiThread);

  timer.SetEnabled(true);  // counting starts again from zero
  ASSERT_TRUE(WaitUntil([&] { return timer.TickCount() >= 1; }));
  EXPECT_LE(timer.TickCount(), 2u);
}

TEST(SuperTimerTest, HandlerExceptionsAreDroppedAndTicksGoOn) {
  TSuperTimer timer;
  timer.SetInterval(1);
  timer.OnTimer = [](TSuperTimer&) { throw std::runtime_error("in a tick"); };
  timer.SetEnabled(true);
  EXPECT_TRUE(WaitUntil([&] { return timer.TickCount() >= 3; }));
}

TEST(SuperTimerTest, NoTickReachesTheHandlerAfterDestruction) {
  int ticks = 0;
  {
    TSuperTimer timer;
    timer.SetInterval(1);
    timer.OnTimer = [&](TSuperTimer&) { ++ticks; };
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; }));
  }
  const int atDestruction = ticks;
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(ticks, atDestruction);
}

}  // namespace
}  // namespace quire::media
