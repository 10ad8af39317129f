// libFuzzer entry: the passes a page goes through before layout, on any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/html/html_prepass.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quire::engine::html;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  DeclaredCharset(bytes);
  CapNesting(bytes, 3, 50);
  StripStyleComments(bytes);
  std::string css;
  MapPresentationalAttributes(bytes, &css);
  PreparePage(bytes);
  return 0;
}
