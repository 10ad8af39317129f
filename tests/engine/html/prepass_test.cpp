#include "engine/html/html_prepass.h"

#include <gtest/gtest.h>

namespace quire::engine::html {
namespace {

TEST(PrepassTest, Placeholder) {
  EXPECT_EQ(DeclaredCharset("<meta charset=koi8-r>"), "koi8-r");
}

}  // namespace
}  // namespace quire::engine::html
