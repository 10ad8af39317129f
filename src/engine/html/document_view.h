// TDocumentView: one document on screen (a page, a frame of a frameset, or a hidden view used
// by the searches): scrolling, pictures, links, find, caret and selection, copy, drop-down
// lists and the object under the pointer.
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "core/globals.h"
#include "engine/html/viewer_events.h"
#include "engine/html/viewer_settings.h"

class QComboBox;

namespace quire::engine::html {

class THtmlDocument;
class TPictureCache;
class TPictureStore;
class TPageResources;

class TDocumentView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  // The longest selection that can be copied.
  static constexpr int kMaxCopyLength = 31999;

  TDocumentView(const core::Globals& g, QWidget* parent = nullptr);
  ~TDocumentView() override;

  // A hidden view for searching pages: no history, no pictures, no link underline.
  static std::unique_ptr<TDocumentView> CreateHidden(const core::Globals& g,
                                                     QWidget* parent = nullptr);

  const ViewerSettings& Settings() const { return settings_; }
  void SetSettings(const ViewerSettings& settings);
  void SetVisitedTest(std::function<bool(const std::string&)> test) { visited_ = std::move(test); }
  void SetScrolling(bool scrolling);
  // Pages loaded from now on take their pictures from `cache`, to share them with the pages
  // shown before.
  void SetPictureCache(std::shared_ptr<TPictureCache> cache) { pictureCache_ = std::move(cache); }

  // Loads a page or a picture by full virtual name; "#anchor" after the name scrolls to it.
  // Throws HtmlError "Can't locate file: NAME" when the name does not exist.
  void LoadFromFile(const std::string& name);
  // Shows a page from bytes already read.
  void LoadFromBytes(std::string_view bytes, const std::string& name);
  // Parses the document again (new default fonts take effect), keeping the position.
  void Reload();
  // Shows a document kept elsewhere (history).
  void SetDocument(std::shared_ptr<THtmlDocument> doc);
  std::shared_ptr<THtmlDocument> Document() const { return doc_; }
  bool HasDocument() const { return doc_ != nullptr; }
  void Clear();

  const std::string& FileName() const { return fileName_; }  // Windows-1251
  std::string Title() const;
  // Titles of the documents this view showed, index 0 the newest (at most 10).
  const std::vector<std::string>& TitleHistory() const { return titles_; }

  // Vertical position in pixels; writing clamps to 0 .. document height - view height.
  int Position() const;
  void SetPosition(int y);
  int DocumentHeight() const;
  bool ScrollToAnchor(const std::string& anchor);

  // Find from the caret on; selects and shows the match.
  bool Find(const std::string& text, bool matchCase);
  int SelStart() const { return selStart_; }
  // Puts the caret there and clears the selection.
  void SetSelStart(int position);
  int SelLength() const { return selLength_; }
  void SetSelLength(int length);
  std::string SelText() const;  // Windows-1251
  void SelectAll();
  // Throws HtmlError "Selected text exceeds buffer size" past kMaxCopyLength characters.
  void CopyToClipboard() const;
  // All text in reading order, one block per line (Windows-1251).
  std::string DocumentText() const;

  // The object under a point of the view.
  HtmlObject ObjectAt(QPoint viewPoint) const;
  // Pixel size of the picture decoded last.
  QSize LastPictureSize() const;
  std::vector<FormControl> FormControls() const;
  // Gives the controls the values read from them earlier by FormControls() on the same page.
  void SetFormValues(const std::vector<FormControl>& values);

  // Events for the frame viewer or the program.
  HotSpotCoveredEvent OnHotSpotCovered;
  // A click on a link; the owner decides what to do. Without an owner the view follows it.
  std::function<void(TDocumentView* view, const std::string& target, const std::string& url)>
      OnLinkClick;
  KeyDownEvent OnKeyDown;
  MouseEvent OnMouseMove, OnMouseDown, OnMouseUp;
  std::function<void(TDocumentView*)> OnActivated;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void Relayout();
  void UpdateScrollBars();
  QSize ViewSize() const;
  void PlaceControls();
  void RebuildControls();
  // The controls as the page fills them, before the user changes anything.
  std::vector<FormControl> PageForm() const;
  QPoint ToDoc(QPoint viewPoint) const;
  void FollowLink(const std::string& target, const std::string& url);

  const core::Globals& g_;
  ViewerSettings settings_;
  QMetaObject::Connection animation_;
  std::shared_ptr<TPageResources> resources_;
  std::shared_ptr<TPictureCache> pictureCache_;
  std::function<bool(const std::string&)> visited_;
  std::shared_ptr<THtmlDocument> doc_;
  std::string fileName_;
  std::vector<std::string> titles_;
  std::vector<QPointer<QWidget>> controls_;  // one widget per form control of the page
  int selStart_ = 0, selLength_ = 0;
  int selAnchor_ = -1;  // where a mouse selection began
  QPoint pressPoint_;
  bool dragging_ = false;
  std::string hoverUrl_;
  bool inLayout_ = false;
};

}  // namespace quire::engine::html
