// Book logic must never let an exception reach Qt: every event handler and slot that runs it
// goes through Guarded, which drops what escapes, as the book's application-wide handler does.
#pragma once

#include <utility>

namespace quire::core {

template <class F>
void Guarded(F&& body) noexcept {
  try {
    std::forward<F>(body)();
  } catch (...) {
  }
}

}  // namespace quire::core
