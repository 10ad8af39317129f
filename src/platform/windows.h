// Window services the book expects: region shapes for frameless windows, the single-instance
// lock, finding windows by caption and asking them to close.
#pragma once

#include <QRegion>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quire::platform {

// Regions as the book describes them; right and bottom edges are excluded, as on Windows.
QRegion PolygonRegion(const std::vector<QPoint>& points);  // winding fill
QRegion EllipticRegion(int left, int top, int right, int bottom);
QRegion RoundRectRegion(int left, int top, int right, int bottom, int width, int height);
// A region holding nothing; a window given it shows nothing.
QRegion EmptyRegion();
// Sets a window's shape; an empty region hides every pixel of it.
void SetWindowRegion(QWidget& window, const QRegion& region);

// A lock named after a book title, held while the process lives and released by the system
// when it ends in any way.
class SingleInstanceLock {
 public:
  // The lock, or null when another process holds the lock of `title` for the same per-user
  // prefix. An empty title always gets an unnamed lock.
  static std::unique_ptr<SingleInstanceLock> Acquire(const std::string& title,
                                                     const std::filesystem::path& userPrefix);
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

 private:
  explicit SingleInstanceLock(int fd) : fd_(fd) {}
  int fd_;
};

// Windows by caption. The windows of this process for now; other copies of the program join
// when windows of several processes talk to each other.
class WindowDirectory {
 public:
  // The first visible top-level window whose caption equals `title` without regard to case.
  static QWidget* FindWindowByTitle(const std::string& title);
  // Asks the window to close, synchronously (its close handler decides).
  static void SendClose(QWidget* window);
};

}  // namespace quire::platform
