// Short wave sounds played by file name.
#pragma once

#include <filesystem>

namespace quire::platform {

enum SoundFlags : unsigned {
  SND_SYNC = 0x0000,
  SND_ASYNC = 0x0001,
  SND_NODEFAULT = 0x0002,
  SND_NOWAIT = 0x2000,
  SND_FILENAME = 0x20000,
};

// Plays a WAV file. With SND_ASYNC it returns at once; otherwise it returns when the sound has
// ended. With SND_NOWAIT a sound that cannot start now is skipped. Failures are silent.
void PlaySound(const std::filesystem::path& file, unsigned flags);

}  // namespace quire::platform
