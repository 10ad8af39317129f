#include "shell/main_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "platform/text.h"
#include "shell/book_fixture.h"
#include "support/qt_wait.h"

namespace quire::shell {
namespace {

using testing::BookFixture;

// Records what the dispatcher hands the book's other parts.
struct Calls : core::IHtmlAreas,
               core::ICoolDialog,
               core::IModelPanel,
               core::IClipPlayer,
               core::IPictureAreas {
  std::vector<std::string> log;
  void Add(std::string entry) { log.push_back(std::move(entry)); }
  void NoteRequest(const std::string& f) override { Add("note " + f); }
  void OpenInArea(int n, const std::string& f) override {
    Add("open " + std::to_string(n) + " " + f);
  }
  void GoBack() override { Add("back"); }
  void GoForward() override { Add("forward"); }
  void CopyPageToFolder() override { Add("copy"); }
  void Print(const std::string& f) override { Add("print " + f); }
  void ScrollToTop() override { Add("top"); }
  void NextChapter() override { Add("next"); }
  void PrevChapter() override { Add("prev"); }
  bool InArchiveMode() const override { return false; }
  void ScreenShown() override { Add("screen shown"); }
  void OpenDocument(const std::string& f) override { Add("document " + f); }
  void GoToHistory(int i) override { Add("history " + std::to_string(i)); }
  void SelectAll() override { Add("select all"); }
  void EditFonts() override { Add("fonts"); }
  void FillWindow() override {}
  void RestoreBounds() override {}
  void SetArchiveMode(bool) override {}
  void ShowDialog(int v, const std::string& t) override {
    Add("dialog " + std::to_string(v) + " " + platform::Cp1251ToUtf8(t));
  }
  void SetActive(bool a) override { Add(a ? "3d on" : "3d off"); }
  bool Active() const override { return false; }
  void Play(const std::string& c, const std::string& d, int k) override {
    Add("play " + c + " " + d + " " + std::to_string(k));
  }
  void Stop() override { Add("stop"); }
  void SuppressNextNotify() override { Add("suppress"); }
  void PauseOrResume() override { Add("pause"); }
  void StepForward() override { Add("step+"); }
  void StepBack() override { Add("step-"); }
  void NextPicture() override { Add("nextpic"); }
  void PreviousPicture() override { Add("prevpic"); }
};

const char* kTwoScreens =
    "title=book\r\n"
    "close vx=180; vy=0; fn1=white.bmp; fn2=green.bmp; fn3=blue.bmp; hint=Close; wav=no\r\n"
    "button 1; vx=10; vy=10; fn1=red.bmp; fn2=green.bmp; fn3=blue.bmp; go=html1=a.htm; hint=A;"
    " wav=no\r\n"
    "button 1; vx=20; vy=10; fn1=red.bmp; fn2=green.bmp; fn3=blue.bmp; go=screen2; hint=B; "
    "wav=no\r\n"
    "switchone 1; vx=10; vy=50; fn1=red.bmp; fn2=green.bmp; fn3=blue.bmp; fn4=white.bmp; "
    "state=off; store=on; goup=stop; godown=play; hint=S; wav=no\r\n"
    "switchgrp 1; vx=10; vy=80; fn1=red.bmp; fn2=green.bmp; fn3=blue.bmp; fn4=white.bmp; "
    "state=on; store=on; group=1; go=nextpic; hint=G1; wav=no\r\n"
    "switchgrp 1; vx=40; vy=80; fn1=red.bmp; fn2=green.bmp; fn3=blue.bmp; fn4=white.bmp; "
    "state=off; store=off; group=1; go=prevpic; hint=G2; wav=no\r\n"
    "_screen=back.bmp; 1\r\n"
    "_screen=back2.bmp; 2\r\n"
    "button 2; vx=100; vy=100; fn1=blue.bmp; fn2=green.bmp; fn3=red.bmp; go=1; hint=Home; "
    "wav=no\r\n";

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : book(kTwoScreens) { Register(*book.g); }
  void Register(core::Globals& g) {
    g.HtmlFrame = &calls;
    g.CoolDialog = &calls;
    g.Panel3D = &calls;
    g.ClipPlayer = &calls;
    g.PictureAreas = &calls;
  }
  std::unique_ptr<TMainForm> Start() {
    auto form =
        std::make_unique<TMainForm>(*book.g, std::vector<std::string>{},
                                    [this](const std::string& w) { warnings.push_back(w); });
    calls.log.clear();
    return form;
  }
  BookFixture book;
  Calls calls;
  std::vector<std::string> warnings;
};

const QPoint kButtonA(15, 15), kOverlap(25, 15), kSwitch(15, 55), kGroup1(15, 85), kGroup2(45, 85);

void Click(TMainForm& form, QPoint at, Qt::KeyboardModifiers shift = Qt::NoModifier) {
  form.FormMouseMove(shift, at.x(), at.y());
  form.FormMouseDown(Qt::LeftButton, shift, at.x(), at.y());
  form.FormMouseUp(Qt::LeftButton, shift, at.x(), at.y());
}

TEST_F(MainFormTest, StartsOnTheFirstScreenWithItsControlsBakedIn) {
  auto form = Start();
  ASSERT_FALSE(form->EndsAtOnce());
  EXPECT_EQ(book.g->AppTitle, "Book");
  EXPECT_EQ(form->size(), QSize(200, 150));
  EXPECT_EQ(form->windowTitle(), "Book");
  const QImage& bitmap = form->ScreenBitmap();
  EXPECT_EQ(bitmap.pixel(kButtonA), qRgb(255, 0, 0));
  EXPECT_EQ(bitmap.pixel(kGroup1), qRgb(255, 0, 0));     // picture 1 is baked whatever the state
  EXPECT_EQ(bitmap.pixel(185, 5), qRgb(255, 255, 255));  // the window button from the header
  EXPECT_EQ(book.g->Description.Screens[0].Buttons[0].Right, 30);
}

TEST_F(MainFormTest, ReplaysTheFirstScreensSwitchesAtStartUp) {
  std::vector<std::string> log;
  {
    TMainForm form(*book.g, {}, {});
    log = calls.log;
  }
  EXPECT_EQ(log, (std::vector<std::string>{"stop", "nextpic"}));
}

TEST_F(MainFormTest, ButtonsHoverInsideTheirOpenRectangleAndRunOnRelease) {
  auto form = Start();
  const auto& pics = form->Pictures().Buttons;
  form->FormMouseMove(Qt::NoModifier, 10, 15);  // the left edge is outside
  EXPECT_FALSE(pics[0].IsHover);
  form->FormMouseMove(Qt::NoModifier, kOverlap.x(), kOverlap.y());
  EXPECT_TRUE(pics[0].IsHover && pics[1].IsHover);  // both overlapping buttons light up
  form->FormMouseDown(Qt::LeftButton, Qt::NoModifier, kOverlap.x(), kOverlap.y());
  EXPECT_TRUE(pics[0].IsPressed);
  EXPECT_FALSE(pics[1].IsPressed);  // only the first takes the press
  form->FormMouseUp(Qt::LeftButton, Qt::NoModifier, kOverlap.x(), kOverlap.y());
  EXPECT_EQ(calls.log, (std::vector<std::string>{"note d:\\run\\a.htm", "open 1 d:\\run\\a.htm"}));
}

TEST_F(MainFormTest, LeavingAPressedButtonCancelsItsCommand) {
  auto form = Start();
  form->FormMouseMove(Qt::NoModifier, kButtonA.x(), kButtonA.y());
  form->FormMouseDown(Qt::LeftButton, Qt::NoModifier, kButtonA.x(), kButtonA.y());
  form->FormMouseMove(Qt::NoModifier, 150, 140);
  form->FormMouseUp(Qt::LeftButton, Qt::NoModifier, 150, 140);
  form->FormMouseMove(Qt::NoModifier, kButtonA.x(), kButtonA.y());
  form->FormMouseUp(Qt::LeftButton, Qt::NoModifier, kButtonA.x(), kButtonA.y());
  EXPECT_TRUE(calls.log.empty());
}

TEST_F(MainFormTest, SwitchesRunTheirCommandOnPressUnlessShiftIsHeld) {
  auto form = Start();
  auto& screen = book.g->Description.Screens[0];
  Click(*form, kSwitch);
  EXPECT_TRUE(screen.SwitchOne[0].State);
  Click(*form, kSwitch, Qt::ShiftModifier);
  EXPECT_FALSE(screen.SwitchOne[0].State);
  Click(*form, kGroup1);  // already on: nothing
  Click(*form, kGroup2);
  EXPECT_FALSE(screen.SwitchGrp[0].State);
  EXPECT_TRUE(screen.SwitchGrp[1].State);
  EXPECT_EQ(calls.log, (std::vector<std::string>{"play   0", "prevpic"}));
}

TEST_F(MainFormTest, SwitchesScreensAndComesBack) {
  auto form = Start();
  Click(*form, kOverlap + QPoint(5, 0));  // button B: "screen2"
  EXPECT_EQ(book.g->CurrentScreen, 1);
  EXPECT_EQ(form->ScreenBitmap().pixel(105, 105), qRgb(0, 0, 255));
  EXPECT_EQ(form->ScreenBitmap().pixel(5, 140), qRgb(50, 50, 50));
  EXPECT_EQ(form->Pictures().Buttons.size(), 2u);  // its own and the close button
  EXPECT_NE(std::find(calls.log.begin(), calls.log.end(), "3d off"), calls.log.end());
  Click(*form, QPoint(105, 105));  // "1": a bare screen number
  EXPECT_EQ(book.g->CurrentScreen, 0);
  EXPECT_EQ(form->Pictures().Buttons.size(), 3u);
}

TEST_F(MainFormTest, DispatchesEachCommandToItsRow) {
  auto form = Start();
  struct Case {
    const char* command;
    std::vector<std::string> calls;
    int screen;
  } cases[] = {
      {"printhtml", {"print "}, 0},
      {"printhtml=x.htm", {"note d:\\run\\x.htm", "open -1 d:\\run\\x.htm"}, 0},
      {"html2=b.htm", {"note d:\\run\\b.htm", "open 2 d:\\run\\b.htm"}, 0},
      {"back", {"back"}, 0},
      {"tophtml", {"top"}, 0},
      {"nextchapter", {"next"}, 0},
      {"findnext1", {"dialog 1 "}, 0},
      {"unarc", {"dialog 0 Выберите файл для распаковки."}, 0},
      {"clip=v.avi=ch.htm", {"play d:\\run\\v.avi d:\\run\\ch.htm 4"}, 0},
      {"pause", {"suppress", "pause"}, 0},
      {"3d", {"3d on"}, 0},
      {"delgame=nothing", {"dialog 0 Игра не установлена."}, 0},
      {"Exit", {}, 0},     // commands compare exactly
      {"screen9", {}, 0},  // no such screen
      {"nothing at all", {}, 0},
  };
  for (const Case& c : cases) {
    calls.log.clear();
    form->RunCommand(c.command, "no", true, 0, 0);
    EXPECT_EQ(calls.log, c.calls) << c.command;
    EXPECT_EQ(book.g->CurrentScreen, c.screen) << c.command;
  }
  book.g->Busy = true;
  form->RunCommand("back", "no", true, 0, 0);
  EXPECT_EQ(calls.log, std::vector<std::string>{});
}

TEST_F(MainFormTest, StoredSwitchStatesComeBackAtTheNextStart) {
  {
    auto form = Start();
    Click(*form, kSwitch);
    Click(*form, kGroup2);  // its group partner is stored off; it is not stored itself
  }
  book.Open();
  auto form = Start();
  const auto& screen = book.g->Description.Screens[0];
  EXPECT_TRUE(screen.SwitchOne[0].State);
  EXPECT_FALSE(screen.SwitchGrp[0].State);
  EXPECT_FALSE(screen.SwitchGrp[1].State);  // as declared
}

TEST_F(MainFormTest, ASecondCopyOfTheSameBookEndsAtOnce) {
  auto first = Start();
  BookFixture other(kTwoScreens);
  other.g->UserPrefix = book.g->UserPrefix;  // the same user
  TMainForm second(*other.g, {}, {});
  EXPECT_TRUE(second.EndsAtOnce());
  EXPECT_TRUE(second.StartedWithParameters);
}

TEST_F(MainFormTest, AuthoringLeftoversStopTheStart) {
  book.dir.Write("cd/run/Struct.txt", "source");
  book.dir.Write("cd/run/Coder.exe", "");
  auto form = Start();
  EXPECT_TRUE(form->EndsAtOnce());
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(platform::Cp1251ToUtf8(warnings[1]), "А зачем тут кодер лежит?");
}

TEST_F(MainFormTest, ExitClosesWithTheAnimationAndRemembersTheButton) {
  auto form = Start();
  form->ShowMainWindow();
  ASSERT_TRUE(testing::WaitUntil([&] { return !form->AnimationRunning(); }));  // it has opened
  form->RunCommand("exit", "no", false, 0, 2);
  EXPECT_EQ(form->ExitButtonIndex, 2);
  EXPECT_TRUE(form->isVisible());  // the close was refused; the shrinking runs
  EXPECT_TRUE(form->AnimationRunning());
  // At its end the application quits, which asks the window to close once more: the window
  // closes then, instead of shrinking again from a timer freed under its own tick.
  QTimer::singleShot(20000, qApp, [] { QApplication::exit(1); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->AnimationRunning());
}

}  // namespace
}  // namespace quire::shell

