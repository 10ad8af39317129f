#include "engine/html/names.h"

#include <gtest/gtest.h>

namespace quire::engine::html {
namespace {

TEST(NamesTest, Placeholder) {
  EXPECT_EQ(ExpandName("a.htm", "d:\\run\\b.htm"), "d:\\run\\a.htm");
}

}  // namespace
}  // namespace quire::engine::html
