#include "storage/read_bin.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "storage/storage_error.h"
#include "support/book_writers.h"
#include "support/temp_dir.h"

namespace quire::storage {
namespace {

using namespace quire::testing;
using Lines = std::vector<std::string>;

class ReadBinTest : public ::testing::Test {
 protected:
  ReadBinTest() : fs(platform::DriveTable::ForBook(dir.path(), dir / "prefix")), pack(fs) {}
  TempDir dir;
  platform::VirtualFs fs;
  TReadBin pack;
};

TEST_F(ReadBinTest, ReadsEntriesByNameWithoutRegardToCase) {
  const std::string cyrillic = *platform::Utf8ToCp1251("Фон.bmp");
  dir.Write("run/PAK.DHL", MakePack({{"Struct.cfs", "first"},
                                     {"STRUCT.CFS", "second"},
                                     {cyrillic, "picture"},
                                     {std::string("nul\0tail", 8), "cut"}}));
  pack.LoadDirectory("d:\\run\\Pak.dhl");
  ASSERT_EQ(pack.Directory().size(), 4u);
  EXPECT_EQ(pack.Directory()[3].Name, "nul");

  std::string block;
  EXPECT_EQ(pack.ReadToBuffer("struct.cfs", block), 5);
  EXPECT_EQ(block, "first");  // the first of two names differing in case wins
  EXPECT_EQ(pack.ReadToBuffer(*platform::Utf8ToCp1251("ФОН.BMP"), block), 7);
  EXPECT_EQ(block, "picture");
  EXPECT_TRUE(pack.Exists(*platform::Utf8ToCp1251("фон.bmp")));
  EXPECT_FALSE(pack.Exists("Dialog.cfs"));
  EXPECT_EQ(pack.ReadToBuffer("Dialog.cfs", block), -1);
  EXPECT_EQ(block, "picture");  // left as it was

  std::filesystem::remove(dir / "run/PAK.DHL");  // each read opens the pack anew
  EXPECT_EQ(pack.ReadToBuffer("Struct.cfs", block), -1);
}

TEST_F(ReadBinTest, RefusesDamagedDirectoriesNamingTheFile) {
  const std::string good = MakePack({{"a.bmp", "0123456789"}});
  std::string longName = MakePack({{std::string(257, 'n'), "x"}});
  std::string outside = good;
  outside[2 + 4 + 5] = 100;  // offset past the end
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"empty file", "", "truncated"},
      {"count only", good.substr(0, 2), "truncated"},
      {"cut in a name", good.substr(0, 8), "truncated"},
      {"name over 256 bytes", longName, "257 bytes"},
      {"entry outside the file", outside, "outside the file"},
  };
  for (const Case& c : cases) {
    dir.Write("Pak.dhl", c.bytes);
    try {
      pack.LoadDirectory("d:\\Pak.dhl");
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const DamagedFileError& e) {
      EXPECT_NE(std::string(e.what()).find("Pak.dhl"), std::string::npos) << c.what;
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << e.what();
    }
  }
  EXPECT_THROW(pack.LoadDirectory("d:\\missing.dhl"), FileOpenError);
}

TEST(DescrambleTest, DecodesTheRunningSum) {
  Lines lines;
  DescrambleLines(std::string("\x00\x5E\x00\xE7", 4), 4, lines, false);
  EXPECT_EQ(lines, Lines{"ab"});
}

TEST(DescrambleTest, CountsBelowTwoGiveNoTextAndBelowOneNoLine) {
  struct Case {
    int count;
    Lines expected;
  } cases[] = {{-1, {}}, {0, {}}, {1, {""}}, {2, {"q"}}};
  const std::string block = Scramble("q");
  for (const Case& c : cases) {
    Lines lines;
    DescrambleLines(block, c.count, lines, false);
    EXPECT_EQ(lines, c.expected) << "count " << c.count;
  }
}

TEST(DescrambleTest, SplitsLinesOnlyAtCrLf) {
  const std::string cyrillic = *platform::Utf8ToCp1251("Заголовок");
  struct Case {
    std::string text;
    bool lower;
    Lines expected;
  } cases[] = {
      {"a\r\n\r\nB", true, {"a", "", "b"}},
      {"a\r\n\r\nB", false, {"a", "", "B"}},
      {"TITLE " + cyrillic + "\r\n", true, {"title " + cyrillic, ""}},
      {"cr\ralone\nlf", false, {"cr\ralone\nlf"}},
      {"end\r", false, {"end\r"}},
  };
  for (const Case& c : cases) {
    for (bool odd : {false, true}) {
      Lines lines;
      const std::string block = Scramble(c.text, odd);
      DescrambleLines(block, static_cast<int>(block.size()), lines, c.lower);
      EXPECT_EQ(lines, c.expected) << c.text << (odd ? " (odd length)" : "");
    }
  }
}

}  // namespace
}  // namespace quire::storage
