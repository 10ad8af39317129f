// Runs the event loop until a condition holds or a generous limit passes.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace quire::testing {

inline bool WaitUntil(const std::function<bool()>& done, int limitMs = 10000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

}  // namespace quire::testing
