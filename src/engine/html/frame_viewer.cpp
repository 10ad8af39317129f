#include "engine/html/frame_viewer.h"

#include <QResizeEvent>
#include <algorithm>

#include "engine/html/document_view.h"
#include "engine/html/frame_set_widget.h"
#include "engine/html/frameset_parser.h"
#include "engine/html/html_document.h"
#include "engine/html/html_error.h"
#include "engine/html/html_prepass.h"
#include "engine/html/picture_store.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "storage/compr_stream.h"

namespace quire::engine::html {
namespace {

// Framesets that include framesets stop here, and so does a frameset that includes itself:
// at most this deep, and at most this many frames and framesets for one document.
constexpr int kMaxFrameDepth = 6;
constexpr int kMaxFrames = 48;

std::string ToCp1251(const std::string& utf8) {
  return platform::FromQString(QString::fromUtf8(utf8));
}

// The frameset a file holds, if it is one.
std::optional<FrameSetDef> FramesetOf(const core::Globals& g, const std::string& file,
                                      std::string* title) {
  const std::string ext = platform::AsciiLower(platform::ExtractFileExt(file));
  if (ext == ".bmp" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".png") {
    return std::nullopt;
  }
  try {
    if (!storage::ContentFileExists(g, file)) return std::nullopt;
    const std::string bytes = storage::TComprStream(g, file).TakeBytes();
    if (platform::AsciiLower(bytes).find("<frameset") == std::string::npos) return std::nullopt;
    const std::string text = DecodePage(bytes);
    auto set = ParseFrameset(text);
    if (set && title) *title = ToCp1251(PageTitle(text));
    return set;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

struct TFrameViewer::Node {
  std::string Name;  // frame name, Windows-1251
  std::string File;  // the document shown; a frameset's own file for frameset nodes
  Node* Parent = nullptr;
  QWidget* Widget = nullptr;
  TDocumentView* View = nullptr;  // set for frames showing a page
  bool NoScroll = false;
  std::vector<std::unique_ptr<Node>> Children;
};

TFrameViewer::TFrameViewer(const core::Globals& g, QWidget* parent)
    : QWidget(parent), g_(g), pictureCache_(std::make_shared<TPictureCache>(g)) {}

TFrameViewer::~TFrameViewer() = default;

void TFrameViewer::SetSettings(const ViewerSettings& settings) {
  settings_ = settings;
}

void TFrameViewer::SetHistoryMaxCount(int count) {
  historyMax_ = std::max(0, count);
  if (static_cast<int>(history_.size()) > historyMax_) history_.resize(historyMax_);
  historyIndex_ = std::min(historyIndex_, std::max(0, static_cast<int>(history_.size()) - 1));
}

void TFrameViewer::SetImageCacheCount(int count) {
  imageCache_ = std::max(0, count);
  TrimPictures();
}

void TFrameViewer::SetVisitedMaxCount(int count) {
  visitedMax_ = std::max(0, count);
  if (static_cast<int>(visited_.size()) > visitedMax_) visited_.resize(visitedMax_);
}

TDocumentView* TFrameViewer::NewView(bool noScroll) {
  auto* view = new TDocumentView(g_);
  view->SetSettings(settings_);
  view->SetScrolling(!noScroll);
  view->SetPictureCache(pictureCache_);
  view->SetVisitedTest([this](const std::string& name) { return IsVisited(name); });
  view->OnLinkClick = [this](TDocumentView* v, const std::string& target, const std::string& url) {
    LinkClicked(v, target, url);
  };
  view->OnHotSpotCovered = [this](const std::string& target, const std::string& url) {
    if (OnHotSpotCovered) OnHotSpotCovered(target, url);
  };
  view->OnKeyDown = [this](int key, Qt::KeyboardModifiers shift) {
    if (OnKeyDown) OnKeyDown(key, shift);
  };
  view->OnMouseMove = [this](auto b, auto bs, auto s, int x, int y) {
    if (OnMouseMove) OnMouseMove(b, bs, s, x, y);
  };
  view->OnMouseDown = [this](auto b, auto bs, auto s, int x, int y) {
    if (OnMouseDown) OnMouseDown(b, bs, s, x, y);
  };
  view->OnMouseUp = [this](auto b, auto bs, auto s, int x, int y) {
    if (OnMouseUp) OnMouseUp(b, bs, s, x, y);
  };
  view->OnActivated = [this](TDocumentView* v) { active_ = v; };
  return view;
}

std::unique_ptr<TFrameViewer::Node> TFrameViewer::Build(const std::string& file,
                                                        const std::string& name, Node* parent,
                                                        int depth, bool noScroll) {
  ++viewsBuilt_;
  auto node = std::make_unique<Node>();
  node->Name = name;
  node->File = file;
  node->Parent = parent;
  node->NoScroll = noScroll;
  std::string title;
  std::optional<FrameSetDef> set;
  if (!file.empty()) set = FramesetOf(g_, file, &title);
  if (!parent) rootTitle_ = title;
  if (!set || depth >= kMaxFrameDepth || viewsBuilt_ >= kMaxFrames) {
    node->View = NewView(noScroll);
    node->Widget = node->View;
    try {
      // A frameset too deep to open stays an empty frame.
      if (!file.empty() && !set) node->View->LoadFromFile(file);
    } catch (const std::exception&) {
      // A frame whose page is missing stays empty, as in browsers; the page itself must load.
      if (!parent) {
        delete node->View;
        throw;
      }
    }
    if (!parent) rootTitle_ = node->View->Title();
    return node;
  }
  // Cells of a frameset, frames or framesets written inside it.
  std::function<QWidget*(Node*, const FrameSetDef&, int)> buildSet =
      [&](Node* owner, const FrameSetDef& layout, int level) -> QWidget* {
    auto* widget =
        new TFrameSetWidget(layout.Rows, layout.Cols, settings_.NoBorder ? 0 : layout.Border);
    for (const FrameDef& frame : layout.Frames) {
      // Frames past the budget are left out: a frameset that includes itself ends here.
      if (viewsBuilt_ >= kMaxFrames) break;
      std::unique_ptr<Node> child;
      if (frame.Nested) {
        ++viewsBuilt_;
        child = std::make_unique<Node>();
        child->File = owner->File;
        child->Parent = owner;
        child->Widget = buildSet(child.get(), *frame.Nested, level + 1);
      } else {
        const std::string src = ToCp1251(frame.Src);
        const std::string full = src.empty() ? std::string() : ExpandName(src, file);
        child = Build(full, ToCp1251(frame.Name), owner, level + 1, frame.NoScroll);
        child->Name = ToCp1251(frame.Name);
      }
      widget->AddCell(child->Widget);
      owner->Children.push_back(std::move(child));
    }
    return widget;
  };
  node->Widget = buildSet(node.get(), *set, depth);
  return node;
}

void TFrameViewer::ShowRoot(std::unique_ptr<Node> root) {
  active_ = nullptr;
  if (root_ && root_->Widget) {
    root_->Widget->hide();
    root_->Widget->deleteLater();
  }
  root_ = std::move(root);
  root_->Widget->setParent(this);
  root_->Widget->setGeometry(rect());
  root_->Widget->show();
  setFocusProxy(ActiveView());
}

void TFrameViewer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (root_ && root_->Widget) root_->Widget->setGeometry(rect());
}

void TFrameViewer::LoadFromFile(const std::string& name) {
  const std::string file = WithoutAnchor(name);
  if (file.empty() || !storage::ContentFileExists(g_, file)) {
    throw HtmlError("Can't locate file: " + name);
  }
  SaveState();
  viewsBuilt_ = 0;
  ShowRoot(Build(file, "", nullptr, 0, false));
  currentFile_ = file;
  if (const std::string anchor = AnchorOf(name); !anchor.empty()) {
    if (TDocumentView* view = ActiveView()) view->ScrollToAnchor(anchor);
  }
  PushEntry();
  HistoryChanged();
}

void TFrameViewer::Reload() {
  if (!root_ || history_.empty()) {
    if (!currentFile_.empty()) LoadFromFile(currentFile_);
    return;
  }
  SaveState();
  Entry entry = history_[static_cast<size_t>(historyIndex_)];
  for (FrameState& leaf : entry.Leaves) leaf.Doc.reset();
  Restore(entry);
  HistoryChanged();
}

void TFrameViewer::CollectLeaves(Node* node, std::vector<Node*>& out) const {
  if (!node) return;
  if (node->View) out.push_back(node);
  for (auto& child : node->Children) CollectLeaves(child.get(), out);
}

std::vector<TDocumentView*> TFrameViewer::Views() const {
  std::vector<Node*> leaves;
  CollectLeaves(root_.get(), leaves);
  std::vector<TDocumentView*> views;
  for (Node* leaf : leaves) views.push_back(leaf->View);
  return views;
}

TDocumentView* TFrameViewer::ActiveView() const {
  const std::vector<TDocumentView*> views = Views();
  if (views.empty()) return nullptr;
  if (std::find(views.begin(), views.end(), active_) != views.end()) return active_;
  // No frame attended to yet: the largest one is the main frame.
  return *std::max_element(views.begin(), views.end(), [](TDocumentView* a, TDocumentView* b) {
    return a->width() * a->height() < b->width() * b->height();
  });
}

TFrameViewer::Node* TFrameViewer::FindNode(Node* node, const std::string& name) const {
  if (!node || name.empty()) return nullptr;
  if (platform::SameText(node->Name, name)) return node;
  for (auto& child : node->Children) {
    if (Node* found = FindNode(child.get(), name)) return found;
  }
  return nullptr;
}

TFrameViewer::Node* TFrameViewer::NodeOfView(Node* node, const TDocumentView* view) const {
  if (!node) return nullptr;
  if (node->View == view) return node;
  for (auto& child : node->Children) {
    if (Node* found = NodeOfView(child.get(), view)) return found;
  }
  return nullptr;
}

TDocumentView* TFrameViewer::ViewOfFrame(const std::string& name) const {
  Node* node = FindNode(root_.get(), name);
  return node ? node->View : nullptr;
}

QSize TFrameViewer::LastPictureSize() const {
  TDocumentView* view = ActiveView();
  return view ? view->LastPictureSize() : QSize();
}

std::string TFrameViewer::HtmlExpandFilename(const std::string& url) const {
  TDocumentView* view = ActiveView();
  const std::string base = view && !view->FileName().empty() ? view->FileName() : currentFile_;
  return ExpandName(url, base);
}

// Visited list.

void TFrameViewer::AddVisited(const std::string& name) {
  const std::string file = WithoutAnchor(name);
  std::erase_if(visited_, [&](const std::string& v) { return platform::SameText(v, file); });
  visited_.insert(visited_.begin(), file);
  if (static_cast<int>(visited_.size()) > visitedMax_) visited_.resize(visitedMax_);
}

bool TFrameViewer::IsVisited(const std::string& name) const {
  const std::string file = WithoutAnchor(name);
  return std::any_of(visited_.begin(), visited_.end(),
                     [&](const std::string& v) { return platform::SameText(v, file); });
}

void TFrameViewer::CheckVisitedLinks() {
  for (TDocumentView* view : Views()) {
    try {
      view->Reload();
    } catch (const std::exception&) {
    }
  }
}

// Links.

TFrameViewer::Node* TFrameViewer::Replace(Node* node, const std::string& file) {
  if (!node->Parent) {
    viewsBuilt_ = 0;
    ShowRoot(Build(file, "", nullptr, 0, false));
    currentFile_ = file;
    return root_.get();
  }
  std::vector<Node*> leaves;
  CollectLeaves(root_.get(), leaves);
  viewsBuilt_ = static_cast<int>(leaves.size());
  int depth = 0;
  for (Node* p = node->Parent; p; p = p->Parent) ++depth;
  Node* parent = node->Parent;
  auto fresh = Build(file, node->Name, parent, depth, node->NoScroll);
  for (auto& child : parent->Children) {
    if (child.get() != node) continue;
    if (auto* set = qobject_cast<TFrameSetWidget*>(parent->Widget)) {
      set->ReplaceCell(child->Widget, fresh->Widget);
    }
    if (active_ && NodeOfView(child.get(), active_)) active_ = nullptr;
    child->Widget->hide();
    child->Widget->deleteLater();
    child = std::move(fresh);  // the old node is gone from here on
    if (child->View) active_ = child->View;
    return child.get();
  }
  return nullptr;
}

void TFrameViewer::LinkClicked(TDocumentView* view, const std::string& target,
                               const std::string& url) {
  bool handled = false;
  if (OnHotSpotClick) OnHotSpotClick(target, url, handled);
  if (handled) return;
  const std::string full = ExpandName(url, view->FileName());
  const std::string file = WithoutAnchor(full);
  const std::string lowerTarget = platform::AsciiLower(target);
  Node* here = NodeOfView(root_.get(), view);
  Node* into = here;
  if (lowerTarget == "_top" || lowerTarget == "_blank") {
    into = root_.get();
  } else if (lowerTarget == "_parent") {
    // The frame that holds the frameset this frame belongs to.
    Node* set = here ? here->Parent : nullptr;
    while (set && set->Parent && set->Parent->File == set->File) set = set->Parent;
    into = set ? set : root_.get();
  } else if (!lowerTarget.empty() && lowerTarget != "_self") {
    into = FindNode(root_.get(), target);
    if (!into) into = root_.get();
  }
  if (!into) return;
  if (into->View && (url.starts_with("#") || platform::SameText(file, into->File))) {
    into->View->ScrollToAnchor(AnchorOf(full));
    return;
  }
  if (!storage::ContentFileExists(g_, file)) throw HtmlError("Can't locate file: " + full);
  SaveState();
  // `into` is replaced, and freed: only the node that takes its place is used below.
  Node* fresh = Replace(into, file);
  if (!AnchorOf(full).empty()) {
    TDocumentView* v = fresh && fresh != root_.get() && fresh->View ? fresh->View : ActiveView();
    if (v) v->ScrollToAnchor(AnchorOf(full));
  }
  PushEntry();
  HistoryChanged();
}

// History.

std::string TFrameViewer::RootTitle() const {
  return rootTitle_;
}

void TFrameViewer::SaveState() {
  if (!root_ || history_.empty()) return;
  Entry& entry = history_[static_cast<size_t>(historyIndex_)];
  entry.Leaves.clear();
  std::vector<Node*> leaves;
  CollectLeaves(root_.get(), leaves);
  for (Node* leaf : leaves) {
    TDocumentView* view = leaf->View;
    entry.Leaves.push_back(
        {view->FileName(), view->Position(), view->Document(), view->FormControls()});
  }
}

void TFrameViewer::PushEntry() {
  if (historyMax_ <= 0) return;
  history_.erase(history_.begin(),
                 history_.begin() + std::min<size_t>(historyIndex_, history_.size()));
  history_.insert(history_.begin(), Entry{currentFile_, RootTitle(), {}});
  historyIndex_ = 0;
  SaveState();
  if (static_cast<int>(history_.size()) > historyMax_) history_.resize(historyMax_);
}

void TFrameViewer::DropFarDocuments() {
  // Laid-out pages are large: only the entries next to the current one keep theirs; the
  // others read their files again when shown.
  for (size_t i = 0; i < history_.size(); ++i) {
    if (std::abs(static_cast<int>(i) - historyIndex_) <= 1) continue;
    for (FrameState& leaf : history_[i].Leaves) leaf.Doc.reset();
  }
}

void TFrameViewer::Restore(const Entry& entry) {
  viewsBuilt_ = 0;
  ShowRoot(Build(entry.File, "", nullptr, 0, false));
  currentFile_ = entry.File;
  std::vector<Node*> leaves;
  CollectLeaves(root_.get(), leaves);
  if (leaves.size() != entry.Leaves.size()) return;
  for (size_t i = 0; i < leaves.size(); ++i) {
    const FrameState& state = entry.Leaves[i];
    TDocumentView* view = leaves[i]->View;
    if (state.Doc && state.Doc->LayoutWidth() > 0) {
      view->SetDocument(state.Doc);
    } else if (!platform::SameText(state.File, view->FileName()) && !state.File.empty()) {
      try {
        view->LoadFromFile(state.File);
      } catch (const std::exception&) {
      }
    }
    leaves[i]->File = view->FileName();
    view->SetFormValues(state.Form);
    view->SetPosition(state.Position);
  }
}

void TFrameViewer::SetHistoryIndex(int index) {
  if (index == historyIndex_ || index < 0 || index >= static_cast<int>(history_.size())) return;
  SaveState();
  historyIndex_ = index;
  Restore(history_[static_cast<size_t>(index)]);
  HistoryChanged();
}

bool TFrameViewer::BackButtonEnabled() const {
  return historyIndex_ + 1 < static_cast<int>(history_.size());
}

std::vector<std::string> TFrameViewer::History() const {
  std::vector<std::string> names;
  for (const Entry& e : history_) names.push_back(e.File);
  return names;
}

std::vector<std::string> TFrameViewer::TitleHistory() const {
  std::vector<std::string> titles;
  for (const Entry& e : history_) titles.push_back(e.Title);
  return titles;
}

void TFrameViewer::TrimPictures() {
  std::vector<TPictureCache::Page> onScreen;
  for (TDocumentView* view : Views()) {
    if (view->Document()) {
      onScreen.emplace_back(view->FileName(), view->Document()->SharedPictures());
    }
  }
  pictureCache_->Trim(onScreen, imageCache_);
}

void TFrameViewer::HistoryChanged() {
  DropFarDocuments();
  TrimPictures();
  if (OnHistoryChange) OnHistoryChange(this);
}

}  // namespace quire::engine::html
