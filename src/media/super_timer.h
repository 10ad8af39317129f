// TSuperTimer: ticks at short, steady intervals (down to 1 ms), raised on the GUI thread. A
// worker thread sleeps and hands each tick over, waiting until it has run, so ticks never
// queue up behind a slow handler.
#pragma once

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace quire::media {

class TSuperTimer : public QObject {
 public:
  explicit TSuperTimer(QObject* parent = nullptr);
  ~TSuperTimer() override;  // ends the worker; no tick runs afterwards

  // Raised on the GUI thread; exceptions it throws are dropped.
  std::function<void(TSuperTimer&)> OnTimer;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::uint16_t Interval() const { return interval_; }
  void SetInterval(std::uint16_t milliseconds);
  void SetDriftCorrection(bool on);
  std::uint32_t TickCount() const { return tickCount_; }

 protected:
  bool event(QEvent* event) override;

 private:
  void Work();
  void DoTimer(std::uint64_t generation);

  std::mutex mutex_;
  std::condition_variable wake_;
  bool enabled_ = false;
  bool terminate_ = false;
  bool tickPending_ = false;
  bool driftCorrection_ = false;
  std::uint16_t interval_ = 1000;
  std::uint64_t generation_ = 0;  // each enabling starts a new run; older ticks are dropped
  std::uint32_t tickCount_ = 0;
  std::thread worker_;
};

}  // namespace quire::media
