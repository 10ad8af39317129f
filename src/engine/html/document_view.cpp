#include "engine/html/document_view.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <map>

#include "core/guard.h"
#include "engine/html/html_document.h"
#include "engine/html/html_error.h"
#include "engine/html/names.h"
#include "engine/html/picture_store.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "storage/compr_stream.h"

namespace quire::engine::html {
namespace {

constexpr int kTitleHistory = 10;

bool IsPictureName(const std::string& name) {
  const std::string ext = platform::AsciiLower(platform::ExtractFileExt(name));
  return ext == ".bmp" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".png";
}

// A picture shown as a page of its own.
std::string PicturePage(const std::string& name) {
  std::string file = platform::Cp1251ToUtf8(platform::ExtractFileName(name));
  std::string quoted;
  for (char c : file) {
    if (c == '"') {
      quoted += "&quot;";
    } else if (c == '&') {
      quoted += "&amp;";
    } else {
      quoted += c;
    }
  }
  return "<html><head><meta charset=\"utf-8\"></head><body><img src=\"" + quoted +
         "\"></body></html>";
}

QWidget* NewControl(const THtmlDocument::ControlBox& box, QWidget* parent) {
  const QString text = platform::ToQString(box.Text);
  switch (box.Kind) {
    case FormControlKind::DropDown: {
      auto* combo = new QComboBox(parent);
      for (const std::string& item : box.Items) combo->addItem(platform::ToQString(item));
      combo->setCurrentIndex(box.Selected);
      return combo;
    }
    case FormControlKind::Text:
    case FormControlKind::Password: {
      auto* edit = new QLineEdit(text, parent);
      if (box.Kind == FormControlKind::Password) edit->setEchoMode(QLineEdit::Password);
      return edit;
    }
    case FormControlKind::TextArea:
      return new QPlainTextEdit(text, parent);
    case FormControlKind::CheckBox:
    case FormControlKind::Radio: {
      QAbstractButton* button = box.Kind == FormControlKind::Radio
                                    ? static_cast<QAbstractButton*>(new QRadioButton(parent))
                                    : new QCheckBox(parent);
      button->setAutoExclusive(false);  // radio buttons go by name, in groups of their own
      button->setChecked(box.Checked);
      return button;
    }
    default:
      return new QPushButton(text, parent);
  }
}

// What the user put in a control, into `control`.
void ReadControl(QWidget* widget, FormControl& control) {
  control.Widget = widget;
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    control.Control = combo;
    control.ItemIndex = combo->currentIndex();
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    control.Text = platform::FromQString(edit->text());
  } else if (auto* area = qobject_cast<QPlainTextEdit*>(widget)) {
    control.Text = platform::FromQString(area->toPlainText());
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
             button && button->isCheckable()) {
    control.Checked = button->isChecked();
  }
}

void WriteControl(QWidget* widget, const FormControl& control) {
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (control.ItemIndex < combo->count()) combo->setCurrentIndex(control.ItemIndex);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(platform::ToQString(control.Text));
  } else if (auto* area = qobject_cast<QPlainTextEdit*>(widget)) {
    area->setPlainText(platform::ToQString(control.Text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
             button && button->isCheckable()) {
    // The checked button of an exclusive group refuses to be unchecked on its own.
    QButtonGroup* group = button->group();
    if (group) group->setExclusive(false);
    button->setChecked(control.Checked);
    if (group) group->setExclusive(true);
  }
}

}  // namespace

TDocumentView::TDocumentView(const core::Globals& g, QWidget* parent)
    : QAbstractScrollArea(parent), g_(g) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  verticalScrollBar()->setSingleStep(20);
  horizontalScrollBar()->setSingleStep(20);
}

TDocumentView::~TDocumentView() = default;

std::unique_ptr<TDocumentView> TDocumentView::CreateHidden(const core::Globals& g,
                                                           QWidget* parent) {
  auto view = std::make_unique<TDocumentView>(g, parent);
  ViewerSettings settings;
  settings.ShowImages = false;
  settings.NoLinkUnderline = true;
  view->SetSettings(settings);
  view->setGeometry(0, 0, 800, 600);
  view->hide();
  return view;
}

