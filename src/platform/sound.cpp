#include "platform/sound.h"

#include <QCoreApplication>
#include <QLibrary>

namespace quire::platform {

namespace {

using PlayWave = void (*)(const char*, unsigned);

// The player module: beside the program, where it is installed, or in the build tree.
PlayWave LoadPlayer() {
  static PlayWave player = []() -> PlayWave {
    for (const QString& folder : {QCoreApplication::applicationDirPath(),
                                  QCoreApplication::applicationDirPath() + "/../lib/quire",
                                  QString(QUIRE_SOUND_MODULE_DIR)}) {
      QLibrary module(folder + "/quire_sound");
      if (auto play = reinterpret_cast<PlayWave>(module.resolve("QuirePlayWave"))) return play;
    }
    return nullptr;
  }();
  return player;
}

}  // namespace

void PlaySound(const std::filesystem::path& file, unsigned flags) {
  if (!QCoreApplication::instance() || !std::filesystem::is_regular_file(file)) return;
  if (const PlayWave play = LoadPlayer()) play(file.c_str(), flags);
}

}  // namespace quire::platform
