// libFuzzer entry: reading framesets and sharing out their space, on any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/html/frameset_parser.h"
#include "engine/html/names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quire::engine::html;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (auto set = ParseFrameset(text)) {
    ShareOut(set->Rows, 1000);
    ShareOut(set->Cols, static_cast<int>(size % 5000));
    for (const FrameDef& frame : set->Frames) ExpandName(frame.Src, "d:\\run\\html\\index.htm");
  }
  PageTitle(text);
  ShareOut(text, 640);
  SplitUrl(text);
  ExpandName(text, "d:\\run\\a.htm");
  return 0;
}
