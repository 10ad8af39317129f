// One page parsed and laid out: the layout library's document with its container, the text
// in reading order, and what is under a point (links, image-map areas, pictures).
#pragma once

#include <litehtml/litehtml.h>

#include <QPainter>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/globals.h"
#include "engine/html/page_resources.h"
#include "engine/html/picture_store.h"
#include "engine/html/qt_container.h"
#include "engine/html/text_model.h"
#include "engine/html/viewer_events.h"
#include "engine/html/viewer_settings.h"

namespace quire::engine::html {

// What lies under a point of a page.
struct HitInfo {
  const void* Id = nullptr;  // the element, to tell two objects apart
  bool IsImage = false;
  std::string Alt;     // Windows-1251
  std::string Url;     // a link's or area's href, Windows-1251, empty when none
  std::string Target;  // its target frame
  std::string Src;     // an image's full name
};

class THtmlDocument {
 public:
  // `pictures` may be null: the page is then shown without pictures.
  THtmlDocument(const core::Globals& g, const ViewerSettings& settings,
                std::shared_ptr<TPictureStore> pictures,
                std::function<bool(const std::string&)> visited, bool printing = false,
                std::shared_ptr<TPageResources> resources = nullptr);
  ~THtmlDocument();

  // Parses a page; `fileName` is its full virtual name, the base of relative names. Style
  // rules for media sizes are chosen for `viewSize`; laying out at another size chooses again.
  void Load(std::string_view bytes, const std::string& fileName, QSize viewSize = QSize(800, 600));
  // Lays the page out for a view `width` pixels wide.
  void Layout(int width, int viewHeight);
  int Width() const;
  int Height() const;
  int LayoutWidth() const { return layoutWidth_; }
  // Draws the part `clip` of the page (document coordinates) with the page's top-left corner at
  // `origin` of the painter.
  void Draw(QPainter& painter, QRect clip, QPoint origin);

  const std::string& FileName() const { return fileName_; }
  // The page's bytes as loaded, to lay it out again for paper.
  const std::string& Source() const { return source_; }
  std::string Title() const;  // Windows-1251
  // Built on first use after each layout: many pages are only read.
  const TTextModel& Text() const;
  const std::string& BaseTarget() const { return baseTarget_; }
  QColor BackgroundColor() const;

  HitInfo HitAt(QPoint docPoint) const;
  // The top of a named anchor ("name" or "id"), if the page has it.
  std::optional<int> AnchorTop(const std::string& anchor) const;
  // Hover for :hover styles; true when the page must be drawn again.
  bool MouseOver(QPoint docPoint, QPoint clientPoint);
  bool MouseLeave();
  const std::string& Cursor() const { return container_->Cursor(); }

  // The form controls in document order: their placement and what the page puts in them.
  struct ControlBox {
    QRect Rect;
    FormControlKind Kind = FormControlKind::DropDown;
    std::string Name;                // Windows-1251
    std::vector<std::string> Items;  // a drop-down list's, Windows-1251
    int Selected = -1;
    std::string Text;  // Windows-1251
    bool Checked = false;
  };
  std::vector<ControlBox> Controls() const;
  QFont ControlFont() const { return container_->ControlFont(); }
  std::vector<QRect> ControlRects() const;

  // Vertical spans that a page break must not cut: text lines, pictures, table cells (and so
  // their rows).
  std::vector<std::pair<int, int>> UnbreakableSpans() const;

  litehtml::document* Raw() const { return doc_.get(); }
  // The pictures of this page; they live as long as the page does.
  TPictureStore* Pictures() const { return pictures_.get(); }
  const std::shared_ptr<TPictureStore>& SharedPictures() const { return pictures_; }

 private:
  std::optional<HitInfo> AreaAt(const litehtml::element::ptr& image, QPoint docPoint) const;

  ViewerSettings settings_;
  std::shared_ptr<TPictureStore> pictures_;
  std::shared_ptr<TPageResources> resources_;
  std::unique_ptr<TQtContainer> container_;
  litehtml::document::ptr doc_;
  std::string fileName_;
  std::string source_;
  std::string baseTarget_;
  mutable TTextModel text_;
  mutable bool textBuilt_ = false;
  int layoutWidth_ = 0;
  mutable int contentWidth_ = -1;  // worked out on first use after a layout
};

std::string UserStyleSheet(const ViewerSettings& settings);

}  // namespace quire::engine::html
