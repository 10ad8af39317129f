#include "engine/html/qt_container.h"

#include <litehtml/litehtml.h>

#include <litehtml/el_anchor.h>
#include <litehtml/el_image.h>

#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "engine/html/form_element.h"
#include "engine/html/names.h"
#include "engine/html/table_cell.h"
#include "platform/text.h"
#include "storage/compr_stream.h"

namespace quire::engine::html {
namespace {

// Screen pixels per point: the books were laid out at 96 dots per inch.
constexpr int kDpi = 96;

QColor ToQColor(const litehtml::web_color& c) {
  return QColor(c.red, c.green, c.blue, c.alpha);
}

QString Utf8(const char* text) {
  return QString::fromUtf8(text ? text : "");
}

// A link written to a page that the viewer has shown.
class TVisitedAnchor : public litehtml::el_anchor {
 public:
  TVisitedAnchor(const std::shared_ptr<litehtml::document>& doc, bool visited)
      : litehtml::el_anchor(doc), visited_(visited) {
    if (visited_) litehtml::el_anchor::set_attr("class", "quire-visited");
  }
  // Classes the page gives the link keep the visited one.
  void set_attr(const litehtml::tchar_t* name, const litehtml::tchar_t* value) override {
    if (visited_ && name && value && std::string(name) == "class") {
      const std::string classes = std::string(value) + " quire-visited";
      litehtml::el_anchor::set_attr(name, classes.c_str());
      return;
    }
    litehtml::el_anchor::set_attr(name, value);
  }

 private:
  bool visited_;
};

// The colour of one side of an inset, outset, groove or ridge border.
QColor ShadedColor(const litehtml::border& b, bool topLeft) {
  QColor c = ToQColor(b.color);
  const bool lighter = (b.style == litehtml::border_style_outset ||
                        b.style == litehtml::border_style_ridge) == topLeft;
  if (b.style == litehtml::border_style_inset || b.style == litehtml::border_style_outset ||
      b.style == litehtml::border_style_groove || b.style == litehtml::border_style_ridge) {
    if (c.lightness() < 40) c = QColor(0xA0, 0xA0, 0xA0);
    return lighter ? c.lighter(150) : c.darker(160);
  }
  return c;
}

}  // namespace

TQtContainer::TQtContainer(const core::Globals& g, const ViewerSettings& settings,
                           TPictureStore* pictures, std::shared_ptr<TPageResources> resources)
    : g_(g),
      settings_(settings),
      resources_(resources ? std::move(resources) : std::make_shared<TPageResources>()),
      pictures_(pictures) {
  defaultFontName_ = platform::Cp1251ToUtf8(settings.FontName);
  if (defaultFontName_.empty()) defaultFontName_ = "Arial";
}

TQtContainer::~TQtContainer() = default;

std::string TQtContainer::FullName(const std::string& utf8Url) const {
  std::string url =
      platform::Utf8ToCp1251(utf8Url).value_or(platform::FromQString(Utf8(utf8Url.c_str())));
  return ExpandName(url, baseName_);
}

litehtml::uint_ptr TQtContainer::create_font(const litehtml::tchar_t* faceName, int size,
                                             int weight, litehtml::font_style italic,
                                             unsigned int decoration, litehtml::font_metrics* fm) {
  QFont font;
  font.setFamilies(resources_->Families(faceName ? faceName : "", defaultFontName_));
  font.setPixelSize(std::clamp(size, 1, 2000));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
  font.setItalic(italic == litehtml::fontStyleItalic);
  font.setUnderline(decoration & litehtml::font_decoration_underline);
  font.setStrikeOut(decoration & litehtml::font_decoration_linethrough);
  font.setOverline(decoration & litehtml::font_decoration_overline);
  font.setKerning(false);
  auto* entry = new Font{font, QFontMetrics(font), {}};
  if (fm) {
    fm->ascent = entry->Metrics.ascent();
    fm->descent = entry->Metrics.descent();
    fm->height = entry->Metrics.height();
    fm->x_height = entry->Metrics.xHeight();
    fm->draw_spaces = italic == litehtml::fontStyleItalic || decoration != 0;
  }
  return reinterpret_cast<litehtml::uint_ptr>(entry);
}

void TQtContainer::delete_font(litehtml::uint_ptr hFont) {
  delete reinterpret_cast<Font*>(hFont);
}

int TQtContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) {
  auto* font = reinterpret_cast<Font*>(hFont);
  if (!font || !text) return 0;
  const std::string_view word(text);
  auto it = font->Widths.find(word);
  if (it != font->Widths.end()) return it->second;
  const int width = font->Metrics.horizontalAdvance(Utf8(text));
  if (font->Widths.size() < 20000) font->Widths.emplace(word, width);
  return width;
}

void TQtContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text,
                             litehtml::uint_ptr hFont, litehtml::web_color color,
                             const litehtml::position& pos) {
  QPainter* p = PainterOf(hdc);
  auto* font = reinterpret_cast<Font*>(hFont);
  if (!p || !font) return;
  p->setFont(font->Qt);
  p->setPen(ToQColor(color));
  const QPoint baseline(pos.x, pos.y + font->Metrics.ascent());
  const bool space = text && *text == ' ' && text[1] == 0;
  const int advance = space ? text_width(text, hFont) : 0;
  if (!space || advance <= 0 || pos.width <= advance) {
    p->drawText(baseline, Utf8(text));
    return;
  }
  // A space a justified line widened: its underline runs across the whole gap.
  p->save();
  p->setClipRect(QRect(pos.x, pos.y - pos.height, pos.width, pos.height * 3), Qt::IntersectClip);
  p->drawText(baseline, QString(pos.width / advance + 1, ' '));
  p->restore();
}

int TQtContainer::pt_to_px(int pt) const {
  return (pt * kDpi + 36) / 72;
}

int TQtContainer::get_default_font_size() const {
  return pt_to_px(std::clamp(settings_.FontSize, 1, 400));
}

const litehtml::tchar_t* TQtContainer::get_default_font_name() const {
  return defaultFontName_.c_str();
}

void TQtContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) {
  QPainter* p = PainterOf(hdc);
  if (!p) return;
  if (!marker.image.empty()) {
    if (const QImage* image = Picture(marker.image)) {
      p->drawImage(QPoint(marker.pos.x, marker.pos.y), *image);
      return;
    }
  }
  const QRect r(marker.pos.x, marker.pos.y, marker.pos.width, marker.pos.height);
  const QColor color = ToQColor(marker.color);
  p->save();
  p->setRenderHint(QPainter::Antialiasing, true);
  switch (marker.marker_type) {
    case litehtml::list_style_type_circle:
      p->setPen(QPen(color, 1));
      p->setBrush(Qt::NoBrush);
      p->drawEllipse(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
      break;
    case litehtml::list_style_type_disc:
      p->setPen(Qt::NoPen);
      p->setBrush(color);
      p->drawEllipse(r);
      break;
    case litehtml::list_style_type_square:
      p->fillRect(r, color);
      break;
    default:
      break;
  }
  p->restore();
}

const QImage* TQtContainer::Picture(const std::string& utf8Url) {
  if (!pictures_ || utf8Url.empty() || TFormElement::IsSource(utf8Url)) return nullptr;
  return pictures_->Get(FullName(utf8Url));
}

void TQtContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t*, bool) {
  if (src) Picture(src);
}

void TQtContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t*,
                                  litehtml::size& sz) {
  sz.width = sz.height = 0;
  const std::string url = src ? src : "";
  if (TFormElement::IsSource(url)) {
    const int index = std::atoi(url.c_str() + TFormElement::kScheme.size());
    if (index >= 0 && index < static_cast<int>(controls_.size())) {
      const QSize size =
          controls_[static_cast<size_t>(index)]->NaturalSize(QFontMetrics(ControlFont()));
      sz.width = size.width();
      sz.height = size.height();
    }
    return;
  }
  if (const QImage* image = Picture(url)) {
    sz.width = image->width();
    sz.height = image->height();
  }
}

QFont TQtContainer::ControlFont() const {
  QFont font;
  font.setFamilies(resources_->Families("", defaultFontName_));
  font.setPixelSize(get_default_font_size());
  return font;
}

void TQtContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) {
  QPainter* p = PainterOf(hdc);
  if (!p) return;
  if (TFormElement::IsSource(bg.image)) return;
  const QRect clip(bg.clip_box.x, bg.clip_box.y, bg.clip_box.width, bg.clip_box.height);
  const bool skipBackgrounds = printing_ && !printBackgrounds_;
  if (bg.color.alpha > 0 && !skipBackgrounds) p->fillRect(clip, ToQColor(bg.color));
  if (bg.image.empty()) return;
  const QImage* image = Picture(bg.image);
  if (!image) return;
  const QSize size(bg.image_size.width > 0 ? bg.image_size.width : image->width(),
                   bg.image_size.height > 0 ? bg.image_size.height : image->height());
  if (size.isEmpty()) return;
  const bool isImg = bg.repeat == litehtml::background_repeat_no_repeat &&
                     bg.position_x == bg.origin_box.x && bg.position_y == bg.origin_box.y &&
                     size.width() == bg.origin_box.width;
  if (skipBackgrounds && !isImg) return;
  p->save();
  p->setClipRect(clip, Qt::IntersectClip);
  p->setRenderHint(QPainter::SmoothPixmapTransform, size != image->size());
  const bool repeatX = bg.repeat == litehtml::background_repeat_repeat ||
                       bg.repeat == litehtml::background_repeat_repeat_x;
  const bool repeatY = bg.repeat == litehtml::background_repeat_repeat ||
                       bg.repeat == litehtml::background_repeat_repeat_y;
  if (!repeatX && !repeatY) {
    // Scaled while drawing: a page may ask for any size.
    p->drawImage(QRect(QPoint(bg.position_x, bg.position_y), size), *image);
    p->restore();
    return;
  }
  // Tiles smaller than 2 pixels or larger than the screen are not worth tiling.
  if (size.width() < 2 || size.height() < 2 || size.width() > 4096 || size.height() > 4096) {
    p->restore();
    return;
  }
  const QImage scaled = size == image->size() ? *image : image->scaled(size);
  // Only the part being drawn is tiled, however large the box.
  const QRect area = drawClip_.isValid() ? clip & drawClip_ : clip;
  long long x0 = bg.position_x, y0 = bg.position_y;
  long long x1 = x0 + size.width(), y1 = y0 + size.height();
  if (repeatX) {
    if (x0 > area.left()) x0 -= (x0 - area.left() + size.width() - 1) / size.width() * size.width();
    if (x0 < area.left()) x0 += (area.left() - x0) / size.width() * size.width();
    x1 = area.right() + 1;
  }
  if (repeatY) {
    if (y0 > area.top())
      y0 -= (y0 - area.top() + size.height() - 1) / size.height() * size.height();
    if (y0 < area.top()) y0 += (area.top() - y0) / size.height() * size.height();
    y1 = area.bottom() + 1;
  }
  for (long long y = y0; y < y1; y += size.height()) {
    for (long long x = x0; x < x1; x += size.width()) {
      p->drawImage(QPoint(static_cast<int>(x), static_cast<int>(y)), scaled);
    }
  }
  p->restore();
}

void TQtContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                const litehtml::position& pos, bool) {
  QPainter* p = PainterOf(hdc);
  if (!p) return;
  const int l = pos.left(), t = pos.top(), r = pos.right(), b = pos.bottom();
  struct Side {
    const litehtml::border& border;
    QPolygon shape;
    bool topLeft;
  };
  const int lw = borders.left.width, tw = borders.top.width, rw = borders.right.width,
            bw = borders.bottom.width;
  const Side sides[] = {
      {borders.top,
       QPolygon({QPoint(l, t), QPoint(r, t), QPoint(r - rw, t + tw), QPoint(l + lw, t + tw)}),
       true},
      {borders.bottom,
       QPolygon({QPoint(l, b), QPoint(r, b), QPoint(r - rw, b - bw), QPoint(l + lw, b - bw)}),
       false},
      {borders.left,
       QPolygon({QPoint(l, t), QPoint(l + lw, t + tw), QPoint(l + lw, b - bw), QPoint(l, b)}),
       true},
      {borders.right,
       QPolygon({QPoint(r, t), QPoint(r - rw, t + tw), QPoint(r - rw, b - bw), QPoint(r, b)}),
       false},
  };
  p->save();
  p->setPen(Qt::NoPen);
  for (const Side& side : sides) {
    const litehtml::border& border = side.border;
    if (border.width <= 0 || border.style == litehtml::border_style_none ||
        border.style == litehtml::border_style_hidden) {
      continue;
    }
    const QColor color = ShadedColor(border, side.topLeft);
    if (border.style == litehtml::border_style_dotted ||
        border.style == litehtml::border_style_dashed) {
      QPen pen(color, border.width,
               border.style == litehtml::border_style_dotted ? Qt::DotLine : Qt::DashLine);
      pen.setCapStyle(Qt::FlatCap);
      p->setPen(pen);
      const QRect box = side.shape.boundingRect();
      const qreal half = border.width / 2.0;
      if (box.width() > box.height()) {
        const qreal y = side.topLeft ? t + half : b - half;
        p->drawLine(QPointF(l, y), QPointF(r, y));
      } else {
        const qreal x = side.topLeft ? l + half : r - half;
        p->drawLine(QPointF(x, t), QPointF(x, b));
      }
      p->setPen(Qt::NoPen);
      continue;
    }
    p->setBrush(color);
    p->drawPolygon(side.shape);
  }
  p->restore();
}