void TDocumentView::SetSettings(const ViewerSettings& settings) {
  settings_ = settings;
}

void TDocumentView::SetScrolling(bool scrolling) {
  const auto policy = scrolling ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  setVerticalScrollBarPolicy(policy);
  setHorizontalScrollBarPolicy(policy);
}

void TDocumentView::LoadFromFile(const std::string& name) {
  const std::string file = WithoutAnchor(name);
  const std::string anchor = AnchorOf(name);
  if (file.empty() || !storage::ContentFileExists(g_, file)) {
    throw HtmlError("Can't locate file: " + name);
  }
  std::string bytes;
  if (IsPictureName(file)) {
    bytes = PicturePage(file);
  } else {
    try {
      bytes = storage::TComprStream(g_, file).TakeBytes();
    } catch (const std::exception& e) {
      throw HtmlError(e.what());
    }
  }
  LoadFromBytes(bytes, file);
  if (!anchor.empty()) ScrollToAnchor(anchor);
}

void TDocumentView::LoadFromBytes(std::string_view bytes, const std::string& name) {
  // The page shown so far goes first (unless the history keeps it): two large pages at once
  // would double what memory the view needs.
  doc_.reset();
  std::shared_ptr<TPictureStore> pictures;
  if (settings_.ShowImages) {
    pictures = pictureCache_ ? pictureCache_->StoreFor(name) : std::make_shared<TPictureStore>(g_);
  }
  if (!resources_) resources_ = std::make_shared<TPageResources>();
  auto doc = std::make_shared<THtmlDocument>(g_, settings_, pictures, visited_, false, resources_);
  doc->Load(bytes, name, ViewSize());
  SetDocument(doc);
  titles_.insert(titles_.begin(), doc->Title());
  if (titles_.size() > kTitleHistory) titles_.resize(kTitleHistory);
}

void TDocumentView::SetDocument(std::shared_ptr<THtmlDocument> doc) {
  doc_ = std::move(doc);
  disconnect(animation_);
  if (doc_ && doc_->Pictures()) {
    animation_ = connect(doc_->Pictures(), &TPictureStore::Changed, viewport(),
                         qOverload<>(&QWidget::update));
  }
  fileName_ = doc_ ? doc_->FileName() : std::string();
  selStart_ = selLength_ = 0;
  selAnchor_ = -1;
  hoverUrl_.clear();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  Relayout();
  RebuildControls();
  viewport()->update();
}

void TDocumentView::Reload() {
  if (fileName_.empty()) return;
  const int position = Position();
  const std::string name = fileName_;
  const std::vector<std::string> titles = titles_;
  const std::vector<FormControl> form = FormControls();
  LoadFromFile(name);
  titles_ = titles;
  SetFormValues(form);
  SetPosition(position);
}

void TDocumentView::Clear() {
  doc_.reset();
  fileName_.clear();
  RebuildControls();
  viewport()->update();
}

std::string TDocumentView::Title() const {
  return doc_ ? doc_->Title() : std::string();
}

void TDocumentView::Relayout() {
  if (!doc_ || inLayout_) return;
  inLayout_ = true;
  if (doc_->LayoutWidth() != ViewSize().width())
    doc_->Layout(ViewSize().width(), ViewSize().height());
  UpdateScrollBars();
  // A scroll bar that came or went changes the width once more.
  if (doc_->LayoutWidth() != ViewSize().width()) {
    doc_->Layout(ViewSize().width(), ViewSize().height());
    UpdateScrollBars();
  }
  inLayout_ = false;
  PlaceControls();
}

