#include "app/options.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "support/temp_dir.h"

namespace quire::app {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(OptionsTest, TakesOutQuireOptionsAndLeavesTheBooksParameters) {
  std::string error;
  auto options = ParseOptions({"--book", "/cd/run", "--cd-root=/cd", "d:\\a.htm", "/h"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->Book, fs::path("/cd/run"));
  EXPECT_EQ(options->CdRoot, fs::path("/cd"));
  EXPECT_EQ(options->Parameters, (std::vector<std::string>{"d:\\a.htm", "/h"}));

  EXPECT_FALSE(ParseOptions({"--book"}, error));
  EXPECT_NE(error.find("--book"), std::string::npos);
  EXPECT_FALSE(ParseOptions({"--bogus"}, error));
}

TEST(OptionsTest, ChoosesTheBookFolderInOrder) {
  TempDir dir;
  const fs::path saved = fs::current_path();
  ::unsetenv("QUIRE_BOOK");
  fs::current_path(dir.path());
  EXPECT_EQ(ChooseBookFolder({}, "/demo"), "/demo");
  dir.Write("PAK.DHL");
  EXPECT_EQ(ChooseBookFolder({}, "/demo"), fs::current_path());
  ::setenv("QUIRE_BOOK", "/env/book", 1);
  EXPECT_EQ(ChooseBookFolder({}, "/demo"), "/env/book");
  Options options;
  options.Book = "/given";
  EXPECT_EQ(ChooseBookFolder(options, "/demo"), "/given");
  ::unsetenv("QUIRE_BOOK");
  fs::current_path(saved);
}

std::string RunQuire(const std::string& args) {
  std::string out;
  FILE* pipe = ::popen((std::string(QUIRE_EXE) + " " + args + " 2>&1").c_str(), "r");
  std::array<char, 512> buffer;
  while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
  ::pclose(pipe);
  return out;
}

TEST(QuireCommandTest, WherePrintsTheFoldersOfTheBook) {
  TempDir dir;
  dir.Mkdir("some/run");
  const std::string out = RunQuire("--where --book " + (dir / "some/run").string());
  EXPECT_NE(out.find("Book folder     " + fs::canonical(dir / "some/run").string()),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("d: " + fs::canonical(dir / "some").string()), std::string::npos) << out;
  EXPECT_NE(out.find("ExeDir          d:\\run\\"), std::string::npos) << out;
  EXPECT_NE(out.find("ArchiveRootDir  d:\\\n"), std::string::npos) << out;
  EXPECT_NE(out.find("WindowsDir      c:\\windows\\"), std::string::npos) << out;
  EXPECT_NE(out.find("registry.sqlite3"), std::string::npos) << out;
}

TEST(QuireCommandTest, AnswersHelpVersionAndBadInput) {
  EXPECT_NE(RunQuire("--help").find("--book DIR"), std::string::npos);
  EXPECT_NE(RunQuire("--version").find("quire 0."), std::string::npos);
  EXPECT_NE(RunQuire("--where --book /no/such/folder").find("book folder not found"),
            std::string::npos);
  EXPECT_NE(RunQuire("--where").find("ExeDir"), std::string::npos);  // the demo book by default
}

}  // namespace
}  // namespace quire::app
