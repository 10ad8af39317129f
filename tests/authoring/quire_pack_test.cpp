#include <gtest/gtest.h>
#include <sys/wait.h>
#include <QImage>

#include <array>
#include <cstdio>

#include "platform/text.h"
#include "storage/content_archive.h"
#include "support/bmp.h"
#include "support/book_writers.h"
#include "support/cp1251.h"
#include "support/temp_dir.h"

namespace quire::authoring {
namespace {

namespace fs = std::filesystem;
using namespace quire::testing;

struct Result {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs quire-pack with `args` (already quoted for the shell) in `dir`.
Result QuirePack(const TempDir& dir, const std::string& args) {
  const std::string errFile = (dir / "stderr.txt").string();
  const std::string command =
      "cd '" + dir.path().string() + "' && " QUIRE_PACK " " + args + " 2>'" + errFile + "'";
  Result result;
  FILE* pipe = ::popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    result.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile);
  result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  return result;
}

using quire::testing::Cp;

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(QuirePackTest, ListsAndExtractsAPack) {
  TempDir dir;
  dir.Write("Pak.dhl",
            MakePack({{Cp("Фон.bmp"), "BM.."}, {"a.cfs", "first"}, {"A.CFS", "second"}}));
  Result r = QuirePack(dir, "pack list Pak.dhl");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Фон.bmp\t55\t4\na.cfs\t59\t5\nA.CFS\t64\t6\n");

  r = QuirePack(dir, "pack extract Pak.dhl out");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Slurp(dir / "out/Фон.bmp"), "BM..");
  EXPECT_EQ(Slurp(dir / "out/a.cfs"), "first");
  EXPECT_FALSE(fs::exists(dir / "out/A.CFS"));  // a later duplicate does not overwrite
}

TEST(QuirePackTest, NeverWritesOutsideTheTargetFolder) {
  TempDir dir;
  dir.Write("Pak.dhl", MakePack({{"..", "x"}}));
  dir.Write("evil.dhl", MakePack({{"../../escaped", "x"}}));
  for (const char* pack : {"Pak.dhl", "evil.dhl"}) {
    const Result r = QuirePack(dir, std::string("pack extract ") + pack + " out/inner");
    EXPECT_EQ(r.code, 1) << pack;
    EXPECT_NE(r.err.find(pack), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir / "escaped"));
  EXPECT_FALSE(fs::exists(dir / "out/escaped"));
}

TEST(QuirePackTest, DescramblesLinesExactly) {
  TempDir dir;
  dir.Write("s.cfs", Scramble(Cp("Title \"Книга\"\r\n\r\nA\rB\nC\r\n")));
  dir.Write("r.cfs", Scramble(Cp("TITLE Книга\r\nScreen 1")));
  Result r = QuirePack(dir, "cfs descramble s.cfs --json");
  EXPECT_EQ(r.out, "[\"Title \\\"Книга\\\"\",\"\",\"A\\rB\\nC\",\"\"]\n");
  r = QuirePack(dir, "cfs descramble r.cfs --lower");
  EXPECT_EQ(r.out, "title Книга\nscreen 1\n");
}

TEST(QuirePackTest, ScrambledTextDescramblesToItsLines) {
  TempDir dir;
  dir.Write("utf8.txt", "title Книга\nbutton\r\n\nend");
  dir.Write("cp.txt", Cp("title Книга\n"));
  for (const char* name : {"utf8", "cp"}) {
    Result r = QuirePack(dir, std::string("cfs scramble ") + name + ".txt " + name + ".cfs");
    ASSERT_EQ(r.code, 0) << r.err;
  }
  EXPECT_EQ(QuirePack(dir, "cfs descramble utf8.cfs --json").out,
            "[\"title Книга\",\"button\",\"\",\"end\"]\n");
  EXPECT_EQ(QuirePack(dir, "cfs descramble cp.cfs --json").out, "[\"title Книга\",\"\"]\n");
  dir.Write("bad.txt", "漢字");
  EXPECT_EQ(QuirePack(dir, "cfs scramble bad.txt bad.cfs").code, 1);
}

TEST(QuirePackTest, ListsCatsAndExtractsAnArchive) {
  TempDir dir;
  dir.Write("interface.dat",
            MakeArchive({Folder("RUN", {Folder("HTML", {File(Cp("ГЛАВА.HTM"), "chapter")}),
                                        File("RAW.BIN", "stored", false)})})
                .Bytes());
  Result r = QuirePack(dir, "archive list interface.dat");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "RUN\\HTML\\ГЛАВА.HTM\t7\t15\nRUN\\RAW.BIN\t6\t6\n");