QSize TDocumentView::ViewSize() const {
  // A view not shown yet has not placed its viewport: its size is worked out from the view's,
  // less the scroll bars it shows, so that showing it needs no second layout.
  if (testAttribute(Qt::WA_PendingResizeEvent) ||
      viewport()->testAttribute(Qt::WA_PendingResizeEvent)) {
    QSize size = maximumViewportSize();
    if (verticalScrollBar()->isVisibleTo(this)) {
      size.rwidth() -= verticalScrollBar()->sizeHint().width();
    }
    if (horizontalScrollBar()->isVisibleTo(this)) {
      size.rheight() -= horizontalScrollBar()->sizeHint().height();
    }
    return size;
  }
  return viewport()->size();
}

void TDocumentView::UpdateScrollBars() {
  const int height = doc_ ? doc_->Height() : 0;
  const int width = doc_ ? doc_->Width() : 0;
  const QSize view = ViewSize();
  verticalScrollBar()->setRange(0, std::max(0, height - view.height()));
  verticalScrollBar()->setPageStep(view.height());
  horizontalScrollBar()->setRange(0, std::max(0, width - view.width()));
  horizontalScrollBar()->setPageStep(view.width());
}

int TDocumentView::Position() const {
  return verticalScrollBar()->value();
}

void TDocumentView::SetPosition(int y) {
  verticalScrollBar()->setValue(std::clamp(y, 0, verticalScrollBar()->maximum()));
}

int TDocumentView::DocumentHeight() const {
  return doc_ ? doc_->Height() : 0;
}

bool TDocumentView::ScrollToAnchor(const std::string& anchor) {
  if (!doc_) return false;
  const auto top = doc_->AnchorTop(anchor);
  if (top) SetPosition(*top);
  return top.has_value();
}

QPoint TDocumentView::ToDoc(QPoint viewPoint) const {
  return viewPoint + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TDocumentView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QColor background = doc_ ? doc_->BackgroundColor() : settings_.Background;
  painter.fillRect(event->rect(), background);
  if (!doc_) return;
  const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  const QRect clip = event->rect().translated(-origin);
  doc_->Draw(painter, clip, origin);
  if (selLength_ > 0) {
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlighted = palette().color(QPalette::HighlightedText);
    for (const auto& piece : doc_->Text().PiecesOf(selStart_, selStart_ + selLength_)) {
      const QRect r = piece.Rect.translated(origin);
      if (!r.intersects(event->rect())) continue;
      painter.fillRect(r, highlight);
      painter.setFont(piece.Font);
      painter.setPen(highlighted);
      painter.drawText(QPoint(r.left(), r.top() + QFontMetrics(piece.Font).ascent()), piece.Text);
    }
  }
}

void TDocumentView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

void TDocumentView::scrollContentsBy(int, int) {
  PlaceControls();
  viewport()->update();
}

void TDocumentView::RebuildControls() {
  for (auto& control : controls_) delete control.data();
  controls_.clear();
  if (!doc_) return;
  std::map<std::string, QButtonGroup*> radioGroups;
  const QFont font = doc_->ControlFont();
  for (const auto& box : doc_->Controls()) {
    QWidget* widget = NewControl(box, viewport());
    widget->setFont(font);  // the font the page made room for
    widget->setFocusPolicy(Qt::ClickFocus);
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
      QButtonGroup*& group = radioGroups[box.Name];
      if (!group) group = new QButtonGroup(radio);
      group->addButton(radio);
    }
    if (box.Kind == FormControlKind::Reset) {
      connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
              [this] { SetFormValues(PageForm()); });
    }
    widget->show();
    controls_.emplace_back(widget);
  }
  PlaceControls();
}

void TDocumentView::PlaceControls() {
  if (!doc_ || controls_.empty()) return;
  const std::vector<QRect> rects = doc_->ControlRects();
  const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  for (size_t i = 0; i < controls_.size() && i < rects.size(); ++i) {
    if (!controls_[i]) continue;
    controls_[i]->setGeometry(rects[i].translated(origin));
    controls_[i]->setVisible(!rects[i].isEmpty());  // a control the page hides
  }
}

QSize TDocumentView::LastPictureSize() const {
  return doc_ && doc_->Pictures() ? doc_->Pictures()->LastDecodedSize() : QSize();
}

