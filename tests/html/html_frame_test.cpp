// The book's HTML areas: placement per screen, opening pages, the book's links, history and
// link groups, chapters, settings, pointer and keys.
#include "html/html_frame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLabel>

#include "shell/book_fixture.h"
#include "storage/read_bin.h"
#include "support/cp1251.h"
#include "support/qt_wait.h"

namespace quire::html {
namespace {

using testing::BookFixture;
using testing::Cp;

// Everything the areas call on the rest of the program, written into one log.
struct Fakes : core::IShell,
               core::IPopupControl,
               core::IStatusLine,
               core::ITextMessages,
               core::IPathInputBox,
               core::IClipPlayer,
               core::IArchiveBrowser,
               core::IWindows {
  std::vector<std::string> log;
  bool statusBar = false;
  std::string statusBarText;
  std::map<size_t, std::string> hints;
  std::function<void()> onExtract;

  // Shell.
  void RunCommand(const std::string& command, const std::string&, bool silent, int, int) override {
    log.push_back("command " + command + (silent ? " silent" : ""));
  }
  void SetBusy(bool) override {}
  void ForwardMouseMove(int, int) override {}
  void PressSilently(int x, int y) override {
    log.push_back("press " + std::to_string(x) + "," + std::to_string(y));
  }
  void SetButtonHint(size_t index, const std::string& hint) override { hints[index] = hint; }
  bool HasStatusBar() const override { return statusBar; }
  void SetStatusBarText(const std::string& text) override { statusBarText = text; }
  void RefreshHistoryUi() override {}
  // Popups.
  void Open(int type, int, int) override { log.push_back("popup " + std::to_string(type)); }
  void HidePopup() override {}
  void SetItem(int type, int slot, const std::string& caption, const std::string& command,
               bool visible) override {
    if (visible)
      log.push_back("item " + std::to_string(type) + " " + std::to_string(slot) + " " + caption +
                    " " + command);
  }
  // Status line and text messages.
  void Show(const std::string& text) override { log.push_back("status " + text); }
  void SetText(int number, const std::string& text, bool) override {
    log.push_back("text " + std::to_string(number) + " " + text);
  }
  // Install-path box.
  std::string CurrentInstallPath() const override { return "c:\\inst\\"; }
  void ScreenShown() override {}
  // Clips.
  void Play(const std::string& clip, const std::string&, int kind) override {
    log.push_back("play " + clip + " " + std::to_string(kind));
  }
  void Stop() override {}
  void SuppressNextNotify() override {}
  void PauseOrResume() override {}
  void StepForward() override {}
  void StepBack() override {}
  // Archive browser.
  void ExtractArchive(bool selected, bool all) override {
    log.push_back("extract " + std::to_string(selected) + std::to_string(all));
    if (onExtract) onExtract();
  }
  void ShowArchive(const std::string& archive, const std::string&) override {
    log.push_back("archive " + archive);
  }
  void NoteDocumentShown(const std::string&) override {}
  // Windows.
  void ShowAbout() override {}
  void ShowOptions() override {}
  void ShowHelp() override {}
  void EnterStandardWindow() override {}
  void LookUpThesaurus(const std::string& word) override { log.push_back("thesaurus " + word); }

  bool Logged(const std::string& entry) const {
    return std::find(log.begin(), log.end(), entry) != log.end();
  }
};

std::string PageWithTitle(const std::string& title, const std::string& body = "") {
  return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

class HtmlFrameTest : public ::testing::Test {
 protected:
  HtmlFrameTest() : book("title=x") {
    for (const char* name : {"a", "b", "c", "d", "e"})
      Page(std::string(name) + ".htm",
           PageWithTitle(std::string("Page ") + name, std::string("Text ") + name));
    window.resize(800, 600);
    panel = new QWidget(&window);
    panel->setGeometry(33, 90, 673, 421);
    Connect();
  }

  // Makes the areas of the given declarations on screen `screen`.
  THtmlFrame& Make(const core::TDynamicHtmlArray& decls, int screen = 0) {
    g().CurrentScreen = screen;
    frame = CreateHtmlAreas(g(), &window, panel, decls);
    frame->Launch = [this](const std::string& target, const std::string& parameters,
                           const std::string&) {
      fakes.log.push_back("launch " + target + (parameters.empty() ? "" : " " + parameters));
    };
    frame->Preview = [this](TDocumentView& document, bool picture, QSize) {
      fakes.log.push_back("print " + document.FileName() + (picture ? " picture" : ""));
    };
    return *frame;
  }

  static core::RHTML Area(int screen, int number, QRect r, const std::string& start) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), start, number, screen};
  }

