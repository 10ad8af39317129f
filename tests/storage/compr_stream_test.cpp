#include "storage/compr_stream.h"

#include <gtest/gtest.h>

#include "storage/content_archive.h"
#include "storage/storage_error.h"
#include "support/book_writers.h"
#include "support/temp_dir.h"

namespace quire::storage {
namespace {

using namespace quire::testing;

class ComprStreamTest : public ::testing::Test {
 protected:
  ComprStreamTest() {
    dir.Mkdir("cd/run");
    std::string error;
    g = core::MakeGlobals(*core::LocateBook(dir / "cd/run", std::nullopt, error), dir / "p", error);
    dir.Write("cd/run/interface.dat",
              MakeArchive({Folder("RUN", {Folder("HTML", {File("CH1.HTM", "from the archive")}),
                                          Folder("PICS", {})})})
                  .Bytes());
    archive.OpenArchive(*g->Fs, g->ExeDir + "interface.dat");
    archive.SetArchiveRoot(g->ArchiveRootDir);
    g->Archive = &archive;
  }
  TempDir dir;
  std::unique_ptr<core::Globals> g;
  ContentArchive archive;
};

TEST_F(ComprStreamTest, TakesTheArchiveFirstAndTheDiskOtherwise) {
  dir.Write("cd/run/html/ch1.htm", "from the disk");
  dir.Write("cd/run/html/only.htm", "only on disk");
  EXPECT_EQ(TComprStream(*g, "d:\\run\\html\\ch1.htm").Bytes(), "from the archive");
  EXPECT_EQ(TComprStream(*g, "d:\\run\\HTML\\ONLY.HTM").Bytes(), "only on disk");
  EXPECT_TRUE(ContentFileExists(*g, "d:\\run\\html\\ch1.htm"));
  EXPECT_TRUE(ContentFileExists(*g, "d:\\run\\html\\only.htm"));
  std::filesystem::remove(dir / "cd/run/html/ch1.htm");
  EXPECT_TRUE(ContentFileExists(*g, "d:\\run\\html\\ch1.htm"));
  EXPECT_FALSE(ContentFileExists(*g, "d:\\run\\html\\none.htm"));
}

TEST_F(ComprStreamTest, AFolderOrAMissingFileCannotBeOpened) {
  dir.Mkdir("cd/run/pics");
  EXPECT_FALSE(ContentFileExists(*g, "d:\\run\\pics"));
  try {
    TComprStream stream(*g, "d:\\run\\pics");
    ADD_FAILURE() << "a folder opened";
  } catch (const FileOpenError& e) {
    EXPECT_STREQ(e.what(), "Can't open file d:\\run\\pics");
  }
  EXPECT_THROW(TComprStream(*g, "d:\\run\\none.htm"), FileOpenError);
}

TEST(ReadLineTest, EndsLinesAtCrAndSkipsLf) {
  TempDir dir;
  std::string error;
  auto g = core::MakeGlobals(*core::LocateBook(dir.path(), std::nullopt, error), dir / "p", error);
  struct Case {
    std::string text;
    std::vector<std::pair<std::string, bool>> calls;
  } cases[] = {
      {"a\r\nb", {{"a", true}, {"b", false}}},
      {"a\r\n", {{"a", true}, {"", false}}},
      {"", {{"", false}}},
      {"x\ny\r\rz", {{"xy", true}, {"", true}, {"z", false}, {"", false}}},
  };
  for (const Case& c : cases) {
    dir.Write("t.txt", c.text);
    TComprStream stream(*g, "d:\\t.txt");
    std::string line = "stale";
    for (const auto& [expected, ended] : c.calls) {
      EXPECT_EQ(ReadLine(stream, line), ended) << c.text;
      EXPECT_EQ(line, expected) << c.text;
    }
  }
}

}  // namespace
}  // namespace quire::storage
