// The user's settings of a book: kept under one registry key per book title, loaded at
// start-up and read by every part of the program.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace quire::core {

// "SOFTWARE\No Name\" + the book title, under HKEY_CURRENT_USER.
std::string SettingsKey(const std::string& appTitle);

struct TSettings {
  bool Clip = true;
  bool ButtonSoundsOn = true;  // stored as "Wav"
  bool BackgroundOn = true;    // stored as "BGSound"
  bool Animation = true;
  bool Hint = true;
  bool RunSlideShow = false;
  std::int32_t SlideShowTime = 5;
  std::int32_t ImageSequence = 0;
  int SizeChoice = 0;  // not stored back: every start is "automatic"
  bool HasPictures = false;
};

// The boolean `name`; when it cannot be read, `fallback` is written and returned.
bool ReadBoolSetting(platform::TRegistry& key, const char* name, bool fallback);
// The integer `name`; when it cannot be read, `fallback` is written and returned.
std::int32_t ReadIntSetting(platform::TRegistry& key, const char* name, std::int32_t fallback);

// Loads the general settings (and the slide-show ones when the book has picture areas) from
// the book's key, creating it and any missing value. Without a registry the defaults stay.
void LoadSettings(platform::RegistryDb* registry, const std::string& appTitle, TSettings& settings);

}  // namespace quire::core
