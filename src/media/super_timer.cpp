#include "media/super_timer.h"

#include <QCoreApplication>
#include <QEvent>
#include <chrono>

namespace quire::media {

namespace {

using Clock = std::chrono::steady_clock;

class TickEvent : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }
  explicit TickEvent(std::uint64_t generation) : QEvent(Kind()), generation(generation) {}
  std::uint64_t generation;
};

}  // namespace

TSuperTimer::TSuperTimer(QObject* parent) : QObject(parent), worker_([this] { Work(); }) {}

TSuperTimer::~TSuperTimer() {
  {
    std::lock_guard lock(mutex_);
    terminate_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

void TSuperTimer::SetEnabled(bool enabled) {
  {
    std::lock_guard lock(mutex_);
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (enabled) {
      tickCount_ = 0;
      ++generation_;
    }
    tickPending_ = false;
  }
  wake_.notify_all();
}

void TSuperTimer::SetInterval(std::uint16_t milliseconds) {
  std::lock_guard lock(mutex_);
  interval_ = milliseconds;
}

void TSuperTimer::SetDriftCorrection(bool on) {
  std::lock_guard lock(mutex_);
  driftCorrection_ = on;
}

void TSuperTimer::Work() {
  std::unique_lock lock(mutex_);
  while (!terminate_) {
    wake_.wait(lock, [this] { return terminate_ || enabled_; });
    if (terminate_) break;
    // One run: from enabling to disabling.
    const std::uint64_t generation = generation_;
    const auto start = Clock::now();
    auto sleep = std::chrono::milliseconds(interval_);
    std::chrono::milliseconds elapsed{0};
    while (!terminate_ && enabled_ && generation == generation_) {
      if (wake_.wait_for(lock, sleep,
                         [&] { return terminate_ || !enabled_ || generation != generation_; })) {
        break;
      }
      elapsed += std::chrono::milliseconds(interval_);
      if (driftCorrection_) {
        const auto late =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start) - elapsed;
        sleep = std::max(std::chrono::milliseconds(0), sleep - late);
      }
      tickPending_ = true;
      QCoreApplication::postEvent(this, new TickEvent(generation));
      wake_.wait(lock, [&] { return terminate_ || !tickPending_; });
    }
  }
}

bool TSuperTimer::event(QEvent* event) {
  if (event->type() != TickEvent::Kind()) return QObject::event(event);
  DoTimer(static_cast<TickEvent*>(event)->generation);
  return true;
}

void TSuperTimer::DoTimer(std::uint64_t generation) {
  {
    std::lock_guard lock(mutex_);
    if (!enabled_ || generation != generation_ || QCoreApplication::closingDown()) {
      tickPending_ = false;
      wake_.notify_all();
      return;
    }
    ++tickCount_;
  }
  if (OnTimer) {
    try {
      OnTimer(*this);
    } catch (...) {
    }
  }
  {
    std::lock_guard lock(mutex_);
    tickPending_ = false;
  }
  wake_.notify_all();
}

}  // namespace quire::media