void TQtContainer::set_caption(const litehtml::tchar_t* caption) {
  title_ = caption ? caption : "";
}

void TQtContainer::set_base_url(const litehtml::tchar_t* base_url) {
  if (base_url && *base_url) baseName_ = FullName(base_url);
}

void TQtContainer::link(const std::shared_ptr<litehtml::document>& doc,
                        const litehtml::element::ptr& el) {
  if (!doc || !el) return;
  const char* rel = el->get_attr("rel");
  const char* href = el->get_attr("href");
  if (!rel || !href || platform::AsciiLower(rel) != "stylesheet") return;
  litehtml::tstring text, baseurl;
  import_css(text, href, baseurl);
  if (!text.empty()) doc->add_stylesheet(text.c_str(), href, el->get_attr("media"));
}

void TQtContainer::on_anchor_click(const litehtml::tchar_t*, const litehtml::element::ptr&) {}

void TQtContainer::set_cursor(const litehtml::tchar_t* cursor) {
  cursor_ = cursor ? cursor : "";
}

void TQtContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
  QString s = QString::fromStdString(text);
  if (tt == litehtml::text_transform_uppercase) s = s.toUpper();
  if (tt == litehtml::text_transform_lowercase) s = s.toLower();
  if (tt == litehtml::text_transform_capitalize && !s.isEmpty()) s[0] = s[0].toUpper();
  text = s.toStdString();
}

void TQtContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url,
                              litehtml::tstring&) {
  text.clear();
  const std::string name = WithoutAnchor(FullName(url));
  try {
    if (!storage::ContentFileExists(g_, name)) return;
    storage::TComprStream stream(g_, name);
    text = platform::Cp1251ToUtf8(stream.Bytes());
    // Comment markers that hid the sheet from very old browsers.
    for (const char* marker : {"<!--", "-->"}) {
      for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
        text.erase(at, std::char_traits<char>::length(marker));
      }
    }
  } catch (const std::exception&) {
    text.clear();
  }
}

void TQtContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool,
                            bool) {
  if (!painter_) return;
  painter_->save();
  painter_->setClipRect(QRect(pos.x, pos.y, pos.width, pos.height), Qt::IntersectClip);
  ++clipDepth_;
}

void TQtContainer::del_clip() {
  if (!painter_ || clipDepth_ == 0) return;
  painter_->restore();
  --clipDepth_;
}

void TQtContainer::get_client_rect(litehtml::position& client) const {
  client = litehtml::position(0, 0, client_.width(), client_.height());
}

std::shared_ptr<litehtml::element> TQtContainer::create_element(
    const litehtml::tchar_t* tag_name, const litehtml::string_map& attributes,
    const std::shared_ptr<litehtml::document>& doc) {
  const std::string_view tag = tag_name ? tag_name : "";  // called for every element
  if (tag == "input" || tag == "select" || tag == "textarea" || tag == "button") {
    if (auto kind = TFormElement::KindOf(tag, attributes)) {
      auto control = std::make_shared<TFormElement>(doc, *kind, static_cast<int>(controls_.size()));
      controls_.push_back(control.get());
      return control;
    }
    // No control: a picture that acts as a button, or a hidden input.
    auto type = attributes.find("type");
    if (type != attributes.end() && platform::AsciiLower(type->second) == "image") {
      return std::make_shared<litehtml::el_image>(doc);
    }
    return std::make_shared<THiddenInput>(doc);
  }
  if (tag == "td" || tag == "th") return std::make_shared<TTableCell>(doc);
  if (tag == "a") {
    bool visited = false;
    auto href = attributes.find("href");
    if (href != attributes.end() && visited_)
      visited = visited_(WithoutAnchor(FullName(href->second)));
    return std::make_shared<TVisitedAnchor>(doc, visited);
  }
  return nullptr;
}

void TQtContainer::get_media_features(litehtml::media_features& media) const {
  media.type = printing_ ? litehtml::media_type_print : litehtml::media_type_screen;
  media.width = client_.width();
  media.height = client_.height();
  media.device_width = 1024;
  media.device_height = 768;
  media.color = 8;
  media.resolution = kDpi;
}

void TQtContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
  language = "ru";
  culture = "ru-RU";
}

}  // namespace quire::engine::html
