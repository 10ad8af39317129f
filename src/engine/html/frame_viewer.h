// TFrameViewer: the control that shows a document which may be a frameset, keeps its history
// and visited list, follows links between frames and raises the program's events. The
// document under the user's attention is its active document view.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/globals.h"
#include "engine/html/names.h"
#include "engine/html/viewer_events.h"
#include "engine/html/viewer_settings.h"

class QPainter;

namespace quire::engine::html {

class TDocumentView;
class THtmlDocument;
class TPictureCache;

class TFrameViewer : public QWidget {
  Q_OBJECT
 public:
  explicit TFrameViewer(const core::Globals& g, QWidget* parent = nullptr);
  ~TFrameViewer() override;

  // Default fonts, colours and options; they apply to the next document loaded (Reload).
  const ViewerSettings& Settings() const { return settings_; }
  void SetSettings(const ViewerSettings& settings);
  std::string DefFontName() const { return settings_.FontName; }
  void SetDefFontName(const std::string& name) { settings_.FontName = name; }
  QColor DefFontColor() const { return settings_.FontColor; }
  void SetDefFontColor(QColor c) { settings_.FontColor = c; }
  int DefFontSize() const { return settings_.FontSize; }
  void SetDefFontSize(int points) { settings_.FontSize = points; }
  QColor DefHotSpotColor() const { return settings_.HotSpotColor; }
  void SetDefHotSpotColor(QColor c) { settings_.HotSpotColor = c; }
  QColor DefBackground() const { return settings_.Background; }
  void SetDefBackground(QColor c) { settings_.Background = c; }
  void SetOverLinkColor(QColor c) { settings_.OverColor = c; }
  void SetLinksChangeColor(bool on) { settings_.LinksChangeColor = on; }
  void SetNoLinkUnderline(bool on) { settings_.NoLinkUnderline = on; }
  void SetNoBorder(bool on) { settings_.NoBorder = on; }
  void SetViewImages(bool on) { settings_.ShowImages = on; }
  bool PrintTableBackground() const { return settings_.PrintTableBackground; }
  void SetPrintTableBackground(bool on) { settings_.PrintTableBackground = on; }
  int HistoryMaxCount() const { return historyMax_; }
  void SetHistoryMaxCount(int count);
  int VisitedMaxCount() const { return visitedMax_; }
  void SetVisitedMaxCount(int count);
  // How many pages shown before keep their pictures decoded, besides those on screen; the
  // others decode them again when shown again.
  int ImageCacheCount() const { return imageCache_; }
  void SetImageCacheCount(int count);

  // Loads a document (a page, a frameset or a picture), "#anchor" allowed. Throws HtmlError
  // "Can't locate file: NAME" when the name does not exist.
  void LoadFromFile(const std::string& name);
  // Loads the current document again with the current settings, keeping positions.
  void Reload();
  // The top document's full name.
  const std::string& CurrentFile() const { return currentFile_; }

  // History: index 0 the newest.
  std::vector<std::string> History() const;
  std::vector<std::string> TitleHistory() const;
  int HistoryIndex() const { return historyIndex_; }
  // Shows entry `index` as it was left; ignored for the current index or one out of range.
  void SetHistoryIndex(int index);
  void GoBack() { SetHistoryIndex(historyIndex_ + 1); }
  void GoFwd() { SetHistoryIndex(historyIndex_ - 1); }
  bool BackButtonEnabled() const;
  bool FwdButtonEnabled() const { return historyIndex_ > 0; }

  // Visited list: newest first.
  void AddVisited(const std::string& name);
  const std::vector<std::string>& Visited() const { return visited_; }
  bool IsVisited(const std::string& name) const;
  // Shows the current visited state of the links on screen.
  void CheckVisitedLinks();

  // A link's URL as a full file name relative to the active document.
  std::string HtmlExpandFilename(const std::string& url) const;
  static UrlParts ParseUrl(const std::string& url) { return SplitUrl(url); }

  // The document view the user attended to last (or the main frame), or null.
  TDocumentView* ActiveView() const;
  // The document view of a named frame, or null.
  TDocumentView* ViewOfFrame(const std::string& name) const;
  std::vector<TDocumentView*> Views() const;
  // Pixel size of the picture decoded last for the active document.
  QSize LastPictureSize() const;

  HotSpotCoveredEvent OnHotSpotCovered;
  HotSpotClickEvent OnHotSpotClick;
  std::function<void(TFrameViewer*)> OnHistoryChange;
  KeyDownEvent OnKeyDown;
  MouseEvent OnMouseMove, OnMouseDown, OnMouseUp;
  // Called for every printed page: the painter, page number (1-based), page width, height.
  std::function<void(QPainter&, int page, int width, int height)> OnPrintHeader;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Node;
  struct FrameState {
    std::string File;
    int Position = 0;
    std::shared_ptr<THtmlDocument> Doc;
    std::vector<FormControl> Form;  // the values the user gave the page's controls
  };
  struct Entry {
    std::string File;
    std::string Title;
    std::vector<FrameState> Leaves;
  };

  std::unique_ptr<Node> Build(const std::string& file, const std::string& name, Node* parent,
                              int depth, bool noScroll);
  TDocumentView* NewView(bool noScroll);
  void ShowRoot(std::unique_ptr<Node> root);
  // Shows `file` in place of `node`, which is freed; the node now in its place.
  Node* Replace(Node* node, const std::string& file);
  void CollectLeaves(Node* node, std::vector<Node*>& out) const;
  Node* FindNode(Node* node, const std::string& name) const;
  Node* NodeOfView(Node* node, const TDocumentView* view) const;
  void LinkClicked(TDocumentView* view, const std::string& target, const std::string& url);
  void SaveState();
  void PushEntry();
  void Restore(const Entry& entry);
  std::string RootTitle() const;
  void HistoryChanged();
  void DropFarDocuments();
  void TrimPictures();

  const core::Globals& g_;
  ViewerSettings settings_;
  std::unique_ptr<Node> root_;
  TDocumentView* active_ = nullptr;
  std::string currentFile_;
  std::string rootTitle_;
  std::vector<Entry> history_;
  int historyIndex_ = 0;
  int historyMax_ = 10;
  std::vector<std::string> visited_;
  int visitedMax_ = 20;
  int imageCache_ = 0;
  std::shared_ptr<TPictureCache> pictureCache_;
  int viewsBuilt_ = 0;  // frames made for the document being built
};

}  // namespace quire::engine::html
