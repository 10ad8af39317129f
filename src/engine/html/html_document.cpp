#include "engine/html/html_document.h"

#include <litehtml/el_text.h>

#include <QPolygon>
#include <cmath>

#include "engine/html/default_style.h"
#include "engine/html/form_element.h"
#include "engine/html/html_prepass.h"
#include "engine/html/justify.h"
#include "platform/text.h"

namespace quire::engine::html {
namespace {

std::string CssColor(const QColor& c) {
  return c.name(QColor::HexRgb).toStdString();
}

std::string Attr(const litehtml::element::ptr& el, const char* name) {
  const char* v = el->get_attr(name);
  return v ? v : "";
}

std::string ToCp1251(const std::string& utf8) {
  return platform::FromQString(QString::fromUtf8(utf8));
}

std::string TagOf(const litehtml::element::ptr& el) {
  const char* tag = el->get_tagName();
  return tag ? tag : "";
}

template <class F>
void ForEachElement(const litehtml::element::ptr& el, F&& fn, int depth = 0) {
  if (!el || depth > 1000) return;
  if (!fn(el)) return;
  const size_t count = el->get_children_count();
  for (size_t i = 0; i < count; ++i)
    ForEachElement(el->get_child(static_cast<int>(i)), fn, depth + 1);
}

std::vector<int> Numbers(const std::string& text) {
  std::vector<int> out;
  std::string current;
  for (char c : text + ",") {
    if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
      current += c;
    } else if (!current.empty()) {
      out.push_back(static_cast<int>(std::atof(current.c_str())));
      current.clear();
      if (out.size() > 2000) break;
    }
  }
  return out;
}

bool InsideArea(const std::string& shapeRaw, const std::vector<int>& c, QPoint p) {
  const std::string shape = platform::AsciiLower(shapeRaw);
  if (shape == "default") return true;
  if (shape == "circle" || shape == "circ") {
    if (c.size() < 3) return false;
    const double dx = p.x() - c[0], dy = p.y() - c[1];
    return dx * dx + dy * dy <= static_cast<double>(c[2]) * c[2];
  }
  if (shape == "poly" || shape == "polygon") {
    QPolygon polygon;
    for (size_t i = 0; i + 1 < c.size(); i += 2) polygon << QPoint(c[i], c[i + 1]);
    return polygon.size() >= 3 && polygon.containsPoint(p, Qt::OddEvenFill);
  }
  if (c.size() < 4) return false;
  return QRect(QPoint(std::min(c[0], c[2]), std::min(c[1], c[3])),
               QPoint(std::max(c[0], c[2]), std::max(c[1], c[3])))
      .contains(p);
}

}  // namespace

std::string UserStyleSheet(const ViewerSettings& s) {
  std::string css;
  css += "html{background-color:" + CssColor(s.Background) + ";}";
  css += "body{color:" + CssColor(s.FontColor) + ";}";
  css += "a[href]{color:" + CssColor(s.HotSpotColor) +
         ";text-decoration:" + (s.NoLinkUnderline ? "none" : "underline") + ";}";
  css += "a[href].quire-visited{color:" + CssColor(s.VisitedColor) + ";}";
  if (s.LinksChangeColor) css += "a[href]:hover{color:" + CssColor(s.OverColor) + " !important;}";
  return css;
}

THtmlDocument::THtmlDocument(const core::Globals& g, const ViewerSettings& settings,
                             std::shared_ptr<TPictureStore> pictures,
                             std::function<bool(const std::string&)> visited, bool printing,
                             std::shared_ptr<TPageResources> resources)
    : settings_(settings),
      pictures_(std::move(pictures)),
      resources_(resources ? std::move(resources) : std::make_shared<TPageResources>()),
      container_(std::make_unique<TQtContainer>(g, settings, pictures_.get(), resources_)) {
  container_->SetVisitedTest(std::move(visited));
  container_->SetPrinting(printing, settings.PrintTableBackground);
}

THtmlDocument::~THtmlDocument() {
  doc_.reset();
}

void THtmlDocument::Load(std::string_view bytes, const std::string& fileName, QSize viewSize) {
  fileName_ = fileName;
  container_->SetClientSize(viewSize.expandedTo(QSize(1, 1)));
  source_.assign(bytes);
  container_->SetBaseName(fileName);
  PreparedPage page = PreparePage(bytes);
  if (!page.ExtraCss.empty()) page.Html = "<style>" + page.ExtraCss + "</style>" + page.Html;
  litehtml::context* context = resources_->Context(DefaultStyleSheet() + UserStyleSheet(settings_));
  doc_ = litehtml::document::createFromUTF8(page.Html.c_str(), container_.get(), context);
  baseTarget_.clear();
  if (doc_ && doc_->root()) {
    ForEachElement(doc_->root(), [this](const litehtml::element::ptr& el) {
      if (TagOf(el) == "base" && baseTarget_.empty()) baseTarget_ = ToCp1251(Attr(el, "target"));
      return TagOf(el) != "body";
    });
  }
  text_.Clear();
  textBuilt_ = false;
  layoutWidth_ = 0;
}

