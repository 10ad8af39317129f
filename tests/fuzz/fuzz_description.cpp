// Description files of any text: the book window's and the thesaurus window's readers must end
// cleanly on every one.
#include <cstdint>
#include <string>

#include "core/declarations.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quire::core::Lines lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += static_cast<char>(data[i]);
    }
  }
  quire::core::ReadStructDescription(lines, "d:\\book\\run\\", "d:\\");
  quire::core::ReadThesaurusDescription(lines, "d:\\run\\", "d:\\", "a.htm");
  return 0;
}
