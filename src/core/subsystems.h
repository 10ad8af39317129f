// The entry points through which the book window reaches the parts of the program that carry
// its commands out. Each part implements its face when it is built and registers its single
// instance in Globals; until then the pointer is null and the commands that need it do nothing.
#pragma once

#include <cstddef>
#include <string>

namespace quire::core {

// The HTML areas, their history and chapters.
class IHtmlAreas {
 public:
  virtual ~IHtmlAreas() = default;
  virtual void NoteRequest(const std::string& file) = 0;
  virtual void OpenInArea(int number, const std::string& file) = 0;
  virtual void OpenDocument(const std::string& file) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void GoToHistory(int index) = 0;
  virtual void CopyPageToFolder() = 0;
  virtual void Print(const std::string& file) = 0;
  virtual void ScrollToTop() = 0;
  virtual void SelectAll() = 0;
  virtual void EditFonts() = 0;
  virtual void FillWindow() = 0;
  virtual void RestoreBounds() = 0;
  virtual void NextChapter() = 0;
  virtual void PrevChapter() = 0;
  virtual bool InArchiveMode() const = 0;
  virtual void SetArchiveMode(bool on) = 0;
  virtual void ScreenShown() = 0;
};

class ISearchBoxes {
 public:
  virtual ~ISearchBoxes() = default;
  virtual void Search(int number) = 0;
  virtual void SetScope(bool allPages) = 0;
  virtual void SetMatchCase(bool on) = 0;
  // Enter in a page: every visible box searches as if Enter were pressed in it.
  virtual void SearchVisibleBoxes() = 0;
  virtual void ScreenShown() = 0;
};

class IFavorites {
 public:
  virtual ~IFavorites() = default;
  virtual void AddCurrentPage() = 0;
};

class IPopupControl {
 public:
  virtual ~IPopupControl() = default;
  virtual void Open(int type, int screenX, int screenY) = 0;
  virtual void HidePopup() = 0;
  // Fills item `slot` of popup `type` (the history lists) and shows or hides it.
  virtual void SetItem(int type, int slot, const std::string& caption, const std::string& command,
                       bool visible) = 0;
  virtual void ScreenShown() = 0;
};

// One contents tree.
class ITreeView {
 public:
  virtual ~ITreeView() = default;
  virtual void SetRequestedDocument(const std::string& document) = 0;
  virtual void Choose(bool chosen) = 0;  // "tree1"/"tree2"
  virtual void SetHiddenByOfftree(bool hidden) = 0;
  virtual bool IsVisible() const = 0;
  virtual void ScreenShown() = 0;
};

// The skinned dialog: messages and the find dialog.
class ICoolDialog {
 public:
  virtual ~ICoolDialog() = default;
  virtual void ShowDialog(int variant, const std::string& text) = 0;
};

class IModelPanel {
 public:
  virtual ~IModelPanel() = default;
  virtual void SetActive(bool active) = 0;
  virtual bool Active() const = 0;
};

// The clip player (clips and sounds beside pages).
class IClipPlayer {
 public:
  virtual ~IClipPlayer() = default;
  virtual void Play(const std::string& clip, const std::string& document, int kind) = 0;
  virtual void Stop() = 0;
  virtual void SuppressNextNotify() = 0;
  virtual void PauseOrResume() = 0;
  virtual void StepForward() = 0;
  virtual void StepBack() = 0;
  virtual void ScreenShown() = 0;
};

class IBackgroundMusic {
 public:
  virtual ~IBackgroundMusic() = default;
  virtual void Start() = 0;
  virtual void StopWithFade() = 0;  // stores song and position
  virtual void Toggle() = 0;        // the "bgsound" command
};

class IPictureAreas {
 public:
  virtual ~IPictureAreas() = default;
  virtual void NextPicture() = 0;
  virtual void PreviousPicture() = 0;
  virtual void ScreenShown() = 0;
};

class IFontInstaller {
 public:
  virtual ~IFontInstaller() = default;
  virtual void InstallFonts() = 0;
  virtual void NoteDocumentShown(const std::string& document) = 0;
};

class IArchiveBrowser {
 public:
  virtual ~IArchiveBrowser() = default;
  virtual void ExtractArchive(bool selected, bool all) = 0;
  virtual void ShowArchive(const std::string& archive, const std::string& document) = 0;
  // Decides the viewer's archive mode for the document now shown.
  virtual void NoteDocumentShown(const std::string& document) = 0;
};

// Windows of their own: about, settings, help, standard window, thesaurus.
class IWindows {
 public:
  virtual ~IWindows() = default;
  virtual void ShowAbout() = 0;
  virtual void ShowOptions() = 0;
  virtual void ShowHelp() = 0;
  virtual void EnterStandardWindow() = 0;
  virtual void LookUpThesaurus(const std::string& word) = 0;
};

// The other screen elements told of a screen switch.
class IScreenElement {
 public:
  virtual ~IScreenElement() = default;
  virtual void ScreenShown() = 0;
};

// The install-path box: the folder pages, files and archives are copied to.
class IPathInputBox : public IScreenElement {
 public:
  virtual std::string CurrentInstallPath() const = 0;
};

// The status line: a short message for the user.
class IStatusLine {
 public:
  virtual ~IStatusLine() = default;
  virtual void Show(const std::string& text) = 0;
};

// The text elements of the screens (number 1 shows the page title).
class ITextMessages {
 public:
  virtual ~ITextMessages() = default;
  virtual void SetText(int number, const std::string& text, bool show) = 0;
};

// What the book window offers the parts below it.
class IShell {
 public:
  virtual ~IShell() = default;
  virtual void RunCommand(const std::string& command, const std::string& sound, bool silent,
                          int kind, int index) = 0;
  virtual void SetBusy(bool on) = 0;
  virtual void ForwardMouseMove(int x, int y) = 0;
  // A left press with Shift at a window point: a switch there changes state and look without
  // running its command or sound.
  virtual void PressSilently(int x, int y) = 0;
  // The hint of button `index` of the current screen.
  virtual void SetButtonHint(std::size_t index, const std::string& hint) = 0;
  // The standard window's status bar, when the window has one.
  virtual bool HasStatusBar() const = 0;
  virtual void SetStatusBarText(const std::string& text) = 0;
  // The standard window's toolbar, history menus and caption.
  virtual void RefreshHistoryUi() = 0;
};

}  // namespace quire::core
