// The short sounds of controls, and the start-up check for authoring files left in a book.
#pragma once

#include <functional>
#include <string>

#include "core/globals.h"

namespace quire::media {

// Plays `ExeDir` + `wav` without waiting, unless it is empty or "no" or button sounds are off.
void PlayButtonSound(const core::Globals& g, const std::string& wav);
// The same, waiting until the sound has played (the exit button's sound at closing).
void PlayButtonSoundAndWait(const core::Globals& g, const std::string& wav);

// True when plain authoring files lie in the book folder; `warn` has then been called with a
// message for each, and the book must not start.
bool CheckAuthoringLeftovers(const core::Globals& g,
                             const std::function<void(const std::string&)>& warn);

}  // namespace quire::media
