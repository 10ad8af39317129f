#include <gtest/gtest.h>

#include "core/declarations.h"
#include "core/resolve_path.h"
#include "platform/text.h"
#include "support/cp1251.h"

namespace quire::core {
namespace {

using quire::testing::Cp;

TEST(ResolvePathTest, FollowsThePathRule) {
  struct Case {
    const char* value;
    const char* exeDir;
    const char* expected;
  } cases[] = {
      {"..\\pics\\a.bmp", "D:\\book\\run\\", "D:\\book\\pics\\a.bmp"},
      {"\\video\\c.avi", "D:\\book\\run\\", "D:\\book\\video\\c.avi"},
      {"screen2", "D:\\book\\run\\", "screen2"},
      {"run=setup.exe", "D:\\book\\run\\", "run=D:\\book\\run\\setup.exe"},
      {"run=a=b\\c.exe", "D:\\book\\run\\", "run=a=D:\\book\\run\\b\\c.exe"},
      {"<cd>video\\a.avi", "D:\\book\\run\\", "e:\\video\\a.avi"},
      {"c:\\windows\\a.dll", "D:\\book\\run\\", "c:\\windows\\a.dll"},
      {"html\\ch1.htm", "D:\\book\\run", "D:\\book\\run\\html\\ch1.htm"},
      {"..\\..\\..\\x.htm", "D:\\book\\run\\", "D:\\book\\x.htm"},  // never above the anchor
      {"..\\x.htm", "d:\\", "d:\\x.htm"},
      {"  a.htm  ", "d:\\run\\", "d:\\run\\a.htm"},
      {"a.htm", "nodrive", "nodrive\\a.htm"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolvePath(c.value, c.exeDir, "e:\\"), c.expected) << c.value;
  }
}

TEST(ValueKindsTest, ReadsNumbersWordsAndColours) {
  EXPECT_EQ(ReadNumber("vx = about 15", 0), 15);
  EXPECT_EQ(ReadNumber("vx=", 0), -1);
  EXPECT_EQ(ReadNumber("vx=5-3", 0), -1);
  EXPECT_EQ(ReadNumber("vx=--", 0), -1);
  EXPECT_EQ(ReadNumber("vx=-7;", 0), -7);
  EXPECT_EQ(ReadNumber("vx=99999999999", 0), -1);
  EXPECT_EQ(ReadWord("fn1=pics\\b.bmp; fn2=c.bmp", 4), "pics\\b.bmp");
  EXPECT_EQ(ReadWord("fn1=pics\\b.bmp", 4), "pics\\b.bmp");
  EXPECT_EQ(ReadWord("fn1=", 4), "");
  EXPECT_EQ(ReadWord("fn1", 40), "");
  bool complete = false;
  EXPECT_EQ(ReadColour("color=255,128,0", 6, &complete), 255 + 128 * 256);
  EXPECT_TRUE(complete);
  EXPECT_EQ(ReadColour("color= 1, 2 ,3", 6), 1 + 2 * 256 + 3 * 65536);
  EXPECT_EQ(ReadColour("color=300,0,0", 6), 300 & 0xFF);
  ReadColour("color=255", 6, &complete);
  EXPECT_FALSE(complete);
}

TDescription Read(const Lines& lines) {
  return ReadStructDescription(lines, "d:\\run\\", "d:\\");
}

TEST(DescriptionTest, KeysMayShareALineOrSpreadOverSeveral) {
  const TDescription one = Read({"button 1; vx=10; vy=20; fn1=a.bmp; fn2=b.bmp; fn3=c.bmp",
                                 "go=html1=x.htm; hint=Go; wav=no"});
  const TDescription many = Read({"button 1", "vx=10", "something else", "vy=20", "fn1=a.bmp",
                                  "fn2=b.bmp", "fn3=c.bmp", "go=html1=x.htm", "hint=Go", "wav=no"});
  for (const TDescription* d : {&one, &many}) {
    ASSERT_EQ(d->Screens.size(), 1u);
    ASSERT_EQ(d->Screens[0].Buttons.size(), 1u);
    const RBtn& b = d->Screens[0].Buttons[0];
    EXPECT_EQ(b.Left, 10);
    EXPECT_EQ(b.Top, 20);
    EXPECT_EQ(b.NormalPicture, "a.bmp");
    EXPECT_EQ(b.PressedPicture, "c.bmp");
    EXPECT_EQ(b.Command, "html1=x.htm");  // a button's command is not resolved
    EXPECT_EQ(b.Hint, "Go");
    EXPECT_TRUE(d->Errors.empty());
  }
}

TEST(DescriptionTest, ListsRunOverLinesAndResolveTheirItems) {
  struct Case {
    Lines lines;
    TDynamicStringArray expected;
  } cases[] = {
      {{"bgsounddef=[a.wav; b.wav]"}, {"d:\\run\\a.wav", "d:\\run\\b.wav"}},
      {{"bgsounddef=[a.wav", "b.wav]"}, {"d:\\run\\a.wav", "d:\\run\\b.wav"}},
      {{"bgsounddef=[a.wav;", "b.wav]"}, {"d:\\run\\a.wav", "", "d:\\run\\b.wav"}},
      {{"bgsounddef=[]"}, {""}},
      {{"bgsounddef=none"}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.lines).BgSoundDef, c.expected) << c.lines[0];
  const TDescription open = Read({"bgsounddef=[a.wav;", "b.wav"});
  ASSERT_EQ(open.Errors.size(), 1u);
  EXPECT_EQ(open.Errors[0].Line, 1u);
}

TEST(DescriptionTest, HeaderKeysAreFoundAnywhereAndTheLastWins) {
  const TDescription d =
      Read({"title=книга о двигателе", "codec=indeo5 mpegaudio", "rolic=intro.avi", "icon=book.ico",
            "helpwin vw=400; vh=300; fn=help\\index.htm", "vertexmain=[0,0; 800,0; 800,600; 0,600]",
            "minimize vx=700; vy=5; fn1=m1.bmp; fn2=m2.bmp; fn3=m3.bmp; hint=Свернуть; wav=no",
            "close vx=750; vy=5; fn1=c1.bmp; fn2=c2.bmp; fn3=c3.bmp; hint=Закрыть; wav=click.wav",
            "button 1; vx=1; vy=2; fn1=a; fn2=b; fn3=c; go=about; hint=the title here; wav=no"});
  EXPECT_EQ(d.AppTitle, "Here");  // a hint holding "title" replaces the book title
  EXPECT_EQ(d.Codec, "indeo5 mpegaudio");
  EXPECT_EQ(d.Rolic, "intro.avi");
  EXPECT_EQ(d.Icon, "book.ico");
  ASSERT_TRUE(d.HelpWin);
  EXPECT_EQ(d.HelpWin->Width, 400);
  EXPECT_EQ(d.HelpWin->File, "d:\\run\\help\\index.htm");
  EXPECT_EQ(d.VertexMain, (std::vector<TPoint>{{0, 0}, {800, 0}, {800, 600}, {0, 600}}));
  ASSERT_TRUE(d.Minimize && d.Close);
  EXPECT_EQ(d.Minimize->Command, "minimize");
  EXPECT_EQ(d.Close->Command, "exit");
  EXPECT_EQ(d.Close->Sound, "click.wav");
  EXPECT_EQ(Read({"title=" + Cp("книга")}).AppTitle, Cp("Книга"));
}

TEST(DescriptionTest, ScreensReceiveTheWindowButtonsInPlace) {
  const TDescription d = Read({
      "minimize vx=1; vy=1; fn1=m; fn2=m; fn3=m; hint=; wav=no",
      "close vx=2; vy=2; fn1=c; fn2=c; fn3=c; hint=; wav=no",
      "button 2; vx=5; vy=5; fn1=first; fn2=f; fn3=f; go=a; hint=; wav=no",
      "_screen=back2.bmp; 2",
      "button 2; vx=6; vy=6; fn1=last; fn2=l; fn3=l; go=b; hint=; wav=no",
  });
  ASSERT_EQ(d.Screens.size(), 2u);
  EXPECT_TRUE(d.Screens[0].Buttons.empty());
  EXPECT_EQ(d.Screens[0].Background, "");
  const auto& buttons = d.Screens[1].Buttons;
  ASSERT_EQ(buttons.size(), 4u);
  EXPECT_EQ(buttons[0].NormalPicture, "first");
  EXPECT_EQ(buttons[1].Command, "minimize");
  EXPECT_EQ(buttons[2].Command, "exit");
  EXPECT_EQ(buttons[3].NormalPicture, "last");
  EXPECT_EQ(d.Screens[1].Background, "back2.bmp");
}

TEST(DescriptionTest, ReadsSwitchesAndAreas) {
  const TDescription d = Read({
      "switchone 1; vx=1; vy=2; fn1=a; fn2=b; fn3=c; fn4=d; state= on ; store=on;",
      "goup=run=setup.exe; godown=screen2; hint=h; wav=s.wav",
      "switchone 1; vx=1; vy=2; fn1=a; fn2=b; fn3=c; fn4=d; state=yes; store=1; goup=x; godown=y;"
      " hint=h; wav=no",
      "switchgrp 1; vx=1; vy=2; fn1=a; fn2=b; fn3=c; fn4=d; state=on; store=off; group=3; "
      "go=html1=a.htm; hint=h; wav=no",
      "_html 1; vx=10; vy=20; vw=300; vh=400; fn=html\\index.htm; number=1",
      "_html 2; vx=0; vy=0; vw=1; vh=1; fn=a.htm; number=2",
      "_findtxt 2; vx=1; vy=2; vw=3; vh=4; frame=main; nofiles=[man\\a.htm; b.htm]; number=1; "
      "hint=Поиск",
      "_path 4; vx=1; vy=2; vw=3; vh=4; pathdef=c:\\games; hint=куда",
      "_clip 3; vx=1; vy=2; vw=3; vh=4; bgcolor=0,0,255; html=1",
      "_text 2; vx=1; vy=2; vw=3; font=arial; size=10; style=bold; color=255,0,0; value=Привет;"
      " ident=statusline; number=1",
      "_image 3; vx=1; vy=2; vw=3; vh=4; dir=pics",
      "_popup 2; xfon=1; yfon=2; fnfon=bg.bmp; xbtn=3; ybtn=4; fnbtnup=[a;b]; fnbtnmove=[c;d];",
      "fnbtndown=[e;f]; fontup=arial; sizeup=8; styleup=; colorup=0,0,0; fontmv=arial; sizemv=9;",
      "stylemv=bold; colormv=1,2,3; caption=[Назад; Вперёд]; go=[back; forward]; parent=;",
      "type=favorites;",
      "vertex=[0,0; 10,0; 10,10]",
      "_popup 2; xfon=1; yfon=2; fnfon=; xbtn=; ybtn=; fnbtnup=[]; fnbtnmove=[]; fnbtndown=[];",
      "fontup=; sizeup=; styleup=; colorup=0,0,0; fontmv=; sizemv=; stylemv=; colormv=0,0,0;",
      "caption=[]; go=[]; parent=; type=contexthtml; vertex=[]",
  });
  ASSERT_EQ(d.Screens.size(), 2u);
  const auto& one = d.Screens[0].SwitchOne;
  ASSERT_EQ(one.size(), 2u);
  EXPECT_TRUE(one[0].State);
  EXPECT_TRUE(one[0].Store);
  EXPECT_EQ(one[0].UpCommand, "run=d:\\run\\setup.exe");  // switch commands are resolved
  EXPECT_EQ(one[0].DownCommand, "screen2");
  EXPECT_EQ(one[0].Pictures[3], "d");
  EXPECT_FALSE(one[1].State);  // only the word "on" counts
  EXPECT_FALSE(one[1].Store);
  const RSwthGrp& grp = d.Screens[0].SwitchGrp.at(0);
  EXPECT_EQ(grp.Group, 3);
  EXPECT_EQ(grp.Command, "html1=d:\\run\\a.htm");

  ASSERT_EQ(d.Html.size(), 2u);
  EXPECT_EQ(d.Html[0].Right, 300);
  EXPECT_EQ(d.Html[0].StartDocument, "d:\\run\\html\\index.htm");
  EXPECT_EQ(d.Html[1].Screen, 1);
  EXPECT_EQ(d.FindTxt.at(0).ExcludedFiles,
            (TDynamicStringArray{"d:\\run\\man\\a.htm", "d:\\run\\b.htm"}));
  EXPECT_EQ(d.FindTxt[0].Hint, "Поиск");
  EXPECT_EQ(d.PathInput.at(0).DefaultPath, "c:\\games");
  EXPECT_EQ(d.PathInput[0].Screen, 3);  // flat lists carry screens past the per-screen ones
  EXPECT_EQ(d.Clip.at(0).BackgroundColour, 255 * 65536);
  EXPECT_EQ(d.Text.at(0).Ident, "statusline");
  EXPECT_EQ(d.Text[0].Number, 1);
  EXPECT_EQ(d.Text[0].Colour, 255);
  EXPECT_EQ(d.Image.at(0).Folder, "pics\\");  // a plain word is no path
  const auto& popups = d.Screens[1].Popups;
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[0].Type, -1);  // "favorites" is no known word and no number
  EXPECT_EQ(popups[0].Captions, (TDynamicStringArray{"Назад", "Вперёд"}));
  EXPECT_EQ(popups[0].FontSizes[1], 9);
  EXPECT_EQ(popups[0].FontColours[1], 1 + 2 * 256 + 3 * 65536);
  EXPECT_EQ(popups[0].Vertex, (TDynamicStringArray{"0,0", "10,0", "10,10"}));
  EXPECT_EQ(popups[1].Type, -5);
  EXPECT_TRUE(d.Errors.empty()) << d.Errors[0].Message;
}

TEST(DescriptionTest, MalformedFilesEndCleanlyAndSayWhere) {
  struct Case {
    Lines lines;
    size_t line;
    const char* message;
  } cases[] = {
      {{"button 1; vx=1", "vy=2; fn1=a"}, 2, "\"fn2\""},
      {{"_text 1; vx=1; vy=2; vw=3; font=a; size=1; style=; color=7; value=; ident=; number=1"},
       1,
       "three numbers"},
      {{"button without a number"}, 1, "screen number"},
      {{"_html 9999; vx=1"}, 1, "screen number"},
  };
  for (const Case& c : cases) {
    const TDescription d = Read(c.lines);
    ASSERT_FALSE(d.Errors.empty()) << c.lines[0];
    EXPECT_EQ(d.Errors[0].Line, c.line) << c.lines[0];
    EXPECT_NE(d.Errors[0].Message.find(c.message), std::string::npos) << d.Errors[0].Message;
  }
  const TDescription cut = Read({"button 1; vx=1", "vy=2; fn1=a"});
  ASSERT_EQ(cut.Screens.at(0).Buttons.size(), 1u);  // what was read is kept
  EXPECT_EQ(cut.Screens[0].Buttons[0].NormalPicture, "a");
}

TEST(DescriptionTest, ABadPointEndsTheHeaderScan) {
  const TDescription d = Read({"vertexmain=[0,0; 10,x]", "title=never read",
                               "button 1; vx=1; vy=1; fn1=a; fn2=b;"
                               " fn3=c; go=d; hint=; wav=no"});
  EXPECT_TRUE(d.HeaderFailed);
  EXPECT_EQ(d.AppTitle, "");
  EXPECT_TRUE(d.Screens.empty());
  ASSERT_EQ(d.Errors.size(), 1u);
  EXPECT_NE(d.Errors[0].Message.find("10,x"), std::string::npos);
}

TEST(DescriptionTest, TheThesaurusHasItsOwnTitleAndDocument) {
  const TDescription d = ReadThesaurusDescription(
      {"title=something", "switchone 1; vx=1",
       "_html 1; vx=1; vy=2; vw=3; vh=4; fn=start.htm; number=1", "_screen=tback.bmp; 1"},
      "d:\\run\\", "d:\\", "tez\\a.htm");
  EXPECT_EQ(d.AppTitle, Cp("Тезаурус"));
  ASSERT_EQ(d.Html.size(), 1u);
  EXPECT_EQ(d.Html[0].StartDocument, "d:\\run\\tez\\a.htm");
  EXPECT_TRUE(d.Screens.at(0).SwitchOne.empty());  // no switches in this vocabulary
  EXPECT_EQ(d.Screens[0].Background, "tback.bmp");
}

}  // namespace
}  // namespace quire::core

#include "core/command_text.h"

namespace quire::core {
namespace {

TEST(CommandTextTest, SplitsVerbAndArguments) {
  PathGlobals paths;
  paths.ExeDir = "d:\\run\\";
  paths.DriveRoot = "d:\\";
  struct Case {
    const char* command;
    const char* verb;
    const char* first;
    const char* second;
  } cases[] = {
      {"about", "", "", ""},
      {"screen2=chapter5.htm", "screen2", "d:\\run\\chapter5.htm", ""},
      {"run=setup\\install.exe=-silent", "run", "d:\\run\\setup\\install.exe", "-silent"},
      {"rungame=a=b=key", "rungame", "a=b", "key"},  // the first argument may hold "="
      {"clip=<cd>v.avi=ch1.htm", "clip", "d:\\v.avi", "d:\\run\\ch1.htm"},
      {"html1=", "html1", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandVerb(c.command), c.verb) << c.command;
    EXPECT_EQ(FirstArgument(c.command, paths), c.first) << c.command;
    EXPECT_EQ(SecondArgument(c.command, paths), c.second) << c.command;
  }
}

}  // namespace
}  // namespace quire::core