void THtmlDocument::Layout(int width, int viewHeight) {
  layoutWidth_ = std::max(width, 1);
  if (!doc_) return;
  if (container_->ClientSize() != QSize(layoutWidth_, std::max(viewHeight, 1))) {
    container_->SetClientSize(QSize(layoutWidth_, std::max(viewHeight, 1)));
    doc_->media_changed();
  }
  doc_->render(layoutWidth_);
  JustifyLines(doc_->root());
  textBuilt_ = false;
  contentWidth_ = -1;
}

const TTextModel& THtmlDocument::Text() const {
  if (!textBuilt_ && doc_) text_.Build(doc_->root());
  textBuilt_ = true;
  return text_;
}

namespace {

// The right edge of an element's box, margin included.
int BoxRight(const litehtml::element& el) {
  const litehtml::position box = el.get_placement();
  return box.x + box.width + el.content_margins_right() + el.margin_right();
}

// The right edge of the furthest word, picture, control or box of a fixed width. Other boxes
// do not count: a table nested in a cell can leave its outer boxes wider than the page they lay
// out, and counting them would scroll the view into nothing.
int ContentRight(const litehtml::element::ptr& el, int depth) {
  if (!el || depth > 1000 || el->get_display() == litehtml::display_none) return 0;
  if (el->get_children_count() == 0) {
    return el->is_white_space() ? 0 : BoxRight(*el);  // a space may hang past its line
  }
  const litehtml::css_length width = el->get_css_width();
  int right =
      !width.is_predefined() && width.units() != litehtml::css_units_percentage ? BoxRight(*el) : 0;
  for (size_t i = 0; i < el->get_children_count(); ++i)
    right = std::max(right, ContentRight(el->get_child(static_cast<int>(i)), depth + 1));
  return right;
}

}  // namespace

int THtmlDocument::Width() const {
  if (!doc_) return 0;
  if (contentWidth_ < 0) contentWidth_ = std::min(doc_->width(), ContentRight(doc_->root(), 0));
  return contentWidth_;
}
int THtmlDocument::Height() const {
  return doc_ ? doc_->height() : 0;
}

void THtmlDocument::Draw(QPainter& painter, QRect clip, QPoint origin) {
  if (!doc_) return;
  container_->BeginDraw(&painter, clip.translated(origin));
  const litehtml::position clipPos(clip.x() + origin.x(), clip.y() + origin.y(), clip.width(),
                                   clip.height());
  doc_->draw(reinterpret_cast<litehtml::uint_ptr>(&painter), origin.x(), origin.y(), &clipPos);
  container_->EndDraw();
}

std::string THtmlDocument::Title() const {
  std::string title = ToCp1251(container_->Title());
  return platform::Trim(title);
}

QColor THtmlDocument::BackgroundColor() const {
  if (doc_ && doc_->root()) {
    for (const auto& el : {doc_->root(), doc_->root()->select_one("body")}) {
      if (!el) continue;
      if (const litehtml::background* bg = el->get_background(true)) {
        if (bg->m_color.alpha > 0) {
          return QColor(bg->m_color.red, bg->m_color.green, bg->m_color.blue);
        }
      }
    }
  }
  return settings_.Background;
}

std::optional<HitInfo> THtmlDocument::AreaAt(const litehtml::element::ptr& image,
                                             QPoint docPoint) const {
  std::string map = Attr(image, "usemap");
  if (map.empty()) return std::nullopt;
  if (map[0] == '#') map.erase(0, 1);
  const litehtml::position pos = image->get_placement();
  const QPoint local = docPoint - QPoint(pos.x, pos.y);
  std::optional<HitInfo> found;
  bool searching = true;
  ForEachElement(doc_->root(), [&](const litehtml::element::ptr& el) {
    if (!searching) return false;
    if (TagOf(el) != "map" || !platform::SameText(Attr(el, "name"), map)) return true;
    ForEachElement(el, [&](const litehtml::element::ptr& area) {
      if (found || TagOf(area) != "area") return !found;
      if (InsideArea(Attr(area, "shape"), Numbers(Attr(area, "coords")), local)) {
        HitInfo hit;
        hit.Id = area.get();
        if (area->get_attr("nohref") == nullptr) hit.Url = ToCp1251(Attr(area, "href"));
        hit.Target = ToCp1251(Attr(area, "target"));
        hit.Alt = ToCp1251(Attr(area, "alt"));
        found = hit;
      }
      return true;
    });
    searching = false;
    return false;
  });
  return found;
}

