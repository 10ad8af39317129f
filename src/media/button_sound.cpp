#include "media/button_sound.h"

#include "platform/sound.h"
#include "platform/text.h"

namespace quire::media {

namespace {

void Play(const core::Globals& g, const std::string& wav, unsigned flags) {
  if (wav.empty() || wav == "no" || !g.Settings.ButtonSoundsOn) return;
  if (const auto host = g.Fs->ToHost(g.ExeDir + wav)) platform::PlaySound(*host, flags);
}

}  // namespace

void PlayButtonSound(const core::Globals& g, const std::string& wav) {
  using namespace platform;
  Play(g, wav, SND_FILENAME | SND_NOWAIT | SND_NODEFAULT | SND_ASYNC);
}

void PlayButtonSoundAndWait(const core::Globals& g, const std::string& wav) {
  using namespace platform;
  Play(g, wav, SND_FILENAME | SND_NOWAIT | SND_NODEFAULT);
}

bool CheckAuthoringLeftovers(const core::Globals& g,
                             const std::function<void(const std::string&)>& warn) {
  static const std::pair<const char*, const char*> kLeftovers[] = {
      {"Struct.txt", "Файл Struct.txt не удален"},
      {"About.txt", "Файл About.txt не удален"},
      {"Dialog.txt", "Файл Dialog.txt не удален"},
      {"Coder.exe", "А зачем тут кодер лежит?"},
  };
  bool found = false;
  for (const auto& [file, message] : kLeftovers) {
    if (!g.Fs->FileExists(g.ExeDir + file)) continue;
    found = true;
    warn(platform::Ansi(message));
  }
  return found;
}

}  // namespace quire::media
