// THtmlFrame: the book's HTML areas. One frame viewer per screen that declares areas, placed
// on the area opened last; it opens pages, shows image hints, handles the book's links, keeps
// the link groups that tie pages to the skin's section switches, and knows the chapters.
#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/globals.h"
#include "engine/html/engine_html.h"
#include "html/chapters.h"

class QLabel;
class QWidget;

namespace quire::html {

using engine::html::TDocumentView;
using engine::html::TFrameViewer;

// The five font and colour settings every area viewer shares.
struct HtmlFonts {
  std::string FontName = "Arial";
  int FontColor = 0;         // TColor
  int FontSize = 8;          // points
  int HotSpotColor = 13158;  // TColor $003366
  int Background = 0xFFFFFF;
};

// Reads the settings from the book's key; a value missing or of another kind gives its default.
HtmlFonts ReadHtmlFonts(platform::RegistryDb* registry, const std::string& appTitle);
void WriteHtmlFonts(platform::RegistryDb* registry, const std::string& appTitle,
                    const HtmlFonts& fonts);

// One slot of a history popup.
struct HistoryItem {
  int Slot = 0;
  std::string Caption;
  std::string Command;
};
// The slots of the pages behind (type -1) or ahead (type -2) of history index `index`, given
// the titles of the history (index 0 the newest); slots not listed are hidden.
std::vector<HistoryItem> HistoryPopupItems(int type, const std::vector<std::string>& titles,
                                           int index);

class THtmlFrame : public QObject, public core::IHtmlAreas {
 public:
  // The print preview of a document: shown modally unless it reports it cannot be shown.
  using PreviewHook = std::function<void(TDocumentView& document, bool isPicture, QSize picture)>;
  // The font dialog: true with the new values when the user confirmed.
  using FontDialogHook = std::function<bool(HtmlFonts& fonts)>;
  // The save dialog of ".zip" links: the chosen virtual name, or empty when cancelled.
  using SaveDialogHook =
      std::function<std::string(const std::string& folder, const std::string& fileName)>;
  // Starts a program or opens a file or URL in the desktop's program (host names).
  using LaunchHook = std::function<void(const std::string& target, const std::string& parameters,
                                        const std::string& folder)>;

  // `mainWindow` parents the viewers; on the second screen they lie on `backgroundPanel`.
  THtmlFrame(core::Globals& g, QWidget* mainWindow, QWidget* backgroundPanel,
             const core::TDynamicHtmlArray& decls);
  ~THtmlFrame() override;  // writes the font settings of the current viewer

  // The areas' screen switch.
  void ShowScreen();
  void ScreenShown() override { ShowScreen(); }
  void OpenInArea(int number, const std::string& file) override;
  void OpenDocument(const std::string& file) override;
  // The viewer of the current screen, or null on a screen without areas.
  TFrameViewer* CurrentViewer() const;
  bool InArchiveMode() const override;
  void SetArchiveMode(bool on) override;
  void ScrollToTop() override;
  void SelectAll() override;
  void EditFonts() override;
  void Print(const std::string& file) override;
  void CopyPageToFolder() override;
  void FillWindow() override;
  void RestoreBounds() override;

  // History, link groups and chapters.
  void NoteRequest(const std::string& file) override;
  void GoBack() override { GoInHistory(true); }
  void GoForward() override { GoInHistory(false); }
  void GoToHistory(int index) override;
  int CurrentChapter() const;
  void NextChapter() override;
  void PrevChapter() override;

  // Link handling: what a click on a link does (true: the engine leaves it), and the status
  // text for a link under the pointer.
  bool LinkClicked(TFrameViewer& viewer, const std::string& target, const std::string& url);
  std::string LinkStatusText(const std::string& target, const std::string& url) const;

  // What tests and the other parts look at.
  std::vector<TFrameViewer*> Viewers() const;
  const std::vector<std::vector<std::string>>& LinkGroups() const { return linkGroups_; }
  int CurrentLinkGroup() const { return currentLinkGroup_; }
  int CurrentArea() const { return currentArea_; }
  const TListChapter& Chapters() const { return chapters_; }
  QLabel* HintWindow() const { return hintWindow_.get(); }
  bool PrintPicture() const { return printPicture_; }
  const std::string& ZipFolder() const { return zipFolder_; }

  PreviewHook Preview;
  FontDialogHook FontDialog;
  SaveDialogHook SaveDialog;
  LaunchHook Launch;

 private:
  int ViewerOfScreen(int screen) const;
  int AreaOfNumber(int number) const;
  TFrameViewer* Current() const;          // the viewer last shown, on any screen
  TDocumentView* ActiveDocument() const;  // its active document, or null
  void Place(TFrameViewer& viewer, const QRect& area) const;
  // Client alignment: the viewer keeps filling its parent.
  void SetFillsParent(TFrameViewer& viewer, bool fills);
  bool eventFilter(QObject* watched, QEvent* event) override;
  void SetUpViewer(TFrameViewer& viewer, int index);
  static bool InHistory(const TFrameViewer& viewer, const std::string& file);
  static void GoOrLoad(TFrameViewer& viewer, const std::string& file);

  // Viewer events.
  void HistoryChanged(TFrameViewer& viewer);
  void MouseMoved(int x, int y);
  void MouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
  void MouseUp();
  void KeyDown(int key, Qt::KeyboardModifiers shift);
  void LinkCovered(const std::string& target, const std::string& url);
  void PrintHeader(QPainter& canvas, int page, int width) const;

  // Image hints.
  engine::html::HtmlObject ObjectAt(QPoint viewPoint) const;
  void HintTick();
  void EndHint();

  // History, link groups and chapter hints.
  void GoInHistory(bool back);
  void ResyncSwitches();
  void RefillHistoryPopups();
  void UpdateChapterHints();

  // Link rules.
  void MarkVisited(TFrameViewer& viewer, const std::string& full);
  void StartOwnCopy(const std::string& full) const;
  void CopyToInstallFolder(const std::string& source) const;
  void CopyListChoice(const std::string& name);
  void OpenOtherFile(std::string full, const std::string& ext);
  std::string GameStatusText(std::string url, bool run) const;
  std::string AskZipName(const std::string& folder, const std::string& fileName) const;

  core::Globals& g_;
  QWidget* mainWindow_;
  QWidget* panel_;
  std::vector<QPointer<TFrameViewer>> viewers_;  // freed with this object
  std::vector<int> viewerScreens_;
  int currentViewer_ = 0;
  int currentArea_ = 0;
  std::vector<bool> archiveMode_;
  HtmlFonts fonts_;
  std::vector<QRect> areaRects_;
  std::vector<int> areaNumbers_;
  std::vector<int> areaScreens_;
  std::vector<std::string> startDocuments_;
  int previousScreen_ = -1;
  QTimer hintTimer_;
  const void* hintedImage_ = nullptr;
  bool hintShown_ = false;
  int hintTicks_ = 0;
  std::unique_ptr<QLabel> hintWindow_;
  TListChapter chapters_;
  std::vector<std::vector<std::string>> linkGroups_;
  int currentLinkGroup_ = 0;
  bool printPicture_ = false;
  std::string zipFolder_;
};

// Creates the areas from the `_html` declarations; null when there are none.
std::unique_ptr<THtmlFrame> CreateHtmlAreas(core::Globals& g, QWidget* mainWindow,
                                            QWidget* backgroundPanel,
                                            const core::TDynamicHtmlArray& decls);

}  // namespace quire::html
