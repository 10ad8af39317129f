#include "platform/virtual_fs.h"
#include "support/cp1251.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/temp_dir.h"

namespace quire::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

using quire::testing::Cp;

class VirtualFsTest : public ::testing::Test {
 protected:
  VirtualFsTest() : vfs(DriveTable::ForBook(medium.path(), prefix.path())) {}
  TempDir medium;
  TempDir prefix;
  VirtualFs vfs;
};

TEST_F(VirtualFsTest, MatchesEachComponentWithoutRegardToCase) {
  const fs::path page = medium.Write("RUN/Html/Глава1.HTM", "page");
  EXPECT_EQ(vfs.ToHost(Cp("d:\\run\\html\\глава1.htm")), page);
  EXPECT_EQ(vfs.ToHost(Cp("D:\\RUN\\HTML\\ГЛАВА1.htm")), page);
  EXPECT_EQ(vfs.ToHost("d:/run/html/../Html/./" + Cp("глава1.htm")), page);
  EXPECT_EQ(vfs.ReadFile(Cp("d:\\run\\html\\глава1.htm")), "page");
  EXPECT_TRUE(vfs.FileExists(Cp("d:\\Run\\HTML\\ГЛАВА1.HTM")));
  EXPECT_FALSE(vfs.FileExists("d:\\run\\html"));
  EXPECT_TRUE(vfs.DirectoryExists("d:\\run\\html\\"));
}

TEST_F(VirtualFsTest, PrefersTheExactNameAndSeesFilesMadeLater) {
  medium.Write("a.txt", "lower");
  medium.Write("A.TXT", "upper");
  EXPECT_EQ(vfs.ReadFile("d:\\A.TXT"), "upper");
  EXPECT_EQ(vfs.ReadFile("d:\\a.txt"), "lower");
  EXPECT_FALSE(vfs.FileExists("d:\\new.txt"));
  medium.Write("NEW.TXT", "made later");
  EXPECT_EQ(vfs.ReadFile("d:\\new.txt"), "made later");
}

TEST_F(VirtualFsTest, MissingComponentsKeepTheirSpellingAndStayOnTheDrive) {
  EXPECT_EQ(vfs.ToHost(Cp("d:\\Новая\\Файл.txt")), medium.path() / "Новая" / "Файл.txt");
  EXPECT_EQ(vfs.ToHost("d:\\..\\..\\etc\\passwd"), medium.path() / "etc" / "passwd");
  EXPECT_EQ(vfs.ToHost("c:\\windows\\"), prefix.path() / "windows");
  EXPECT_EQ(vfs.ToHost("z:\\etc\\hostname"), fs::path("/etc/hostname"));
  EXPECT_FALSE(vfs.ToHost("q:\\x"));        // unmapped drive
  EXPECT_FALSE(vfs.ToHost("html\\a.htm"));  // no drive
  EXPECT_FALSE(vfs.ToHost(std::string("d:\\a\0b", 6)));
}

TEST_F(VirtualFsTest, NamesHostPathsOnTheDeepestDrive) {
  EXPECT_EQ(vfs.ToVirtual(medium / "run/Глава.htm"), Cp("d:\\run\\Глава.htm"));
  EXPECT_EQ(vfs.ToVirtual(medium.path()), "d:\\");
  EXPECT_EQ(vfs.ToVirtual(prefix / "windows/fonts"), "c:\\windows\\fonts");
  EXPECT_EQ(vfs.ToVirtual("/etc/hostname"), "z:\\etc\\hostname");
  EXPECT_FALSE(vfs.ToVirtual(medium / "中文.htm"));
  EXPECT_FALSE(vfs.ToVirtualOn('c', "/etc"));
}

