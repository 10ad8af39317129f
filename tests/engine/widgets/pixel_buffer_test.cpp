#include "engine/widgets/pixel_buffer.h"

#include <gtest/gtest.h>

namespace quire::engine::widgets {
namespace {

TEST(BlendTest, IsExactToTheUnit) {
  struct Case {
    int foreground, background, alpha, expected;
  } cases[] = {
      {200, 100, 255, 199},  // one below the foreground at full weight
      {200, 250, 255, 200}, {255, 0, 3, 2},
      {0, 255, 3, 252},  // the shift rounds toward minus infinity
      {10, 10, 128, 10},    {0, 255, 0, 255},
  };
  for (const Case& c : cases) {
    TPixelBuffer24 f(1, 1, QImage::Format_RGB888), b(1, 1, QImage::Format_RGB888);
    f.fill(QColor(c.foreground, c.foreground, c.foreground));
    b.fill(QColor(c.background, 0, c.background));
    TPixelBuffer24 t(1, 1, QImage::Format_RGB888);
    Blend(f, b, c.alpha, t);
    const QColor got = t.pixelColor(0, 0);
    EXPECT_EQ(got.red(), c.expected) << c.foreground << " over " << c.background;
    EXPECT_EQ(got.blue(), c.expected);
    EXPECT_EQ(got.green(), BlendTable(c.alpha)(c.foreground));
  }
}

}  // namespace
}  // namespace quire::engine::widgets