  core::Globals& g() { return *book.g; }
  void Page(const std::string& name, const std::string& html) {
    book.dir.Write("cd/run/" + name, html);
  }
  void Connect() {
    g().AppTitle = Cp("Книга");
    g().Shell = &fakes;
    g().PopupControl = &fakes;
    g().StatusLine = &fakes;
    g().TextMessages = &fakes;
    g().ClipPlayer = &fakes;
    g().ArchiveBrowser = &fakes;
    g().Windows = &fakes;
  }
  // A screen declaration list with one empty screen per index up to `count`.
  void Screens(size_t count) { g().Description.Screens.resize(count); }

  BookFixture book;
  Fakes fakes;
  QWidget window;
  QWidget* panel;
  std::unique_ptr<THtmlFrame> frame;
};

const QRect kMain(100, 50, 400, 250);
const QRect kReading(33, 90, 673, 421);
const QRect kOther(10, 10, 200, 100);

TEST_F(HtmlFrameTest, PlacesEachScreensViewerAndHidesTheOneLeft) {
  THtmlFrame& areas =
      Make({Area(0, 1, kMain, "d:\\run\\a.htm"), Area(1, 2, kReading, "d:\\run\\b.htm"),
            Area(2, 3, kOther, "d:\\run\\c.htm")});
  ASSERT_EQ(areas.Viewers().size(), 3u);
  TFrameViewer* first = areas.Viewers()[0];
  EXPECT_FALSE(first->isHidden());
  EXPECT_EQ(first->parentWidget(), &window);
  EXPECT_EQ(first->geometry(), kMain);  // vw and vh are edges: 400 wide, 250 high
  EXPECT_EQ(first->CurrentFile(), "d:\\run\\a.htm");
  areas.FillWindow();  // the standard window: the viewer fills it, and goes back after
  EXPECT_EQ(first->geometry(), window.rect());
  areas.RestoreBounds();
  EXPECT_EQ(first->geometry(), kMain);

  g().CurrentScreen = 1;
  areas.ShowScreen();
  TFrameViewer* reading = areas.Viewers()[1];
  EXPECT_TRUE(first->isHidden());
  EXPECT_EQ(reading->parentWidget(), panel);
  EXPECT_EQ(reading->geometry(), QRect(0, 0, 673, 421));
  window.show();
  panel->resize(500, 300);  // it keeps filling the panel
  EXPECT_EQ(reading->geometry(), QRect(0, 0, 500, 300));
  EXPECT_EQ(areas.CurrentViewer(), reading);

  g().CurrentScreen = 3;  // no areas: the last viewer is hidden, none is current
  areas.ShowScreen();
  EXPECT_TRUE(reading->isHidden());
  EXPECT_EQ(areas.CurrentViewer(), nullptr);
}

