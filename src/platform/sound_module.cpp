// The sound player, in a module of its own: Qt Multimedia and the audio libraries behind it
// are loaded when the first sound plays, not when the program starts.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

#include "platform/sound.h"

namespace {
constexpr int kLongestSyncSoundMs = 15000;
}  // namespace

extern "C" Q_DECL_EXPORT void QuirePlayWave(const char* file, unsigned flags) {
  auto* sound = new QSoundEffect(QCoreApplication::instance());
  sound->setSource(QUrl::fromLocalFile(QString::fromUtf8(file)));
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
  if (flags & quire::platform::SND_ASYNC) return;
  // Synchronous: wait, serving events, until the sound is gone.
  QElapsedTimer clock;
  clock.start();
  QPointer<QSoundEffect> alive(sound);
  while (alive && clock.elapsed() < kLongestSyncSoundMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}
