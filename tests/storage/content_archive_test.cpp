#include "storage/content_archive.h"
#include "support/cp1251.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "storage/storage_error.h"
#include "support/book_writers.h"
#include "support/temp_dir.h"

namespace quire::storage {
namespace {

using namespace quire::testing;

using quire::testing::Cp;

class ContentArchiveTest : public ::testing::Test {
 protected:
  ContentArchiveTest() : fs(platform::DriveTable::ForBook(dir.path(), dir / "prefix")) {}

  void Open(const RawArchive& raw) {
    dir.Write("book/run/interface.dat", raw.Bytes());
    archive.OpenArchive(fs, "d:\\book\\run\\interface.dat");
  }
  std::string Extract(int index) {
    std::string out;
    EXPECT_EQ(archive.ExtractEntry(index, out), 0);
    return out;
  }

  TempDir dir;
  platform::VirtualFs fs;
  ContentArchive archive;
};

RawArchive SampleBook() {
  return MakeArchive({
      Folder("RUN", {Folder("HTML", {File("CH1.HTM", std::string(500, 'a')),
                                     File(Cp("ГЛАВА.HTM"), "stored as is", false),
                                     File("lower.htm", "never found")}),
                     File(".HIDDEN", "skipped in lists"), File("INDEX.HTM", "index")}),
      File("ROOT.TXT", "at the root"),
  });
}

TEST_F(ContentArchiveTest, FindsPathsWhateverTheirCaseAndSlashes) {
  Open(SampleBook());
  archive.SetArchiveRoot("d:\\book\\");
  const int ch1 = archive.FindArchiveFile("d:\\book\\run\\Html\\Ch1.htm");
  ASSERT_GE(ch1, 0);
  EXPECT_EQ(archive.FindArchiveFile("D:/BOOK/RUN/HTML/CH1.HTM"), ch1);
  EXPECT_EQ(Extract(ch1), std::string(500, 'a'));

  const int glava = archive.FindArchiveFile(Cp("d:\\book\\run\\html\\глава.htm"));
  ASSERT_GE(glava, 0);
  EXPECT_EQ(Extract(glava), "stored as is");

  EXPECT_EQ(archive.FindArchiveFile("\\root.txt"), archive.FindArchiveFile("root.txt"));
  EXPECT_EQ(archive.FindArchiveFile("d:\\book\\run\\html\\lower.htm"), -1);  // stored lower case
  EXPECT_EQ(archive.FindArchiveFile("d:\\book\\run\\html"), -1);             // a folder
  EXPECT_EQ(archive.FindArchiveFile("d:\\book\\run\\index.htm\\x"), -1);     // a file as folder
  EXPECT_EQ(archive.FindArchiveFile("e:\\book\\run\\index.htm"), -1);        // another drive
  EXPECT_EQ(archive.FindArchiveFile("d:\\book\\run\\" + std::string(101, 'A')), -1);
  EXPECT_EQ(archive.FindArchiveFile(std::string(2000, 'A')), -1);
}

TEST_F(ContentArchiveTest, RemovesTheRootPrefixByteExactly) {
  Open(SampleBook());
  archive.SetArchiveRoot("d:\\book\\");
  EXPECT_EQ(archive.Root(), "D:\\BOOK\\");
  EXPECT_GE(archive.FindArchiveFile("D:\\BOOK\\RUN\\INDEX.HTM"), 0);
  EXPECT_GE(archive.FindArchiveFile("D:\\BOOK\\\\RUN\\INDEX.HTM"), 0);  // a leading "\" is the root
  EXPECT_GE(archive.FindArchiveFile("RUN\\INDEX.HTM"), 0);  // no prefix: relative to the root
  archive.SetArchiveRoot("");
  EXPECT_GE(archive.FindArchiveFile("run\\index.htm"), 0);
}

TEST_F(ContentArchiveTest, ListsFilesDepthFirstWithoutDotNames) {
  Open(SampleBook());
  EXPECT_EQ(archive.ListArchiveFiles(),
            (std::vector<std::string>{"RUN\\HTML\\CH1.HTM", "RUN\\HTML\\" + Cp("ГЛАВА.HTM"),
                                      "RUN\\HTML\\lower.htm", "RUN\\INDEX.HTM", "ROOT.TXT"}));
}

TEST_F(ContentArchiveTest, ReadsAnUncompressedDirectory) {
  RawArchive raw = SampleBook();
  raw.compressDirectory = false;
  Open(raw);
  EXPECT_EQ(Extract(archive.FindArchiveFile("root.txt")), "at the root");
}

TEST_F(ContentArchiveTest, RefusesDamagedArchivesNamingTheFault) {
  using Damage = void (*)(RawArchive&);
  struct Case {
    const char* message;
    Damage damage;
  } cases[] = {
      {"outside the file", [](RawArchive& a) { a.entries[4].offset = 1u << 30; }},
      {"impossible size", [](RawArchive& a) { a.entries[4].size = 0xFFFFFFF0u; }},
      {"range that does not exist", [](RawArchive& a) { a.entries[0].offset = 99; }},
      {"entries that do not exist", [](RawArchive& a) { a.ranges[1].second = 500; }},
      {"root folder", [](RawArchive& a) { a.root = 7; }},
      {"more than one folder", [](RawArchive& a) { a.entries[2].offset = 0; }},  // a cycle
      {"more than one folder",
       [](RawArchive& a) { a.entries[3].kind = 2, a.entries[3].offset = 2; }},
  };
  for (const Case& c : cases) {
    RawArchive raw = SampleBook();
    c.damage(raw);
    try {
      Open(raw);
      ADD_FAILURE() << c.message << ": accepted";
    } catch (const DamagedFileError& e) {
      EXPECT_NE(std::string(e.what()).find("interface.dat"), std::string::npos);
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(archive.IsOpen());
    EXPECT_EQ(archive.FindArchiveFile("root.txt"), -1);
  }
}

TEST_F(ContentArchiveTest, RefusesDamagedHeadersAndDirectoryBlocks) {
  const std::string good = SampleBook().Bytes();
  std::string hugeSize = good;
  hugeSize[3] = static_cast<char>(hugeSize[3] ^ 0x7F);  // D - P enormous
  std::string garbage = good;
  for (size_t i = 10; i < 30; ++i) garbage[i] = static_cast<char>(0xA5);
  std::string shortDir;
  PutWord(shortDir, 0 ^ 0x5C3A91D2u);
  PutWord(shortDir, 4 ^ 0x17E4B06Fu);
  shortDir += "abcd";
  const std::pair<std::string, const char*> cases[] = {
      {good.substr(0, 5), "header is truncated"},
      {good.substr(0, 20), "past the end"},
      {hugeSize, "impossible size"},
      {garbage, "damaged"},
      {shortDir, "shorter than its header"},
  };
  for (const auto& [bytes, message] : cases) {
    dir.Write("x.dat", bytes);
    try {
      archive.OpenArchive(fs, "d:\\x.dat");
      ADD_FAILURE() << message << ": accepted";
    } catch (const DamagedFileError& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(archive.OpenArchive(fs, "d:\\none.dat"), FileOpenError);
}

TEST_F(ContentArchiveTest, ADamagedEntryIsReportedAndGivesNothing) {
  RawArchive raw = SampleBook();
  raw.data[raw.entries[5].offset + 3] ^= 0x55;  // inside CH1.HTM's zlib stream
  Open(raw);
  std::string out = "previous";
  EXPECT_THROW(archive.ExtractEntry(archive.FindArchiveFile("run\\html\\ch1.htm"), out),
               DamagedFileError);
  EXPECT_TRUE(out.empty() || out == "previous");
  EXPECT_EQ(archive.ExtractEntry(0, out), -1);  // a folder
  EXPECT_EQ(archive.ExtractEntry(99, out), -1);
}

}  // namespace
}  // namespace quire::storage