  EXPECT_EQ(QuirePack(dir, "archive cat interface.dat 'run/html/глава.htm'").out, "chapter");
  EXPECT_EQ(QuirePack(dir, "archive cat interface.dat 'D:\\cd\\run\\raw.bin' --root 'd:\\cd'").out,
            "stored");
  r = QuirePack(dir, "archive cat interface.dat run/none.htm");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("interface.dat"), std::string::npos);

  EXPECT_EQ(QuirePack(dir, "archive extract interface.dat out").code, 0);
  EXPECT_EQ(Slurp(dir / "out/RUN/HTML/ГЛАВА.HTM"), "chapter");
  EXPECT_EQ(Slurp(dir / "out/RUN/RAW.BIN"), "stored");
}

TEST(QuirePackTest, BuildsArchivesReproduciblyAndReadably) {
  TempDir dir;
  dir.Write("src/run/html/глава.htm", std::string(3000, 'z'));
  dir.Write("src/run/noise.bin", std::string("\x01\xF3\x7A\x00\x9C", 5));
  dir.Write("src/run/empty.txt", "");
  ASSERT_EQ(QuirePack(dir, "archive build src one.dat").code, 0);
  ASSERT_EQ(QuirePack(dir, "archive build src two.dat").code, 0);
  EXPECT_EQ(Slurp(dir / "one.dat"), Slurp(dir / "two.dat"));

  platform::DriveTable drives;
  drives.Map('z', "/");
  platform::VirtualFs vfs(drives);
  storage::ContentArchive archive;
  archive.OpenArchive(vfs, *vfs.ToVirtual(dir / "one.dat"));
  EXPECT_EQ(archive.ListArchiveFiles(),
            (std::vector<std::string>{"RUN\\EMPTY.TXT", "RUN\\HTML\\" + Cp("ГЛАВА.HTM"),
                                      "RUN\\NOISE.BIN"}));
  std::string data;
  archive.ExtractEntry(archive.FindArchiveFile(Cp("run\\html\\глава.htm")), data);
  EXPECT_EQ(data, std::string(3000, 'z'));
  const auto& noise = archive.Entries()[archive.FindArchiveFile("run\\noise.bin")];
  EXPECT_EQ(noise.Packed, noise.Size);  // compressing would not save space

  dir.Write("clash/a.htm");
  dir.Write("clash/A.HTM");
  const Result r = QuirePack(dir, "archive build clash clash.dat");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("A.HTM"), std::string::npos) << r.err;
}

TEST(QuirePackTest, BuildsAPackFromSources) {
  TempDir dir;
  dir.Write("pack/Struct.txt", "title Книга\n");
  dir.Write("pack/b.svg",
            "<svg xmlns='http://www.w3.org/2000/svg' width='8' height='4'>"
            "<rect width='8' height='4' fill='#00f'/></svg>");
  dir.Write("pack/a.bmp", "BM");
  ASSERT_EQ(QuirePack(dir, "pack build pack Pak.dhl").code, 0);
  EXPECT_EQ(QuirePack(dir, "pack list Pak.dhl").out.substr(0, 8), "Struct.c");
  ASSERT_EQ(QuirePack(dir, "pack extract Pak.dhl out").code, 0);
  EXPECT_EQ(QuirePack(dir, "cfs descramble out/Struct.cfs --json").out, "[\"title Книга\",\"\"]\n");
  const std::string bmp = Slurp(dir / "out/b.bmp");
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(bmp[28], 24);                                // bits per pixel
  EXPECT_EQ(static_cast<unsigned char>(bmp[54]), 0xFF);  // blue comes first
  EXPECT_EQ(Slurp(dir / "out/a.bmp"), "BM");

  dir.Write("badsvg/x.svg", "<svg");
  EXPECT_EQ(QuirePack(dir, "pack build badsvg bad.dhl").code, 1);
}