std::vector<FormControl> TDocumentView::PageForm() const {
  std::vector<FormControl> out;
  if (!doc_) return out;
  for (auto& box : doc_->Controls()) {
    FormControl control;
    control.Name = std::move(box.Name);
    control.Kind = box.Kind;
    control.IsDropDown = box.Kind == FormControlKind::DropDown;
    control.Items = std::move(box.Items);
    control.ItemIndex = box.Selected;
    control.Text = std::move(box.Text);
    control.Checked = box.Checked;
    out.push_back(std::move(control));
  }
  return out;
}

std::vector<FormControl> TDocumentView::FormControls() const {
  std::vector<FormControl> out = PageForm();
  for (size_t i = 0; i < out.size() && i < controls_.size(); ++i) {
    if (controls_[i]) ReadControl(controls_[i], out[i]);
  }
  return out;
}

void TDocumentView::SetFormValues(const std::vector<FormControl>& values) {
  for (size_t i = 0; i < controls_.size() && i < values.size(); ++i) {
    if (controls_[i]) WriteControl(controls_[i], values[i]);
  }
}

HtmlObject TDocumentView::ObjectAt(QPoint viewPoint) const {
  HtmlObject object;
  if (!doc_) return object;
  const HitInfo hit = doc_->HitAt(ToDoc(viewPoint));
  if (!hit.Id) return object;
  object.Exists = true;
  object.Id = hit.Id;
  object.IsImage = hit.IsImage;
  object.Alt = hit.Alt;
  object.Src = hit.Src;
  object.Url = hit.Url;
  object.Target = hit.Target;
  return object;
}

// Find, caret and selection.

bool TDocumentView::Find(const std::string& text, bool matchCase) {
  if (!doc_ || text.empty()) return false;
  const QString& all = doc_->Text().Text();
  const QString needle = platform::ToQString(text);
  const int from = selStart_ + selLength_;
  const int at = static_cast<int>(
      all.indexOf(needle, from, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive));
  if (at < 0) return false;
  selStart_ = at;
  selLength_ = static_cast<int>(needle.size());
  const QRect bounds = doc_->Text().BoundsOf(selStart_, selStart_ + selLength_);
  const int top = Position();
  const int bottom = top + ViewSize().height();
  if (bounds.top() < top || bounds.bottom() > bottom - 20) {
    SetPosition(bounds.center().y() - ViewSize().height() / 2);
  }
  viewport()->update();
  return true;
}

void TDocumentView::SetSelStart(int position) {
  const int size = doc_ ? static_cast<int>(doc_->Text().Text().size()) : 0;
  selStart_ = std::clamp(position, 0, size);
  selLength_ = 0;
  if (position == 0) SetPosition(0);
  viewport()->update();
}

void TDocumentView::SetSelLength(int length) {
  const int size = doc_ ? static_cast<int>(doc_->Text().Text().size()) : 0;
  selLength_ = std::clamp(length, 0, size - selStart_);
  viewport()->update();
}

std::string TDocumentView::SelText() const {
  if (!doc_ || selLength_ <= 0) return "";
  return platform::FromQString(doc_->Text().Text().mid(selStart_, selLength_));
}

void TDocumentView::SelectAll() {
  if (!doc_) return;
  selStart_ = 0;
  selLength_ = static_cast<int>(doc_->Text().Text().size());
  viewport()->update();
}

void TDocumentView::CopyToClipboard() const {
  if (!doc_ || selLength_ <= 0) return;
  if (selLength_ > kMaxCopyLength) throw HtmlError("Selected text exceeds buffer size");
  QApplication::clipboard()->setText(doc_->Text().Text().mid(selStart_, selLength_));
}

std::string TDocumentView::DocumentText() const {
  return doc_ ? platform::FromQString(doc_->Text().Text()) : std::string();
}

// Mouse and keys.