TEST_F(HtmlFrameTest, APagePreparedForAnotherScreenIsShownThereAtItsTop) {
  std::string longPage;
  for (int i = 0; i < 200; ++i) longPage += "<p>line " + std::to_string(i) + "</p>";
  Page("long.htm", PageWithTitle("Long", longPage));
  THtmlFrame& areas =
      Make({Area(0, 1, kMain, "d:\\run\\a.htm"), Area(2, 3, kOther, "d:\\run\\c.htm")});
  TFrameViewer* other = areas.Viewers()[1];

  areas.OpenInArea(3, "d:\\run\\long.htm");
  EXPECT_TRUE(other->isHidden());
  EXPECT_EQ(other->CurrentFile(), "d:\\run\\long.htm");
  EXPECT_EQ(areas.CurrentArea(), 0);

  other->resize(200, 100);
  other->ActiveView()->SetPosition(300);
  g().CurrentScreen = 2;
  areas.ShowScreen();
  EXPECT_FALSE(other->isHidden());
  EXPECT_EQ(other->CurrentFile(), "d:\\run\\long.htm");  // not the start document
  EXPECT_EQ(other->ActiveView()->Position(), 0);
}

TEST_F(HtmlFrameTest, APageInTheHistoryIsShownAgainNotReloaded) {
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\a.htm")});
  TFrameViewer* viewer = areas.Viewers()[0];
  areas.OpenInArea(1, "d:\\run\\b.htm");
  areas.OpenDocument("d:\\run\\c.htm");
  ASSERT_EQ(viewer->History().size(), 3u);

  areas.OpenInArea(1, "D:\\RUN\\A.HTM");  // names compare without regard to case
  EXPECT_EQ(viewer->CurrentFile(), "d:\\run\\a.htm");
  EXPECT_EQ(viewer->HistoryIndex(), 2);
  areas.OpenDocument("d:\\run\\b.htm");
  EXPECT_EQ(viewer->HistoryIndex(), 1);
  EXPECT_EQ(viewer->History().size(), 3u);
  EXPECT_TRUE(viewer->IsVisited("d:\\run\\c.htm"));  // opened as a document: visited

  areas.OpenInArea(1, "");  // the area's start document
  EXPECT_EQ(viewer->CurrentFile(), "d:\\run\\a.htm");
}

TEST_F(HtmlFrameTest, AMissingPageHidesTheViewerAndStillMakesItsAreaCurrent) {
  THtmlFrame& areas =
      Make({Area(0, 1, kMain, "d:\\run\\a.htm"), Area(0, 2, kOther, "d:\\run\\b.htm")});
  areas.OpenInArea(2, "d:\\run\\none.htm");
  EXPECT_TRUE(areas.Viewers()[0]->isHidden());
  EXPECT_EQ(areas.CurrentArea(), 1);
  areas.OpenInArea(7, "d:\\run\\b.htm");  // no such area: nothing happens
  EXPECT_EQ(areas.CurrentArea(), 1);
  // Opening as a document does not catch the failure: the caller learns of it.
  areas.OpenInArea(2, "d:\\run\\b.htm");
  EXPECT_THROW(areas.OpenDocument("d:\\run\\none.htm"), std::exception);
  EXPECT_EQ(areas.Viewers()[0]->CurrentFile(), "d:\\run\\b.htm");
}