HitInfo THtmlDocument::HitAt(QPoint p) const {
  HitInfo hit;
  if (!doc_ || !doc_->root()) return hit;
  litehtml::element::ptr el = doc_->root()->get_element_by_point(p.x(), p.y(), p.x(), p.y());
  if (!el) return hit;
  hit.Id = el.get();
  for (auto e = el; e; e = e->parent()) {
    const std::string tag = TagOf(e);
    if (tag == "img" && !hit.IsImage && hit.Url.empty()) {
      hit.IsImage = true;
      hit.Id = e.get();
      hit.Alt = ToCp1251(Attr(e, "alt"));
      hit.Src = container_->FullName(Attr(e, "src"));
      if (auto area = AreaAt(e, p)) {
        hit.Url = area->Url;
        hit.Target = area->Target;
        if (!area->Alt.empty()) hit.Alt = area->Alt;
      }
    } else if (tag == "a" && e->get_attr("href") && hit.Url.empty()) {
      hit.Url = ToCp1251(Attr(e, "href"));
      hit.Target = ToCp1251(Attr(e, "target"));
      break;
    }
  }
  if (!hit.Url.empty() && hit.Target.empty()) hit.Target = baseTarget_;
  return hit;
}

std::optional<int> THtmlDocument::AnchorTop(const std::string& anchor) const {
  if (!doc_ || anchor.empty()) return std::nullopt;
  const QString wanted = platform::ToQString(anchor);
  std::optional<int> top;
  bool found = false;
  // An inline anchor has no box of its own: the first text from it on gives its line.
  ForEachElement(doc_->root(), [&](const litehtml::element::ptr& el) {
    if (top) return false;
    if (found) {
      if (dynamic_cast<litehtml::el_text*>(el.get()) || TagOf(el) == "img") {
        top = el->get_placement().y;
        return false;
      }
      return true;
    }
    for (const char* attr : {"name", "id"}) {
      const char* v = el->get_attr(attr);
      if (v && QString::fromUtf8(v).compare(wanted, Qt::CaseInsensitive) == 0 &&
          TagOf(el) != "map" && TagOf(el) != "frame") {
        found = true;
        if (el->get_display() != litehtml::display_inline) {
          top = el->get_placement().y;
          return false;
        }
        return true;
      }
    }
    return true;
  });
  return top;
}

bool THtmlDocument::MouseOver(QPoint doc, QPoint client) {
  if (!doc_) return false;
  litehtml::position::vector redraw;
  return doc_->on_mouse_over(doc.x(), doc.y(), client.x(), client.y(), redraw);
}

bool THtmlDocument::MouseLeave() {
  if (!doc_) return false;
  litehtml::position::vector redraw;
  return doc_->on_mouse_leave(redraw);
}

std::vector<THtmlDocument::ControlBox> THtmlDocument::Controls() const {
  std::vector<ControlBox> out;
  const std::vector<QRect> rects = ControlRects();
  for (TFormElement* control : container_->Controls()) {
    ControlBox box;
    box.Rect = rects[out.size()];
    box.Kind = control->Kind();
    box.Name = ToCp1251(control->Name());
    for (const std::string& item : control->Items()) box.Items.push_back(ToCp1251(item));
    box.Selected = control->InitialSelection();
    box.Text = ToCp1251(control->InitialText());
    box.Checked = control->InitiallyChecked();
    out.push_back(std::move(box));
  }
  return out;
}

std::vector<QRect> THtmlDocument::ControlRects() const {
  std::vector<QRect> rects;
  for (TFormElement* control : container_->Controls()) {
    const litehtml::position pos = control->get_placement();
    rects.emplace_back(pos.x, pos.y, pos.width, pos.height);
  }
  return rects;
}

std::vector<std::pair<int, int>> THtmlDocument::UnbreakableSpans() const {
  std::vector<std::pair<int, int>> spans;
  for (const TextRun& run : Text().Runs())
    spans.emplace_back(run.Rect.top(), run.Rect.bottom() + 1);
  if (!doc_) return spans;
  ForEachElement(doc_->root(), [&](const litehtml::element::ptr& el) {
    if (el->get_display() == litehtml::display_none) return false;
    const std::string tag = TagOf(el);
    // Rows have no box of their own; their cells give them.
    if (tag == "img" || dynamic_cast<TFormElement*>(el.get()) ||
        el->get_display() == litehtml::display_table_cell) {
      const litehtml::position pos = el->get_placement();
      if (pos.height > 0) spans.emplace_back(pos.y, pos.y + pos.height);
    }
    return true;
  });
  return spans;
}

}  // namespace quire::engine::html
