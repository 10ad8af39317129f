// The demo book, as the build makes it, has everything the program can show.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/command_text.h"
#include "core/declarations.h"
#include "core/globals.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "storage/compr_stream.h"
#include "storage/content_archive.h"
#include "storage/read_bin.h"

namespace quire {
namespace {

class DemoBookTest : public ::testing::Test {
 protected:
  DemoBookTest() {
    std::string error;
    g = core::MakeGlobals(*core::LocateBook(QUIRE_DEMO_BOOK, std::nullopt, error), "/tmp", error);
    pack = std::make_unique<storage::TReadBin>(*g->Fs);
    pack->LoadDirectory(g->ExeDir + "Pak.dhl");
    archive.OpenArchive(*g->Fs, g->ExeDir + "interface.dat");
    archive.SetArchiveRoot(g->ArchiveRootDir);
    g->Archive = &archive;
    std::string block;
    core::Lines lines;
    storage::DescrambleLines(block, pack->ReadToBuffer("Struct.cfs", block), lines, true);
    description = core::ReadStructDescription(lines, g->ExeDir, g->DriveRoot);
  }
  std::string Page(const std::string& name) {
    return storage::TComprStream(*g, g->ExeDir + name).TakeBytes();
  }

  std::unique_ptr<core::Globals> g;
  std::unique_ptr<storage::TReadBin> pack;
  storage::ContentArchive archive;
  core::TDescription description;
};

TEST_F(DemoBookTest, DeclaresEveryKindOfElementWithoutErrors) {
  EXPECT_TRUE(description.Errors.empty()) << description.Errors[0].Message;
  EXPECT_GE(description.Screens.size(), 4u);
  EXPECT_FALSE(description.VertexMain.empty());
  EXPECT_FALSE(description.BgSoundDef.empty());
  EXPECT_FALSE(description.Rolic.empty());
  EXPECT_NE(description.Codec.find("indeo5"), std::string::npos);
  EXPECT_TRUE(description.Minimize && description.Close);
  size_t switchOnes = 0, switchGroups = 0;
  std::set<int> popupTypes;
  std::set<std::string> commands;
  for (const core::TScreenDecl& screen : description.Screens) {
    EXPECT_FALSE(screen.Background.empty());
    switchOnes += screen.SwitchOne.size();
    switchGroups += screen.SwitchGrp.size();
    for (const auto& p : screen.Popups) popupTypes.insert(p.Type > 0 ? 1 : p.Type);
    for (const auto& b : screen.Buttons)
      commands.insert(core::CommandVerb(b.Command).empty() ? b.Command
                                                           : core::CommandVerb(b.Command));
    for (const auto& s : screen.SwitchOne)
      commands.insert(s.UpCommand), commands.insert(s.DownCommand);
    for (const auto& s : screen.SwitchGrp) commands.insert(s.Command);
  }
  EXPECT_GT(switchOnes, 0u);
  EXPECT_GT(switchGroups, 0u);
  EXPECT_EQ(popupTypes, (std::set<int>{-5, -3, -2, -1, 1}));
  EXPECT_FALSE(description.Html.empty());
  EXPECT_FALSE(description.FindTxt.empty());
  EXPECT_FALSE(description.PathInput.empty());
  EXPECT_FALSE(description.Clip.empty());
  EXPECT_FALSE(description.Text.empty());
  EXPECT_FALSE(description.Image.empty());
  for (const char* command :
       {"about",        "exit",        "bgsound", "findnext", "back",    "forward",     "printhtml",
        "nextchapter",  "prevchapter", "3d",      "2d",       "nextpic", "prevpic",     "unarc",
        "installfonts", "copyhtml",    "rungame", "delgame",  "options", "standartwin", "clip",
        "stop",         "pause",       "tree1",   "tree2",    "ontree",  "offtree"}) {
    EXPECT_TRUE(commands.count(command)) << command;
  }
}

TEST_F(DemoBookTest, ThePackHoldsEveryDescriptionAndPicture) {
  for (const char* entry : {"Struct.cfs", "Dialog.cfs", "About.cfs", "Tesaurus.cfs", "tree1.cfs",
                            "tree2.cfs", "Glavs.cfs", "status_up.bmp", "status_dn.bmp"}) {
    EXPECT_TRUE(pack->Exists(entry)) << entry;
  }
  std::string block;
  for (const core::TScreenDecl& screen : description.Screens) {
    EXPECT_GT(pack->ReadToBuffer(screen.Background, block), 0) << screen.Background;
    for (const auto& b : screen.Buttons) {
      for (const std::string* picture : {&b.NormalPicture, &b.HoverPicture, &b.PressedPicture}) {
        EXPECT_TRUE(pack->Exists(*picture)) << *picture;
      }
    }
    for (const auto& s : screen.SwitchOne) {
      for (const std::string& picture : s.Pictures) EXPECT_TRUE(pack->Exists(picture)) << picture;
    }
    for (const auto& s : screen.SwitchGrp) {
      for (const std::string& picture : s.Pictures) EXPECT_TRUE(pack->Exists(picture)) << picture;
    }
  }
}

// The row of tabs under the reading area: one group, opening each section's first page there.
// None starts on: a tab that is on opens its page whenever the screen is entered.
TEST_F(DemoBookTest, TheReadingScreenHasATabForEverySection) {
  const std::vector<std::string> sectionStarts = {"engine.htm", "systems.htm", "service.htm",
                                                  "tables.htm", "tez_index.htm", "extras.htm"};
  std::vector<std::string> opened;
  int on = 0;
  for (const core::RSwthGrp& s : description.Screens.at(1).SwitchGrp) {
    if (s.Group != 2) continue;
    EXPECT_EQ(core::CommandVerb(s.Command), "html1");
    const std::string page = core::FirstArgument(s.Command, *g);
    EXPECT_TRUE(storage::ContentFileExists(*g, page)) << page;
    opened.push_back(platform::ExtractFileName(page));
    on += s.State;
  }
  EXPECT_EQ(opened, sectionStarts);
  EXPECT_EQ(on, 0);
}

TEST_F(DemoBookTest, PagesUseEveryKindOfLinkAndStructure) {
  size_t pages = 0;
  std::string all;
  for (const std::string& path : archive.ListArchiveFiles()) {
    if (platform::ExtractFileExt(path) != ".HTM") continue;
    ++pages;
    all += Page(path.substr(4));  // "RUN\" is the book folder
  }
  EXPECT_GE(pages, 30u);
  for (const char* part :
       {"<frameset", "<map", "<area", "<select",
        "copylist:", "copy:", "printhtml:", "rungame:", "delgame:", "_blank",
        "http:", "mailto:", ".zip", ".rar", ".wav", ".exe", "#", "~ ", "charset=windows-1251"}) {
    EXPECT_NE(all.find(part), std::string::npos) << part;
  }
}

TEST_F(DemoBookTest, MediaAndLooseFilesLieInTheBookFolder) {
  for (const char* file :
       {"piston.gif", "scheme.bmp", "oil.htm", "checklist.txt", "DejaVuSerif.ttf",
        "models\\current_model.3ds", "models\\metal.bmp", "video\\intro.avi", "video\\engine.avi",
        "music\\song1.wav", "sounds\\click.wav", "files\\schemes.rar", "files\\forms.zip",
        "files\\motorkit.exe"}) {
    EXPECT_TRUE(g->Fs->FileExists(g->ExeDir + file)) << file;
  }
  EXPECT_TRUE(g->Fs->DirectoryExists(g->ExeDir + "oil.files"));
  EXPECT_FALSE(
      g->Fs->ListFiles(g->ExeDir + "pics\\slides", {"*.bmp", "*.jpg"}, false, false).empty());
}

}  // namespace
}  // namespace quire