TEST_F(HtmlFrameTest, LinkRules) {
  Page("sub/page.htm", PageWithTitle("Sub"));
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\sub\\page.htm")});
  TFrameViewer& viewer = *areas.Viewers()[0];
  const std::string host = (book.dir / "cd").string();
  fakes.onExtract = [this] { Page("sub/packed.htm", PageWithTitle("Packed")); };
  struct Case {
    bool archive;
    const char* target;
    const char* url;
    bool handled;
    std::string logged;  // empty: nothing happens outside the viewer
  };
  const Case cases[] = {
      {false, "", "#top", false, ""},
      {false, "", "../a.htm", false, ""},
      {false, "", "pic.JPG", false, ""},
      {false, "_BLANK", "../b.htm#x", true, "--cd-root"},
      {false, "_blank", "../none.htm", true, ""},
      {false, "", "http://example.org/", true, "launch http://example.org/"},
      {false, "", "MailTo:me@example.org", true, "launch MailTo:me@example.org"},
      {false, "", "printhtml:../c.htm", true, "print d:\\run\\c.htm"},
      {false, "", "rungame:=files\\kit.exe=kit", true, "command rungame=files\\kit.exe=kit silent"},
      {false, "", "delgame:=kit", true, "command delgame=kit silent"},
      {false, "", "engine.wav", true, "play d:\\run\\sub\\engine.wav 3"},
      {false, "", "forms.rar", true, "archive d:\\run\\sub\\forms.rar"},
      {false, "", "setup.exe", true, "launch " + host + "/run/sub/setup.exe"},
      {false, "", "e:\\tools\\x.exe", true, "launch " + host + "/tools/x.exe"},
      {false, "", "readme.pdf", true, "launch " + host + "/run/sub/readme.pdf"},
      {true, "", "packed.htm", true, "extract 01"},
      {true, "", "as_list.htm", false, "extract 01"},
      {true, "", "#top", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    fakes.log.clear();
    areas.SetArchiveMode(c.archive);
    EXPECT_EQ(areas.LinkClicked(viewer, c.target, c.url), c.handled);
    if (c.logged.empty()) {
      EXPECT_TRUE(fakes.log.empty()) << fakes.log.front();
    } else {
      ASSERT_FALSE(fakes.log.empty());
      EXPECT_NE(fakes.log.front().find(c.logged), std::string::npos) << fakes.log.front();
    }
  }
  // The page a listing's link unpacked is open, and handled links are visited.
  EXPECT_EQ(viewer.CurrentFile(), "d:\\run\\sub\\packed.htm");
  EXPECT_TRUE(viewer.IsVisited("d:\\run\\sub\\engine.wav"));
}

TEST_F(HtmlFrameTest, CopyLinksCopyToTheInstallFolderFromTheArchiveOrTheDisk) {
  book.dir.Write(
      "cd/run/interface.dat",
      testing::MakeArchive({testing::Folder("RUN", {testing::File("DATA.TXT", "packed")})})
          .Bytes());
  book.Open();
  Connect();
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\a.htm")});
  TFrameViewer& viewer = *areas.Viewers()[0];
  EXPECT_TRUE(areas.LinkClicked(viewer, "", "copy:data.txt"));  // no install box: no copy
  EXPECT_FALSE(g().Fs->FileExists("c:\\inst\\data.txt"));
  g().PathInputBox = &fakes;
  EXPECT_TRUE(areas.LinkClicked(viewer, "", "copy:data.txt"));
  EXPECT_EQ(g().Fs->ReadFile("c:\\inst\\data.txt").value_or(""), "packed");
}

TEST_F(HtmlFrameTest, ZipLinksRememberTheFolderChosenLast) {
  Page("one.zip", "1");
  Page("two.zip", "2");
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\a.htm")});
  std::vector<std::string> asked;
  areas.SaveDialog = [&](const std::string& folder, const std::string& name) {
    asked.push_back(folder + "|" + name);
    return "c:\\saved\\" + name;
  };
  g().Fs->ForceDirectories("c:\\saved");
  areas.LinkClicked(*areas.Viewers()[0], "", "one.zip");
  areas.LinkClicked(*areas.Viewers()[0], "", "two.zip");
  EXPECT_EQ(asked, (std::vector<std::string>{"|one.zip", "c:\\saved\\|two.zip"}));
  EXPECT_EQ(g().Fs->ReadFile("c:\\saved\\two.zip").value_or(""), "2");
}

TEST_F(HtmlFrameTest, CopyListPutsTheChosenSerialNumberOnTheClipboard) {
  Page("serial.htm", PageWithTitle("S",
                                   "<select name=\"Serial\"><option>AAA-111</option>"
                                   "<option selected>BBB-222</option></select>"));
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\serial.htm")});
  EXPECT_TRUE(areas.LinkClicked(*areas.Viewers()[0], "", "copylist:serial"));
  EXPECT_EQ(QApplication::clipboard()->text(), "BBB-222");
  EXPECT_TRUE(fakes.Logged("status " + Cp("Серийный номер скопирован")));
}

TEST_F(HtmlFrameTest, StatusTextsForLinksUnderThePointer) {
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\a.htm")});
  TFrameViewer& viewer = *areas.Viewers()[0];
  fakes.statusBar = true;
  const auto covered = [&](const std::string& target, const std::string& url) {
    viewer.OnHotSpotCovered(target, url);
    return fakes.statusBarText;
  };
  EXPECT_EQ(covered("", "#part"), "d:\\run\\a.htm#part");
  EXPECT_EQ(covered("", "b.htm"), "d:\\run\\b.htm");
  EXPECT_EQ(covered("main", "b.htm"), "Url: d:\\run\\b.htm  Target: main");
  EXPECT_EQ(covered("", "http://example.org/"), "http://example.org/");
  EXPECT_EQ(covered("", "copy://data.txt"), "d:\\run\\data.txt");
  g().PathInputBox = &fakes;
  EXPECT_EQ(covered("", "copy://data.txt"),
            Cp("Копирование файла \"d:\\run\\data.txt\" в каталог \"c:\\inst\\\""));
  EXPECT_EQ(covered("", "rungame://=kit.exe=kit"), Cp("Установить игру"));
  EXPECT_EQ(covered("", "delgame://=kit"), Cp("Игра не установлена"));
  platform::TRegistry key(*g().Registry(), platform::Hive::LocalMachine);
  ASSERT_TRUE(key.OpenKey("SOFTWARE\\Zarvex\\kit", true));
  key.WriteString("exename", "kit.exe");
  key.WriteString("instdir", "c:\\kit");
  EXPECT_EQ(covered("", "rungame://=kit.exe=kit"), Cp("Запустить игру"));
  EXPECT_EQ(covered("", "delgame://=kit"), Cp("Удалить игру"));
  areas.SetArchiveMode(true);
  EXPECT_EQ(covered("", "b.htm"), "");
  fakes.statusBar = false;  // the skinned window has no status bar
  areas.SetArchiveMode(false);
  EXPECT_EQ(covered("", "c.htm"), "");
}

TEST_F(HtmlFrameTest, BackAndForwardPressTheSwitchOfThePagesGroupSilently) {
  Screens(1);
  core::RSwthGrp one, two;
  one.Left = 10, one.Top = 20, one.Command = "html1=d:\\run\\a.htm";
  two.Left = 50, two.Top = 20, two.Command = "html1=d:\\run\\c.htm";
  g().Description.Screens[0].SwitchGrp = {one, two};
  core::RSwthOne single;
  single.Left = 90, single.Top = 5, single.State = true, single.UpCommand = "x=d:\\run\\c.htm";
  g().Description.Screens[0].SwitchOne = {single};
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\e.htm")});
  TFrameViewer& viewer = *areas.Viewers()[0];

  areas.NoteRequest("d:\\run\\a.htm");
  areas.OpenInArea(1, "d:\\run\\a.htm");
  viewer.LoadFromFile("d:\\run\\b.htm");  // a link followed from it
  areas.NoteRequest("d:\\run\\c.htm");
  areas.OpenInArea(1, "d:\\run\\c.htm");
  EXPECT_EQ(areas.LinkGroups()[0],
            (std::vector<std::string>{"d:\\run\\a.htm; d:\\run\\b.htm", "d:\\run\\c.htm"}));

  const auto presses = [&] {
    std::vector<std::string> pressed;
    for (const std::string& entry : fakes.log)
      if (entry.starts_with("press")) pressed.push_back(entry);
    fakes.log.clear();
    return pressed;
  };
  presses();
  areas.GoBack();  // to b.htm, of a.htm's group
  EXPECT_EQ(areas.CurrentLinkGroup(), 0);
  EXPECT_EQ(presses(), std::vector<std::string>{"press 11,21"});
  areas
      .GoForward();  // to c.htm: its group switch and the single switch whose next command names it
  EXPECT_EQ(presses(), (std::vector<std::string>{"press 91,6", "press 51,21"}));
  areas.GoForward();  // nothing ahead: only a beep
  EXPECT_TRUE(fakes.log.empty());
  EXPECT_EQ(viewer.CurrentFile(), "d:\\run\\c.htm");
}

TEST_F(HtmlFrameTest, HistoryChangesShowTheTitleAndRefillTheHistoryLists) {
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\a.htm")});
  fakes.log.clear();
  areas.OpenInArea(1, "d:\\run\\b.htm");
  EXPECT_TRUE(fakes.Logged("text 1 Page b  "));
  EXPECT_TRUE(fakes.Logged("item -1 0 Page a history=1"));
  areas.GoBack();
  EXPECT_TRUE(fakes.Logged("item -2 7 Page b history=0"));
}

TEST(HistoryPopupItemsTest, ListsThePagesBehindFromTheTopAndThoseAheadFromTheBottom) {
  const std::vector<std::string> titles{"P5", "P4", "P3", "P2", ""};
  const auto describe = [](const std::vector<HistoryItem>& items) {
    std::string text;
    for (const HistoryItem& item : items)
      text += std::to_string(item.Slot) + ":" + item.Caption + ":" + item.Command + " ";
    return text;
  };
  EXPECT_EQ(describe(HistoryPopupItems(-1, titles, 2)),
            "0:P2:history=3 1:" + Cp("Без названия") + ":history=4 ");
  EXPECT_EQ(describe(HistoryPopupItems(-2, titles, 2)), "7:P5:history=0 6:P4:history=1 ");
  EXPECT_EQ(HistoryPopupItems(-1, {std::string(100, 'x'), "y"}, 0)[0].Caption.size(), 1u);
  EXPECT_EQ(HistoryPopupItems(-2, {std::string(100, 'x'), "y"}, 1)[0].Caption.size(), 80u);
}

TEST(ChapterListTest, ReadsFileAndTitleOfEachLine) {
  const TListChapter chapters = ParseChapterList(
      {"a.htm;Intro", "", Cp("ch2.htm ; Двигатель "), "c.htm;Title;extra", "d.htm"});
  ASSERT_EQ(chapters.size(), 4u);
  EXPECT_EQ(chapters[1].File, "ch2.htm");
  EXPECT_EQ(chapters[1].Title, Cp("Двигатель"));
  EXPECT_EQ(chapters[2].Title, "Title");
  EXPECT_EQ(chapters[3].File, "d.htm");
  EXPECT_EQ(chapters[3].Title, "");
}

class ChapterTest : public HtmlFrameTest {
 protected:
  ChapterTest() {
    Screens(1);
    core::RBtn next, prev;
    next.Command = "NextChapter";
    prev.Command = "prevchapter";
    g().Description.Screens[0].Buttons = {next, prev};
  }
  void WithChapters(const std::string& glavs) {
    book.dir.Write("cd/run/Pak.dhl", testing::MakePack({{"Glavs.cfs", testing::Scramble(glavs)}}));
    pack = std::make_unique<storage::TReadBin>(*g().Fs);
    pack->LoadDirectory(g().ExeDir + "Pak.dhl");
    g().ReadBin = pack.get();
  }
  std::unique_ptr<storage::TReadBin> pack;
};

TEST_F(ChapterTest, ChapterButtonsMoveThroughTheListAndNameTheirChapters) {
  WithChapters("a.htm;First\r\nb.htm;Second\r\nc.htm;Third\r\n");
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\e.htm")});
  EXPECT_EQ(areas.CurrentChapter(), -1);
  EXPECT_TRUE(fakes.hints.empty());  // a page outside the list leaves the hints alone
  areas.PrevChapter();
  EXPECT_EQ(areas.Viewers()[0]->CurrentFile(), "d:\\run\\e.htm");

  areas.NextChapter();  // from outside the list: the first chapter
  EXPECT_EQ(areas.CurrentChapter(), 0);
  EXPECT_EQ(fakes.hints[0], "Second");
  EXPECT_EQ(fakes.hints[1], Cp("Первый раздел"));
  areas.PrevChapter();
  EXPECT_EQ(areas.CurrentChapter(), 0);

  areas.NextChapter();
  areas.NextChapter();
  EXPECT_EQ(areas.CurrentChapter(), 2);
  EXPECT_EQ(fakes.hints[0], Cp("Последний раздел"));
  EXPECT_EQ(fakes.hints[1], "Second");
  areas.NextChapter();
  EXPECT_EQ(areas.CurrentChapter(), 2);
}

TEST_F(ChapterTest, WithoutAChapterListTheNextButtonSaysLast) {
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\a.htm")});
  EXPECT_TRUE(areas.Chapters().empty());
  EXPECT_EQ(fakes.hints[0], Cp("Последний раздел"));
  areas.NextChapter();
  EXPECT_EQ(areas.Viewers()[0]->CurrentFile(), "d:\\run\\a.htm");
}

TEST_F(HtmlFrameTest, FontSettingsDefaultEachAloneAndAreWrittenAtTheEnd) {
  {
    platform::TRegistry key(*g().Registry());
    ASSERT_TRUE(key.OpenKey(core::SettingsKey(g().AppTitle), true));
    key.WriteString("FontSize", "12");  // another kind counts as missing
    key.WriteInteger("Background", 0x00FFEE);
  }
  const HtmlFonts read = ReadHtmlFonts(g().Registry(), g().AppTitle);
  EXPECT_EQ(read.FontName, "Arial");
  EXPECT_EQ(read.FontColor, 0);
  EXPECT_EQ(read.FontSize, 8);
  EXPECT_EQ(read.HotSpotColor, 13158);
  EXPECT_EQ(read.Background, 0x00FFEE);

  THtmlFrame& areas =
      Make({Area(0, 1, kMain, "d:\\run\\a.htm"), Area(1, 2, kReading, "d:\\run\\b.htm")});
  EXPECT_EQ(areas.Viewers()[1]->DefBackground(), QColor(0xEE, 0xFF, 0x00));
  areas.FontDialog = [](HtmlFonts& fonts) {
    fonts.FontName = "Serif";
    fonts.FontSize = 14;
    return true;
  };
  areas.EditFonts();
  EXPECT_EQ(areas.Viewers()[1]->DefFontSize(), 14);  // every viewer takes the new values
  frame.reset();
  const HtmlFonts written = ReadHtmlFonts(g().Registry(), g().AppTitle);
  EXPECT_EQ(written.FontName, "Serif");
  EXPECT_EQ(written.FontSize, 14);
  EXPECT_EQ(written.Background, 0x00FFEE);
}

TEST_F(HtmlFrameTest, PointerAndKeysInAPage) {
  book.dir.Write("cd/run/pic.bmp", testing::Bmp(4, 4, qRgb(0, 0, 255)));
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\a.htm")});
  TFrameViewer& viewer = *areas.Viewers()[0];
  viewer.OnMouseDown(Qt::RightButton, Qt::RightButton, Qt::ShiftModifier, 5, 5);
  EXPECT_FALSE(fakes.Logged("popup -5"));
  viewer.OnMouseDown(Qt::RightButton, Qt::RightButton, Qt::NoModifier, 5, 5);
  EXPECT_TRUE(fakes.Logged("popup -5"));

  viewer.ActiveView()->SelectAll();
  viewer.OnMouseUp(Qt::LeftButton, Qt::NoButton, Qt::NoModifier, 5, 5);
  EXPECT_TRUE(fakes.Logged("thesaurus Text a"));
  fakes.log.clear();
  viewer.LoadFromFile("d:\\run\\pic.bmp");
  fakes.log.clear();
  viewer.ActiveView()->SelectAll();
  viewer.OnMouseUp(Qt::LeftButton, Qt::NoButton, Qt::NoModifier, 5, 5);
  EXPECT_TRUE(fakes.log.empty());  // no look-up in a picture
}

TEST_F(HtmlFrameTest, CopyingTooMuchTextSaysSo) {
  Page("big.htm", PageWithTitle("Big", "<p>" + std::string(40000, 'w') + "</p>"));
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\big.htm")});
  TFrameViewer& viewer = *areas.Viewers()[0];
  viewer.ActiveView()->SelectAll();
  viewer.OnKeyDown(Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(fakes.Logged("status Selected text exceeds buffer size"));
}

TEST_F(HtmlFrameTest, AnImagesAltTextShowsAsAHintBelowThePointer) {
  Page("img.htm", PageWithTitle("I",
                                "<img src=\"pic.bmp\" width=100 height=100 alt=\"A piston\">"
                                "<img src=\"pic.bmp\" width=100 height=100>"));
  book.dir.Write("cd/run/pic.bmp", testing::Bmp(4, 4, qRgb(0, 0, 255)));
  THtmlFrame& areas = Make({Area(0, 1, QRect(0, 0, 400, 300), "d:\\run\\img.htm")});
  window.show();
  TFrameViewer& viewer = *areas.Viewers()[0];
  TDocumentView* view = viewer.ActiveView();
  QPoint onImage;
  for (int x = 0; x < 300 && onImage.isNull(); x += 5) {
    const auto object = view->ObjectAt(QPoint(x, 20));
    if (object.IsImage && !object.Alt.empty()) onImage = QPoint(x, 20);
  }
  ASSERT_FALSE(onImage.isNull());
  QCursor::setPos(view->viewport()->mapToGlobal(onImage));
  viewer.OnMouseMove(Qt::NoButton, Qt::NoButton, Qt::NoModifier, onImage.x(), onImage.y());
  ASSERT_TRUE(testing::WaitUntil([&] { return areas.HintWindow()->isVisible(); }, 3000));
  EXPECT_EQ(areas.HintWindow()->text(), "A piston");
  EXPECT_EQ(areas.HintWindow()->pos(), QCursor::pos() + QPoint(0, 18));
  EXPECT_LE(areas.HintWindow()->width(), 300);

  QCursor::setPos(view->viewport()->mapToGlobal(QPoint(390, 290)));  // off the images
  EXPECT_TRUE(testing::WaitUntil([&] { return !areas.HintWindow()->isVisible(); }, 3000));
}

TEST_F(HtmlFrameTest, CopiesThePageAndItsPicturesFolderToTheInstallFolder) {
  Page("oil.htm", PageWithTitle("Oil"));
  Page("oil.files/pic.gif", "GIF");
  Page("oil.files/deep/more.txt", "more");
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\oil.htm")});
  areas.CopyPageToFolder();  // no install box: nothing
  EXPECT_FALSE(fakes.Logged("status " + Cp("Файл скопирован")));
  g().PathInputBox = &fakes;
  areas.CopyPageToFolder();
  EXPECT_TRUE(g().Fs->FileExists("c:\\inst\\oil.htm"));
  EXPECT_EQ(g().Fs->ReadFile("c:\\inst\\oil.files\\pic.gif").value_or(""), "GIF");
  EXPECT_EQ(g().Fs->ReadFile("c:\\inst\\oil.files\\deep\\more.txt").value_or(""), "more");
  EXPECT_TRUE(fakes.Logged("status " + Cp("Файл скопирован")));
}

TEST_F(HtmlFrameTest, PrintsThePageShownOrANamedFile) {
  book.dir.Write("cd/run/pic.bmp", testing::Bmp(4, 4, qRgb(0, 0, 255)));
  THtmlFrame& areas = Make({Area(0, 1, kMain, "d:\\run\\a.htm")});
  areas.Print("");
  EXPECT_TRUE(fakes.Logged("print d:\\run\\a.htm"));
  areas.Print("d:\\run\\b.htm");
  EXPECT_TRUE(fakes.Logged("print d:\\run\\b.htm"));
  areas.Viewers()[0]->LoadFromFile("d:\\run\\pic.bmp");
  areas.Print("");
  EXPECT_TRUE(fakes.Logged("print d:\\run\\pic.bmp picture"));
  EXPECT_TRUE(areas.PrintPicture());
}

}  // namespace
}  // namespace quire::html
