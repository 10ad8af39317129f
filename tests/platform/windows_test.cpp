#include "platform/windows.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace quire::platform {
namespace {

using testing::TempDir;

TEST(SingleInstanceLockTest, OneHolderPerTitleAndUserAndNoneAfterAKill) {
  TempDir prefix;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    auto lock = SingleInstanceLock::Acquire("Book", prefix.path());
    const char byte = lock ? '1' : '0';
    (void)!::write(ready[1], &byte, 1);
    ::pause();
    ::_exit(0);
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  EXPECT_EQ(byte, '1');
  EXPECT_FALSE(SingleInstanceLock::Acquire("BOOK", prefix.path()));  // titles ignore case
  EXPECT_TRUE(SingleInstanceLock::Acquire("Book", prefix / "other-user"));
  EXPECT_TRUE(SingleInstanceLock::Acquire("", prefix.path()));
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(SingleInstanceLock::Acquire("Book", prefix.path()));  // the system freed it
}

TEST(RegionTest, ShapesExcludeTheirRightAndBottomEdges) {
  const QRegion ellipse = EllipticRegion(0, 0, 100, 50);
  EXPECT_TRUE(ellipse.contains(QPoint(50, 25)));
  EXPECT_FALSE(ellipse.contains(QPoint(2, 2)));
  EXPECT_FALSE(ellipse.contains(QPoint(50, 50)));
  EXPECT_TRUE(EllipticRegion(10, 10, 10, 40).isEmpty());
  const QRegion square = PolygonRegion({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  EXPECT_TRUE(square.contains(QPoint(5, 5)));
  EXPECT_FALSE(square.contains(QPoint(15, 5)));
  const QRegion rounded = RoundRectRegion(0, 0, 100, 100, 20, 20);
  EXPECT_TRUE(rounded.contains(QPoint(50, 1)));
  EXPECT_FALSE(rounded.contains(QPoint(0, 0)));
}

}  // namespace
}  // namespace quire::platform
