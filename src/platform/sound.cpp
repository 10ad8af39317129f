#include "platform/sound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace quire::platform {

namespace {
constexpr int kLongestSyncSoundMs = 15000;
}

void PlaySound(const std::filesystem::path& file, unsigned flags) {
  if (!QCoreApplication::instance() || !std::filesystem::is_regular_file(file)) return;
  auto* sound = new QSoundEffect(QCoreApplication::instance());
  sound->setSource(QUrl::fromLocalFile(QString::fromStdString(file.string())));
  // The effect frees itself once it has played or failed.
  QObject::connect(sound, &QSoundEffect::playingChanged, sound, [sound] {
    if (!sound->isPlaying()) sound->deleteLater();
  });
  QObject::connect(sound, &QSoundEffect::statusChanged, sound, [sound] {
    if (sound->status() == QSoundEffect::Ready) {
      sound->play();
    } else if (sound->status() == QSoundEffect::Error) {
      sound->deleteLater();
    }
  });
  if (sound->status() == QSoundEffect::Ready) sound->play();
  if (flags & SND_ASYNC) return;
  // Synchronous: wait, serving events, until the sound is gone.
  QElapsedTimer clock;
  clock.start();
  QPointer<QSoundEffect> alive(sound);
  while (alive && clock.elapsed() < kLongestSyncSoundMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

}  // namespace quire::platform
