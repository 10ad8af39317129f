// The command dispatcher: every action of the book arrives here as a command text.
#include <QApplication>
#include <QCursor>

#include "core/command_text.h"
#include "core/game_keys.h"
#include "media/button_sound.h"
#include "platform/processes.h"
#include "platform/text.h"
#include "shell/main_form.h"

namespace quire::shell {

namespace {

using platform::Contains;

// The first whole number in `text` from `from` on (digits only), or -1.
int FirstNumber(const std::string& text, size_t from = 0) {
  size_t i = from;
  while (i < text.size() && !(text[i] >= '0' && text[i] <= '9')) ++i;
  if (i >= text.size()) return -1;
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 1000000; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  return static_cast<int>(value);
}

}  // namespace

void TMainForm::SetBusy(bool on) {
  if (on) {
    g_.Busy = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return;
  }
  // Clicks made meanwhile are seen while still busy, and so dropped.
  QApplication::processEvents();
  QApplication::restoreOverrideCursor();
  g_.Busy = false;
}

bool TMainForm::SwitchScreenByNumber(const std::string& text, const std::string& document, int kind,
                                     int index) {
  const int number = FirstNumber(text);
  if (number < 1 || static_cast<size_t>(number) > g_.Description.Screens.size()) return false;
  if (g_.Trees[0] && !document.empty()) g_.Trees[0]->SetRequestedDocument(document);
  ShowScreen(number - 1, kind, index);
  return true;
}

void TMainForm::OpenPopupAtButton(int type, int index, bool rightEdge) {
  if (!g_.PopupControl || g_.Description.Screens.empty()) return;
  const auto& buttons = Screen().Buttons;
  if (static_cast<size_t>(index) >= buttons.size()) return;
  const core::RBtn& b = buttons[index];
  const QPoint at = mapToGlobal(QPoint(rightEdge ? b.Right : b.Left, b.Bottom));
  g_.PopupControl->Open(type, at.x(), at.y());
}

void TMainForm::RunCommand(const std::string& command, const std::string& sound, bool silent,
                           int kind, int index) {
  if (g_.Busy) return;
  if (command == "exit") {
    QWidget* window = platform::WindowDirectory::FindWindowByTitle(g_.AppTitle);
    if (kind == 0) ExitButtonIndex = index;
    platform::WindowDirectory::SendClose(window);
    return;
  }
  if (!silent) media::PlayButtonSound(g_, sound);

  const std::string verb = core::CommandVerb(command);
  const auto first = [&] { return core::FirstArgument(command, g_); };
  const auto second = [&] { return core::SecondArgument(command, g_); };
  const bool button = kind == 0;

  if (Contains(platform::AsciiLower(verb), "screen")) {
    SwitchScreenByNumber(verb, first(), kind, index);
  } else if (command == "2d") {
    if (g_.Panel3D) g_.Panel3D->SetActive(false);
  } else if (command == "3d") {
    if (g_.Panel3D) g_.Panel3D->SetActive(true);
  } else if (verb == "run") {
    const std::string file = first();
    const std::string folder = platform::ExtractFilePath(file);
    const auto host = g_.Fs->ToHost(file);
    const auto hostFolder = g_.Fs->ToHost(folder);
    if (host) platform::ShellOpen(host->string(), second(), hostFolder.value_or(""));
  } else if (command == "about") {
    if (g_.Windows) g_.Windows->ShowAbout();
  } else if (command == "minimize") {
    showMinimized();
    if (button && static_cast<size_t>(index) < pictures_.Buttons.size()) {
      pictures_.Buttons[index].IsHover = pictures_.Buttons[index].IsPressed = false;
    }
  } else if (Contains(command, "tree1")) {
    if (g_.Trees[1]) g_.Trees[1]->Choose(true);
    if (g_.Trees[0]) g_.Trees[0]->Choose(false);
  } else if (Contains(command, "tree2")) {
    if (g_.Trees[0]) g_.Trees[0]->Choose(true);
    if (g_.Trees[1]) g_.Trees[1]->Choose(false);
  } else if (Contains(command, "ontree")) {
    for (core::ITreeView* tree : g_.Trees) {
      if (tree) tree->SetHiddenByOfftree(false);
    }
  } else if (Contains(command, "offtree")) {
    for (core::ITreeView* tree : g_.Trees) {
      if (tree) tree->SetHiddenByOfftree(true);
    }
  } else if (command == "historyback") {
    if (button) OpenPopupAtButton(-1, index, true);
  } else if (command == "historyforward") {
    if (button) OpenPopupAtButton(-2, index, false);
  } else if (command == "showfavorite") {
    if (button) OpenPopupAtButton(-3, index, false);
  } else if (command == "addtofavorite") {
    if (g_.Favorites) g_.Favorites->AddCurrentPage();
  } else if (command == "deletefromfavorite") {
    if (button) OpenPopupAtButton(-4, index, false);
  } else if (command == "tesaurus") {
    if (g_.Windows) g_.Windows->LookUpThesaurus("");
  } else if (Contains(command, "contextmenu")) {
    if (button && g_.PopupControl) {
      const QPoint at = QCursor::pos();
      g_.PopupControl->Open(FirstNumber(command, 10), at.x(), at.y());
    }
  } else if (command == "back") {
    if (g_.HtmlFrame) g_.HtmlFrame->GoBack();
  } else if (command == "forward") {
    if (g_.HtmlFrame) g_.HtmlFrame->GoForward();
  } else if (Contains(verb, "html")) {
    if (g_.HtmlFrame) {
      const std::string file = first();
      g_.HtmlFrame->NoteRequest(file);
      g_.HtmlFrame->OpenInArea(FirstNumber(command, 4), file);
    }
  } else if (command == "copyhtml") {
    if (g_.HtmlFrame) g_.HtmlFrame->CopyPageToFolder();
  } else if (command == "printhtml") {
    if (g_.HtmlFrame) g_.HtmlFrame->Print("");
  } else if (command == "tophtml") {
    if (g_.HtmlFrame) g_.HtmlFrame->ScrollToTop();
  } else if (command == "nextchapter") {
    if (g_.HtmlFrame) g_.HtmlFrame->NextChapter();
  } else if (command == "prevchapter") {
    if (g_.HtmlFrame) g_.HtmlFrame->PrevChapter();
  } else if (Contains(command, "findnext")) {
    if (g_.ThesaurusMode) {
      if (g_.SearchBoxes) g_.SearchBoxes->Search(FirstNumber(command, 8));
    } else if (g_.CoolDialog) {
      g_.CoolDialog->ShowDialog(1, "");
    }
  } else if (Contains(command, "findtxtall")) {
    if (g_.SearchBoxes) g_.SearchBoxes->SetScope(true);
  } else if (Contains(command, "findtxtlimit")) {
    if (g_.SearchBoxes) g_.SearchBoxes->SetScope(false);
  } else if (command == "caseon") {
    if (g_.SearchBoxes) g_.SearchBoxes->SetMatchCase(true);
  } else if (command == "caseoff") {
    if (g_.SearchBoxes) g_.SearchBoxes->SetMatchCase(false);
  } else if (command == "bgsound") {
    if (button && g_.BackgroundMusic) g_.BackgroundMusic->Toggle();
  } else if (command == "standartwin") {
    if (g_.Windows) g_.Windows->EnterStandardWindow();
  } else if (command == "options") {
    if (g_.Windows) g_.Windows->ShowOptions();
  } else if (command == "help") {
    if (g_.Windows) g_.Windows->ShowHelp();
  } else if (command == "unarc") {
    if (g_.HtmlFrame && g_.HtmlFrame->InArchiveMode()) {
      if (g_.ArchiveBrowser) g_.ArchiveBrowser->ExtractArchive(true, false);
    } else if (g_.CoolDialog) {
      g_.CoolDialog->ShowDialog(0, platform::Ansi("Выберите файл для распаковки."));
    }
  } else if (command == "play") {
    if (g_.ClipPlayer) g_.ClipPlayer->Play("", "", 0);
  } else if (command == "stop") {
    if (g_.ClipPlayer) g_.ClipPlayer->Stop();
  } else if (command == "pause") {
    if (g_.ClipPlayer) {
      g_.ClipPlayer->SuppressNextNotify();
      g_.ClipPlayer->PauseOrResume();
    }
  } else if (command == "stepforward") {
    if (g_.ClipPlayer) g_.ClipPlayer->StepForward();
  } else if (command == "stepback") {
    if (g_.ClipPlayer) g_.ClipPlayer->StepBack();
  } else if (Contains(verb, "clip")) {
    if (g_.ClipPlayer) g_.ClipPlayer->Play(first(), second(), 4);
  } else if (command == "nextpic") {
    if (g_.PictureAreas) g_.PictureAreas->NextPicture();
  } else if (command == "prevpic") {
    if (g_.PictureAreas) g_.PictureAreas->PreviousPicture();
  } else if (command == "installfonts") {
    if (g_.FontInstaller) g_.FontInstaller->InstallFonts();
  } else if (verb == "rungame") {
    RunGame(command);
  } else if (verb == "delgame") {
    DeleteGame(command);
  } else {
    SwitchScreenByNumber(command, "", kind, index);
  }
}

void TMainForm::RunGame(const std::string& command) {
  const std::string game = core::SecondArgument(command, g_);
  const std::string instdir = core::ReadGameValue(g_, game, "instdir");
  std::string exename = core::ReadGameValue(g_, game, "exename");
  std::string parameters;
  if (const size_t exe = platform::FindText(exename, ".exe"); exe != std::string::npos) {
    parameters = exename.substr(exe + 4);
    exename.erase(exe + 4);
  }
  const std::string program = !exename.empty()
                                  ? platform::IncludeTrailingBackslash(instdir) + exename
                                  : core::FirstArgument(command, g_);
  if (exename.empty()) parameters.clear();
  const auto host = g_.Fs->ToHost(program);
  const auto folder = g_.Fs->ToHost(platform::ExtractFilePath(program));
  if (host) platform::ShellOpen(host->string(), platform::Trim(parameters), folder.value_or(""));
}

void TMainForm::DeleteGame(const std::string& command) {
  const std::string game = core::FirstArgument(command, g_);
  std::string folder = platform::ExcludeTrailingBackslash(core::ReadGameValue(g_, game, "instdir"));
  while (!folder.empty() && !g_.Fs->FileExists(folder + "\\Uninst.isu")) {
    const size_t cut = folder.rfind('\\');
    folder = cut == std::string::npos ? std::string() : folder.substr(0, cut);
  }
  if (folder.empty()) {
    if (g_.CoolDialog) g_.CoolDialog->ShowDialog(0, platform::Ansi("Игра не установлена."));
    return;
  }
  // The uninstaller's command line, as it is written: the quote before the folder has no
  // closing quote.
  const std::string commandLine = g_.WindowsDir + "IsUninst.exe -f\"" +
                                  platform::IncludeTrailingBackslash(folder) + "Uninst.isu";
  const size_t space = commandLine.find(' ');
  const auto program = g_.Fs->ToHost(commandLine.substr(0, space));
  const auto hostFolder = g_.Fs->ToHost(g_.WindowsDir);
  if (program) {
    platform::RunAndWait(*program, platform::SplitParameters(commandLine.substr(space + 1)),
                         hostFolder.value_or(""));
  }
  if (!core::ReadGameValue(g_, game, "instdir").empty()) return;  // the game is still there
  const auto paths = g_.Fs->ListFiles(folder, {"*.*"}, true, true);
  std::vector<std::string> folders;
  for (const std::string& path : paths) {
    const std::string dir = platform::ExtractFilePath(path);
    const bool known = std::any_of(folders.begin(), folders.end(), [&](const std::string& f) {
      return platform::SameText(f, dir);
    });
    if (!known) folders.push_back(dir);
    if (path.back() == '\\') continue;
    if (!g_.Fs->DeleteFile(path) && (g_.Fs->FileGetAttr(path).value_or(0) & platform::faReadOnly)) {
      g_.Fs->SetReadOnly(path, false);
      g_.Fs->DeleteFile(path);
    }
  }
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) g_.Fs->RemoveDir(*it);
}

}  // namespace quire::shell