void TDocumentView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  core::Guarded([&] {
    if (OnActivated) OnActivated(this);
    if (OnMouseDown)
      OnMouseDown(event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
  });
  if (event->button() != Qt::LeftButton || !doc_) return;
  pressPoint_ = p;
  dragging_ = false;
  selAnchor_ = doc_->Text().PositionAt(ToDoc(p));
  if (!(event->modifiers() & Qt::ShiftModifier)) {
    selStart_ = selAnchor_;
    selLength_ = 0;
  }
  viewport()->update();
}

void TDocumentView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  core::Guarded([&] {
    if (OnMouseMove) OnMouseMove(Qt::NoButton, event->buttons(), event->modifiers(), p.x(), p.y());
  });
  if (!doc_) return;
  if ((event->buttons() & Qt::LeftButton) && selAnchor_ >= 0) {
    if ((p - pressPoint_).manhattanLength() > 3) dragging_ = true;
    if (dragging_) {
      const int here = doc_->Text().PositionAt(ToDoc(p));
      selStart_ = std::min(here, selAnchor_);
      selLength_ = std::abs(here - selAnchor_);
      if (p.y() < 0) SetPosition(Position() - 20);
      if (p.y() > viewport()->height()) SetPosition(Position() + 20);
      viewport()->update();
    }
    return;
  }
  const HitInfo hit = doc_->HitAt(ToDoc(p));
  if (doc_->MouseOver(ToDoc(p), p)) viewport()->update();
  viewport()->setCursor(hit.Url.empty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
  if (hit.Url != hoverUrl_) {
    hoverUrl_ = hit.Url;
    core::Guarded([&] {
      if (OnHotSpotCovered) OnHotSpotCovered(hit.Target, hit.Url);
    });
  }
}

void TDocumentView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const bool click = event->button() == Qt::LeftButton && !dragging_;
  dragging_ = false;
  selAnchor_ = -1;
  core::Guarded([&] {
    if (OnMouseUp) OnMouseUp(event->button(), event->buttons(), event->modifiers(), p.x(), p.y());
  });
  if (!click || !doc_) return;
  const HitInfo hit = doc_->HitAt(ToDoc(p));
  if (hit.Url.empty()) return;
  core::Guarded([&] {
    if (OnLinkClick) {
      OnLinkClick(this, hit.Target, hit.Url);
    } else {
      FollowLink(hit.Target, hit.Url);
    }
  });
}

void TDocumentView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!doc_ || event->button() != Qt::LeftButton) return;
  const QString& text = doc_->Text().Text();
  const int at = doc_->Text().PositionAt(ToDoc(event->position().toPoint()));
  int start = at, end = at;
  while (start > 0 && text[start - 1].isLetterOrNumber()) --start;
  while (end < text.size() && text[end].isLetterOrNumber()) ++end;
  selStart_ = start;
  selLength_ = end - start;
  viewport()->update();
}

void TDocumentView::leaveEvent(QEvent* event) {
  QAbstractScrollArea::leaveEvent(event);
  if (doc_ && doc_->MouseLeave()) viewport()->update();
  if (!hoverUrl_.empty()) {
    hoverUrl_.clear();
    core::Guarded([&] {
      if (OnHotSpotCovered) OnHotSpotCovered("", "");
    });
  }
}

void TDocumentView::keyPressEvent(QKeyEvent* event) {
  core::Guarded([&] {
    if (OnKeyDown) OnKeyDown(event->key(), event->modifiers());
  });
  switch (event->key()) {
    case Qt::Key_Home:
      SetPosition(0);
      return;
    case Qt::Key_End:
      SetPosition(DocumentHeight());
      return;
    default:
      QAbstractScrollArea::keyPressEvent(event);
  }
}

void TDocumentView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  core::Guarded([&] {
    if (OnActivated) OnActivated(this);
  });
}

void TDocumentView::FollowLink(const std::string&, const std::string& url) {
  const std::string full = ExpandName(url, fileName_);
  if (platform::SameText(WithoutAnchor(full), fileName_)) {
    ScrollToAnchor(AnchorOf(full));
    return;
  }
  try {
    LoadFromFile(full);
  } catch (const std::exception&) {
  }
}

}  // namespace quire::engine::html
