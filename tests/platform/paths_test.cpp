#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quire::platform {
namespace {

TEST(PathsTest, SplitsWindowsPaths) {
  struct Case {
    const char* path;
    const char* drive;
    const char* folder;
    const char* name;
    const char* ext;
  } cases[] = {
      {"d:\\run\\html\\ch1.htm", "d:", "d:\\run\\html\\", "ch1.htm", ".htm"},
      {"d:ch1.tar.gz", "d:", "d:", "ch1.tar.gz", ".gz"},
      {"d:\\run\\", "d:", "d:\\run\\", "", ""},
      {"d:\\a.b\\file", "d:", "d:\\a.b\\", "file", ""},
      {"html\\ch1.htm", "", "html\\", "ch1.htm", ".htm"},
      {"d:/texts/a.htm", "d:", "d:", "/texts/a.htm", ".htm"},  // "/" is no delimiter
      {"\\\\srv\\share\\dir\\f.txt", "\\\\srv\\share", "\\\\srv\\share\\dir\\", "f.txt", ".txt"},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFileDrive(c.path), c.drive) << c.path;
    EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
    EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
  }
  EXPECT_EQ(IncludeTrailingBackslash("d:\\run"), "d:\\run\\");
  EXPECT_EQ(IncludeTrailingBackslash("d:\\run\\"), "d:\\run\\");
  EXPECT_EQ(ExcludeTrailingBackslash("d:\\run\\"), "d:\\run");
}

TEST(PathsTest, MediumRootIsTheParentOfARunFolder) {
  EXPECT_EQ(MediumRootOf("/media/cdrom/run"), "/media/cdrom");
  EXPECT_EQ(MediumRootOf("/media/cdrom/RUN/"), "/media/cdrom");
  EXPECT_EQ(MediumRootOf("/home/me/book"), "/home/me/book");
  EXPECT_EQ(MediumRootOf("/home/me/brun"), "/home/me/brun");
}

TEST(PathsTest, UserPrefixFollowsTheEnvironment) {
  const std::string saved = std::getenv("QUIRE_PREFIX") ? std::getenv("QUIRE_PREFIX") : "";
  ::setenv("QUIRE_PREFIX", "/p/q", 1);
  EXPECT_EQ(UserPrefix(), "/p/q");
  ::unsetenv("QUIRE_PREFIX");
  ::setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(UserPrefix(), "/data/quire");
  ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", "/home/me", 1);
  EXPECT_EQ(UserPrefix(), "/home/me/.local/share/quire");
  if (!saved.empty()) ::setenv("QUIRE_PREFIX", saved.c_str(), 1);
}

}  // namespace
}  // namespace quire::platform