TEST_F(VirtualFsTest, WritesCopiesAndDeletesLikeWindows) {
  ASSERT_TRUE(vfs.ForceDirectories(Cp("d:\\out\\Глубоко\\внутри")));
  ASSERT_TRUE(vfs.WriteFile(Cp("d:\\OUT\\глубоко\\a.txt"), "one"));
  EXPECT_EQ(vfs.ReadFile(Cp("d:\\out\\Глубоко\\A.TXT")), "one");

  ASSERT_TRUE(vfs.WriteFile("d:\\b.txt", "two"));
  EXPECT_TRUE(vfs.CopyFile("d:\\b.txt", Cp("d:\\out\\глубоко\\a.txt")));
  EXPECT_EQ(vfs.ReadFile(Cp("d:\\out\\глубоко\\a.txt")), "two");

  ASSERT_TRUE(vfs.SetReadOnly("d:\\b.txt", true));
  EXPECT_EQ(vfs.FileGetAttr("d:\\b.txt").value() & faReadOnly, faReadOnly);
  EXPECT_FALSE(vfs.CopyFile(Cp("d:\\out\\глубоко\\a.txt"), "d:\\b.txt"));
  EXPECT_FALSE(vfs.DeleteFile("d:\\b.txt"));  // read-only files are not deleted
  ASSERT_TRUE(vfs.SetReadOnly("d:\\b.txt", false));
  EXPECT_TRUE(vfs.DeleteFile("d:\\b.txt"));
  EXPECT_FALSE(vfs.FileExists("d:\\b.txt"));

  EXPECT_FALSE(vfs.RemoveDir("d:\\out"));  // not empty
  EXPECT_FALSE(vfs.CopyFile("d:\\missing", "d:\\x"));
  EXPECT_FALSE(vfs.ReadFile("d:\\out"));
}

TEST_F(VirtualFsTest, FindsWithWildcardsAndTheAttributeMask) {
  medium.Write("book/Ch1.HTM");
  medium.Write("book/ch2.html");
  medium.Write("book/readme");
  medium.Write("book/.hidden.htm");
  medium.Mkdir("book/pics.htm");
  auto names = [&](const char* mask, unsigned attr) {
    std::vector<std::string> out;
    for (const SearchRec& rec : vfs.FindFiles(std::string("d:\\book\\") + mask, attr)) {
      out.push_back(rec.Name);
    }
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(names("*.htm*", faArchive), (V{"Ch1.HTM", "ch2.html"}));
  EXPECT_EQ(names("*.htm*", 39), (V{".hidden.htm", "Ch1.HTM", "ch2.html"}));
  EXPECT_EQ(names("*.htm*", faAnyFile), (V{".hidden.htm", "Ch1.HTM", "ch2.html", "pics.htm"}));
  EXPECT_EQ(names("*.*", 0), (V{"Ch1.HTM", "ch2.html", "readme"}));
  EXPECT_EQ(names("ch?.htm", 0), (V{"Ch1.HTM"}));
  EXPECT_EQ(names("*.", 0), (V{"readme"}));
}

TEST(MaskTest, FollowsWindowsWildcards) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  } cases[] = {
      {"a.htm", "*.htm*", true}, {"a.html", "*.HTM*", true}, {"a.txt", "*.htm*", false},
      {"noext", "*.*", true},    {"a.b.c", "*.c", true},     {"abc", "a?c", true},
      {"ac", "a?c", false},      {"readme", "*.", true},     {"a.b", "*.", false},
      {"abc", "a*b*c", true},    {"abcb", "a*b", true},      {"", "*", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " " << c.mask;
  EXPECT_TRUE(MatchesMask(Cp("ГЛАВА.htm"), Cp("глава*")));
}

TEST_F(VirtualFsTest, ListFilesGoesBreadthFirst) {
  medium.Write("g/b.txt");
  medium.Write("g/a.txt");
  medium.Write("g/x.bmp");
  medium.Write("g/sub1/c.txt");
  medium.Write("g/sub1/deeper/d.txt");
  medium.Write("g/sub2/e.TXT");
  using V = std::vector<std::string>;
  EXPECT_EQ(vfs.ListFiles("d:\\g", {"*.TXT"}, true, false),
            (V{"d:\\g\\a.txt", "d:\\g\\b.txt", "d:\\g\\sub1\\c.txt", "d:\\g\\sub2\\e.TXT",
               "d:\\g\\sub1\\deeper\\d.txt"}));
  EXPECT_EQ(vfs.ListFiles("d:\\g\\", {"*.bmp", "a*"}, false, true),
            (V{"d:\\g\\", "d:\\g\\x.bmp", "d:\\g\\a.txt"}));
  EXPECT_EQ(vfs.ListFiles("d:\\g", {"*.*"}, true, true).size(), 10u);
  EXPECT_TRUE(vfs.ListFiles("", {"*.*"}, true, true).empty());
}

TEST_F(VirtualFsTest, ListFilesDoesNotLoopThroughLinks) {
  medium.Write("loop/f.txt");
  fs::create_directory_symlink(medium / "loop", medium / "loop/again");
  const auto files = vfs.ListFiles("d:\\loop", {"*.*"}, true, false);
  EXPECT_LE(files.size(), 2u);
  EXPECT_EQ(files.front(), "d:\\loop\\f.txt");
}

}  // namespace
}  // namespace quire::platform