TEST(QuirePackTest, BuildsABook) {
  TempDir dir;
  dir.Write("src/pack/Struct.txt", "title Demo\n");
  dir.Write("src/content/run/html/index.htm", "<p>hello</p>");
  dir.Write("src/loose/fonts/a.ttf", "font");
  const Result r = QuirePack(dir, "book build src out/run");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");  // no progress bar when stdout is no terminal
  EXPECT_EQ(
      QuirePack(dir, "archive cat out/run/interface.dat 'd:\\run\\html\\index.htm' --root 'd:\\'")
          .out,
      "<p>hello</p>");
  EXPECT_EQ(Slurp(dir / "out/run/fonts/a.ttf"), "font");
  EXPECT_NE(QuirePack(dir, "pack list out/run/Pak.dhl").out.find("Struct.cfs"), std::string::npos);
}

TEST(QuirePackTest, ReportsDamagedFilesOnOneLine) {
  TempDir dir;
  dir.Write("short.dhl", std::string("\x05\x00\x03\x00", 4));
  dir.Write("short.dat", "12345");
  RawArchive loop = MakeArchive({Folder("A", {File("F", "x")})});
  loop.entries[0].offset = 0;
  dir.Write("loop.dat", loop.Bytes());
  for (const char* args : {"pack list short.dhl", "archive list short.dat", "archive list loop.dat",
                           "pack list missing.dhl", "cfs descramble missing.cfs"}) {
    const Result r = QuirePack(dir, args);
    EXPECT_EQ(r.code, 1) << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
  }
}

TEST(QuirePackTest, AnswersWrongUsageAndHelp) {
  TempDir dir;
  for (const char* args :
       {"", "pack", "pack list", "pack list a b", "bogus", "cfs descramble x --odd"}) {
    EXPECT_EQ(QuirePack(dir, args).code, 2) << args;
  }
  for (const char* args : {"--help", "pack --help", "archive build --help"}) {
    const Result r = QuirePack(dir, args);
    EXPECT_EQ(r.code, 0) << args;
    EXPECT_NE(r.out.find("Usage"), std::string::npos) << args;
  }
}

}  // namespace
}  // namespace quire::authoring

namespace quire::authoring {
namespace {

TEST(StructDumpTest, PrintsTheDescriptionAsTheShellReadsIt) {
  TempDir dir;
  dir.Write(
      "run/Pak.dhl",
      MakePack({{"Struct.cfs",
                 Scramble(Cp("TITLE=книга\r\nclose vx=9; vy=1; fn1=c1; fn2=c2; fn3=c3; "
                             "hint=Закрыть; wav=no\r\n_screen=Back.bmp; 1\r\n"
                             "switchone 1; vx=1; vy=2; fn1=a; fn2=b; fn3=c; fn4=d; "
                             "state=on; store=off; goup=..\\a.htm; godown=x; hint=; wav=no\r\n"
                             "_clip 2; vx=1; vy=2; vw=3; vh=4; bgcolor=1,2,3; html=1"))}}));
  const Result r = QuirePack(dir, "struct dump run --exe-dir 'E:\\Book\\Run'");
  ASSERT_EQ(r.code, 0) << r.err;
  const char* expected[] = {
      "\"title\": \"Книга\"",
      "\"helpwin\": null",
      "\"minimize\": null",
      "\"close\": {\"vx\":9,\"vy\":1,\"fn1\":\"c1\",\"fn2\":\"c2\",\"fn3\":\"c3\",\"go\":\"exit\","
      "\"hint\":\"Закрыть\",\"wav\":\"no\"}",
      "\"screens\": [{\"background\":\"back.bmp\",\"buttons\":[{\"vx\":9,",
      "\"state\":true,\"store\":false,\"goup\":\"E:\\\\Book\\\\a.htm\",\"godown\":\"x\"",
      "\"clip\": "
      "[{\"vx\":1,\"vy\":2,\"vw\":3,\"vh\":4,\"bgcolor\":197121,\"html\":1,\"screen\":1}]",
  };
  for (const char* part : expected)
    EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
}

TEST(StructDumpTest, ReportsMalformedDeclarationsWithTheirLine) {
  TempDir dir;
  dir.Write("Pak.dhl", MakePack({{"Struct.cfs", Scramble("title=x\r\nbutton 1; vx=1\r\nvy=2")},
                                 {"Tesaurus.cfs", Scramble("_html 1; vx=1; vy=2; vw=3; vh=4; "
                                                           "fn=a.htm; number=1")}}));
  Result r = QuirePack(dir, "struct dump Pak.dhl --exe-dir 'd:\\run'");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Struct.cfs:3:"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("\"title\": \"X\""), std::string::npos) << r.out;  // what was read

