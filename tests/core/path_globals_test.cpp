#include "core/path_globals.h"

#include <gtest/gtest.h>

#include "core/globals.h"
#include "support/temp_dir.h"

namespace quire::core {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(PathGlobalsTest, ArchiveRootLosesOnlyTheFirstRun) {
  struct Case {
    const char* exeDir;
    const char* root;
  } cases[] = {
      {"D:\\run\\", "D:\\"},   {"D:\\Books\\Run\\Run\\", "D:\\Books\\Run\\"},
      {"D:\\Brun\\", "D:\\B"},  // a plain substring removal
      {"d:\\RUN\\", "d:\\"},   {"d:\\book\\", "d:\\book\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(ArchiveRootFor(c.exeDir), c.root) << c.exeDir;
}

TEST(PathGlobalsTest, DerivesEveryFolderFromTheBookFolder) {
  const PathGlobals g = ComputePathGlobals("D:\\Run", "z:\\tmp");
  EXPECT_EQ(g.ExeDir, "D:\\Run\\");
  EXPECT_EQ(g.DriveRoot, "d:\\");
  EXPECT_EQ(g.ArchiveRootDir, "D:\\");
  EXPECT_EQ(g.WindowsDir, "c:\\windows\\");
  EXPECT_EQ(g.SystemDir, "c:\\windows\\system\\");
  EXPECT_EQ(g.TempDir, "z:\\tmp\\");
}

TEST(GlobalsTest, ABookInARunFolderLiesOnTheDriveAboveIt) {
  TempDir dir;
  const fs::path book = dir.Mkdir("cd/RUN");
  std::string error;
  const auto location = LocateBook(book, std::nullopt, error);
  ASSERT_TRUE(location) << error;
  EXPECT_EQ(location->MediumRoot, fs::canonical(dir / "cd"));
  const auto g = MakeGlobals(*location, dir / "prefix", error);
  ASSERT_TRUE(g) << error;
  EXPECT_EQ(g->ExeDir, "d:\\RUN\\");
  EXPECT_EQ(g->ArchiveRootDir, "d:\\");
  EXPECT_EQ(g->Fs->ToHost(g->WindowsDir), fs::absolute(dir / "prefix/windows"));
  g->CreateUserFolders();
  EXPECT_TRUE(g->Fs->DirectoryExists(g->SystemDir));
  EXPECT_TRUE(g->Fs->DirectoryExists("c:\\program files\\"));
  EXPECT_TRUE(g->Registry());
  EXPECT_TRUE(fs::exists(dir / "prefix/registry.sqlite3"));
}

TEST(GlobalsTest, AnyOtherBookFolderIsItsOwnDriveUnlessACdRootIsGiven) {
  TempDir dir;
  const fs::path book = dir.Mkdir("media/books/demo");
  std::string error;
  auto location = LocateBook(book, std::nullopt, error);
  ASSERT_TRUE(location);
  EXPECT_EQ(MakeGlobals(*location, dir / "p", error)->ExeDir, "d:\\");

  location = LocateBook(book, dir / "media", error);
  ASSERT_TRUE(location) << error;
  EXPECT_EQ(MakeGlobals(*location, dir / "p", error)->ExeDir, "d:\\books\\demo\\");

  EXPECT_FALSE(LocateBook(book, dir / "elsewhere", error));
  EXPECT_NE(error.find("not inside"), std::string::npos);
  EXPECT_FALSE(LocateBook(dir / "missing", std::nullopt, error));
  EXPECT_NE(error.find("not found"), std::string::npos);
}

}  // namespace
}  // namespace quire::core

#include "core/settings.h"

namespace quire::core {
namespace {

TEST(SettingsTest, AFirstRunCreatesTheKeyWithTheDefaults) {
  TempDir dir;
  std::string error;
  auto registry = platform::RegistryDb::Open(dir / "r.sqlite3", &error);
  TSettings settings;
  settings.HasPictures = true;
  LoadSettings(registry.get(), "Book", settings);
  platform::TRegistry key(*registry);
  ASSERT_TRUE(key.OpenKey("SOFTWARE\\No Name\\Book", false));
  for (const char* name : {"Clip", "Wav", "BGSound", "Animation", "Hint"}) {
    EXPECT_EQ(key.ReadInteger(name), 1) << name;
  }
  EXPECT_EQ(key.ReadInteger("RunSlideShow"), 0);
  EXPECT_EQ(key.ReadInteger("SlideShowTime"), 5);
  EXPECT_EQ(key.ReadInteger("ImageSequence"), 0);

  key.WriteBool("Wav", false);
  key.WriteInteger("ImageSequence", 2);
  TSettings again;
  LoadSettings(registry.get(), "Book", again);  // without picture areas: no slide values
  EXPECT_FALSE(again.ButtonSoundsOn);
  EXPECT_EQ(again.ImageSequence, 0);
}

}  // namespace
}  // namespace quire::core
