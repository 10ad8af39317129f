// The main of test programs that need a QApplication (offscreen unless the test is x11).
#include <gtest/gtest.h>
#include <QApplication>

#include <cstring>
#include <memory>

int main(int argc, char** argv) {
  // Listing the tests needs no display, so test discovery works anywhere.
  bool listing = false;
  for (int i = 1; i < argc; ++i)
    listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
  std::unique_ptr<QApplication> app;
  if (!listing) app = std::make_unique<QApplication>(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