  r = QuirePack(dir, "struct dump . --exe-dir 'd:\\run' --thesaurus 'tez\\t1.htm'");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"title\": \"Тезаурус\""), std::string::npos);
  EXPECT_NE(r.out.find("\"fn\":\"d:\\\\run\\\\tez\\\\t1.htm\""), std::string::npos) << r.out;
}

}  // namespace
}  // namespace quire::authoring

namespace quire::authoring {
namespace {

using quire::testing::Bmp;

TEST(ScreenRenderTest, BakesControlsAndShowsHoverLooks) {
  TempDir dir;
  const std::string structText =
      "_screen=back.bmp; 1\r\n"
      "button 1; vx=10; vy=10; fn1=red.bmp; fn2=green.bmp; fn3=x; go=a; hint=; wav=no\r\n"
      "button 1; vx=40; vy=10; fn1=blue.bmp; fn2=missing.bmp; fn3=x; go=a; hint=; wav=no\r\n"
      "switchone 1; vx=10; vy=40; fn1=red.bmp; fn2=green.bmp; fn3=blue.bmp; fn4=white.bmp; "
      "state=on; store=off; goup=a; godown=b; hint=; wav=no";
  dir.Write("Pak.dhl", MakePack({{"Struct.cfs", Scramble(structText)},
                                 {"back.bmp", Bmp(100, 80, qRgb(0, 0, 0))},
                                 {"red.bmp", Bmp(20, 20, qRgb(255, 0, 0))},
                                 {"green.bmp", Bmp(20, 20, qRgb(0, 255, 0))},
                                 {"blue.bmp", Bmp(20, 20, qRgb(0, 0, 255))},
                                 {"white.bmp", Bmp(20, 20, qRgb(255, 255, 255))}}));
  ASSERT_EQ(QuirePack(dir, "screen render . 0 plain.png").code, 0);
  ASSERT_EQ(QuirePack(dir, "screen render . 0 hover.png --hover").code, 0);
  const QImage plain((dir / "plain.png").c_str());
  const QImage hover((dir / "hover.png").c_str());
  ASSERT_EQ(plain.size(), QSize(100, 80));
  EXPECT_EQ(plain.pixel(15, 15), qRgb(255, 0, 0));
  EXPECT_EQ(plain.pixel(45, 15), qRgb(0, 0, 255));
  EXPECT_EQ(plain.pixel(15, 45), qRgb(255, 255, 255));  // an on switch shows picture 4
  EXPECT_EQ(plain.pixel(70, 70), qRgb(0, 0, 0));
  EXPECT_EQ(hover.pixel(15, 15), qRgb(0, 255, 0));
  EXPECT_EQ(hover.pixel(45, 15), qRgb(0, 0, 255));  // a missing entry repeats the picture before
  EXPECT_EQ(hover.pixel(15, 45), qRgb(0, 0, 255));  // on with hover: picture 3

  const Result r = QuirePack(dir, "screen render . 3 x.png");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("no screen 3"), std::string::npos);
}

}  // namespace
}  // namespace quire::authoring

namespace quire::authoring {
namespace {

TEST(PageCommandsTest, RendersAndReadsAPageOfTheArchive) {
  TempDir dir;
  dir.Write("run/Pak.dhl", MakePack({{"Struct.cfs", Scramble("title=x")}}));
  dir.Write("run/interface.dat",
            MakeArchive({Folder("RUN", {File("PAGE.HTM", Cp("<html><title>T</title><body>"
                                                            "<h1>Глава</h1><p>Первый абзац.</p>"
                                                            "</body></html>"))})})
                .Bytes());
  Result r = QuirePack(dir, "page text run page.htm");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Глава\nПервый абзац.\n");
  r = QuirePack(dir, "page render run 'd:\\run\\page.htm' out.png --width 300");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(QImage((dir / "out.png").c_str()).width(), 300);
  r = QuirePack(dir, "page text run missing.htm");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Can't locate file"), std::string::npos);
  EXPECT_EQ(QuirePack(dir, "page render run page.htm out.png --width 2").code, 2);
}

}  // namespace
}  // namespace quire::authoring
