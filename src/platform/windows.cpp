#include "platform/windows.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QPainterPath>
#include <filesystem>

#include "platform/text.h"

namespace quire::platform {

namespace fs = std::filesystem;

QRegion PolygonRegion(const std::vector<QPoint>& points) {
  return QRegion(QPolygon(QList<QPoint>(points.begin(), points.end())), Qt::WindingFill);
}

QRegion EllipticRegion(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return EmptyRegion();
  return QRegion(left, top, right - left, bottom - top, QRegion::Ellipse);
}

QRegion RoundRectRegion(int left, int top, int right, int bottom, int width, int height) {
  if (right <= left || bottom <= top) return EmptyRegion();
  QPainterPath path;
  path.addRoundedRect(QRectF(left, top, right - left, bottom - top), width / 2.0, height / 2.0);
  return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

QRegion EmptyRegion() {
  return QRegion();
}

void SetWindowRegion(QWidget& window, const QRegion& region) {
  // Qt takes an empty mask as "no mask"; a window shaped to nothing must show nothing.
  window.setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

std::unique_ptr<SingleInstanceLock> SingleInstanceLock::Acquire(const std::string& title,
                                                                const fs::path& userPrefix) {
  if (title.empty()) return std::unique_ptr<SingleInstanceLock>(new SingleInstanceLock(-1));
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  fs::path folder = runtime && *runtime ? fs::path(runtime) : fs::temp_directory_path();
  folder /= "quire-" + std::to_string(::getuid());
  std::error_code ec;
  fs::create_directories(folder, ec);
  // Titles compare without regard to case, so the lock is named after the upper-cased title.
  const QByteArray key =
      QCryptographicHash::hash(
          QByteArray::fromStdString(userPrefix.string() + '\n' + AnsiUpperCase(title)),
          QCryptographicHash::Sha1)
          .toHex();
  const fs::path file = folder / (key.toStdString() + ".lock");
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return std::unique_ptr<SingleInstanceLock>(new SingleInstanceLock(-1));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<SingleInstanceLock>(new SingleInstanceLock(fd));
}

SingleInstanceLock::~SingleInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

QWidget* WindowDirectory::FindWindowByTitle(const std::string& title) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    const std::string caption = FromQString(window->windowTitle());
    if (window->isVisible() && !caption.empty() && SameText(caption.substr(0, 127), title)) {
      return window;
    }
  }
  return nullptr;
}

void WindowDirectory::SendClose(QWidget* window) {
  if (window) window->close();
}

}  // namespace quire::platform