#include <fstream>

namespace quire::shell {
namespace {

// A program that writes its folder and arguments to `report` when started.
void WriteProgram(const std::filesystem::path& file, const std::filesystem::path& report) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << "#!/bin/sh\necho \"$(pwd) $*\" > '" << report.string() << "'\n";
  std::filesystem::permissions(file, std::filesystem::perms::owner_all);
}

// The report's line once the program has written it whole.
std::string WaitForReport(const std::filesystem::path& report) {
  std::string text;
  testing::WaitUntil([&] {
    std::ifstream in(report);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !text.empty() && text.back() == '\n';
  });
  return text.empty() ? text : text.substr(0, text.size() - 1);
}

TEST_F(MainFormTest, RunsAnInstalledGameOrItsFallback) {
  auto form = Start();
  const auto report = book.dir / "report.txt";
  WriteProgram(book.dir / "prefix/Games/Motor/run.exe", report);
  WriteProgram(book.dir / "cd/run/files/fallback.exe", report);
  {
    platform::TRegistry key(*book.g->Registry(), platform::Hive::LocalMachine);
    ASSERT_TRUE(key.OpenKey("SOFTWARE\\Zarvex\\motor", true));
    key.WriteString("instdir", "c:\\Games\\Motor\\");
    key.WriteString("exename", "RUN.EXE -x 1");
  }
  form->RunCommand("rungame=files\\fallback.exe=motor", "no", true, 0, 0);
  EXPECT_EQ(WaitForReport(report), (book.dir / "prefix/Games/Motor").string() + " -x 1");
  std::filesystem::remove(report);
  form->RunCommand("rungame=files\\fallback.exe=other", "no", true, 0, 0);
  EXPECT_EQ(WaitForReport(report), (book.dir / "cd/run/files").string() + " ");
}

}  // namespace
}  // namespace quire::shell

namespace quire::shell {
namespace {

TEST_F(MainFormTest, StartsWithoutARegistryAndForgetsSwitchStates) {
  book.dir.Write("not-a-folder", "x");
  book.g->UserPrefix = book.dir / "not-a-folder";  // the registry cannot be opened there
  auto form = Start();
  ASSERT_FALSE(form->EndsAtOnce());
  EXPECT_EQ(book.g->Registry(), nullptr);
  Click(*form, kSwitch);
  form.reset();  // saving fails quietly
}

}  // namespace
}  // namespace quire::shell
