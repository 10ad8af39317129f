#include "core/settings.h"

namespace quire::core {

std::string SettingsKey(const std::string& appTitle) {
  return "SOFTWARE\\No Name\\" + appTitle;
}

bool ReadBoolSetting(platform::TRegistry& key, const char* name, bool fallback) {
  if (const auto value = key.ReadBool(name)) return *value;
  key.WriteBool(name, fallback);
  return fallback;
}

std::int32_t ReadIntSetting(platform::TRegistry& key, const char* name, std::int32_t fallback) {
  if (const auto value = key.ReadInteger(name)) return *value;
  key.WriteInteger(name, fallback);
  return fallback;
}

void LoadSettings(platform::RegistryDb* registry, const std::string& appTitle,
                  TSettings& settings) {
  if (!registry) return;
  platform::TRegistry key(*registry);
  if (!key.OpenKey(SettingsKey(appTitle), true)) return;
  settings.Clip = ReadBoolSetting(key, "Clip", true);
  settings.ButtonSoundsOn = ReadBoolSetting(key, "Wav", true);
  settings.BackgroundOn = ReadBoolSetting(key, "BGSound", true);
  settings.Animation = ReadBoolSetting(key, "Animation", true);
  settings.Hint = ReadBoolSetting(key, "Hint", true);
  if (settings.HasPictures) {
    settings.RunSlideShow = ReadBoolSetting(key, "RunSlideShow", false);
    settings.SlideShowTime = ReadIntSetting(key, "SlideShowTime", 5);
    settings.ImageSequence = ReadIntSetting(key, "ImageSequence", 0);
  }
}

}  // namespace quire::core
