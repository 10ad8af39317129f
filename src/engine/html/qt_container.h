// The bridge between the layout library and Qt: fonts, text measuring, pictures, and drawing
// every box with a QPainter. One container serves one document.
#pragma once

#include <litehtml/litehtml.h>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QSize>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/globals.h"
#include "engine/html/page_resources.h"
#include "engine/html/picture_store.h"
#include "engine/html/viewer_settings.h"

namespace quire::engine::html {

class TFormElement;

class TQtContainer : public litehtml::document_container {
 public:
  // Looks words up without copying them.
  struct WordHash {
    using is_transparent = void;
    size_t operator()(std::string_view word) const { return std::hash<std::string_view>()(word); }
  };
  struct Font {
    QFont Qt;
    QFontMetrics Metrics;
    std::unordered_map<std::string, int, WordHash, std::equal_to<>> Widths;
  };

  // `pictures` may be null: the document then shows no pictures (their boxes keep the size
  // the page gives them).
  TQtContainer(const core::Globals& g, const ViewerSettings& settings, TPictureStore* pictures,
               std::shared_ptr<TPageResources> resources = nullptr);
  virtual ~TQtContainer();

  // The page the document came from (Windows-1251): relative names are taken from its folder.
  void SetBaseName(const std::string& name) { baseName_ = name; }
  const std::string& BaseName() const { return baseName_; }
  void SetVisitedTest(std::function<bool(const std::string&)> test) { visited_ = std::move(test); }
  void SetClientSize(QSize size) { client_ = size; }
  QSize ClientSize() const { return client_; }
  void SetPrinting(bool printing, bool backgrounds) {
    printing_ = printing;
    printBackgrounds_ = backgrounds;
  }
  // `clip` is the part of the device being drawn.
  void BeginDraw(QPainter* painter, QRect clip) {
    painter_ = painter;
    drawClip_ = clip;
  }
  void EndDraw() { painter_ = nullptr; }

  // A name in the page as a full virtual name (Windows-1251).
  std::string FullName(const std::string& utf8Url) const;
  const std::string& Title() const { return title_; }  // UTF-8
  const std::string& Cursor() const { return cursor_; }
  const std::vector<TFormElement*>& Controls() const { return controls_; }
  // The font form controls are measured and shown with: the default one.
  QFont ControlFont() const;
  static const Font* FontOf(litehtml::uint_ptr font) { return reinterpret_cast<const Font*>(font); }

  // litehtml::document_container
  litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                 litehtml::font_style italic, unsigned int decoration,
                                 litehtml::font_metrics* fm) override;
  void delete_font(litehtml::uint_ptr hFont) override;
  int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
  void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                 litehtml::web_color color, const litehtml::position& pos) override;
  int pt_to_px(int pt) const override;
  int get_default_font_size() const override;
  const litehtml::tchar_t* get_default_font_name() const override;
  void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
  void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                  bool redraw_on_ready) override;
  void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                      litehtml::size& sz) override;
  void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
  void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                    const litehtml::position& draw_pos, bool root) override;
  void set_caption(const litehtml::tchar_t* caption) override;
  void set_base_url(const litehtml::tchar_t* base_url) override;
  void link(const std::shared_ptr<litehtml::document>& doc,
            const litehtml::element::ptr& el) override;
  void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
  void set_cursor(const litehtml::tchar_t* cursor) override;
  void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
  void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                  litehtml::tstring& baseurl) override;
  void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius,
                bool valid_x, bool valid_y) override;
  void del_clip() override;
  void get_client_rect(litehtml::position& client) const override;
  std::shared_ptr<litehtml::element> create_element(
      const litehtml::tchar_t* tag_name, const litehtml::string_map& attributes,
      const std::shared_ptr<litehtml::document>& doc) override;
  void get_media_features(litehtml::media_features& media) const override;
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

 private:
  const QImage* Picture(const std::string& utf8Url);
  QPainter* PainterOf(litehtml::uint_ptr hdc) const {
    return hdc ? reinterpret_cast<QPainter*>(hdc) : painter_;
  }

  const core::Globals& g_;
  ViewerSettings settings_;
  std::shared_ptr<TPageResources> resources_;
  std::string defaultFontName_;  // UTF-8
  TPictureStore* pictures_;
  std::string baseName_;
  std::function<bool(const std::string&)> visited_;
  QSize client_{800, 600};
  QPainter* painter_ = nullptr;
  QRect drawClip_;
  int clipDepth_ = 0;
  bool printing_ = false;
  bool printBackgrounds_ = true;
  std::string title_;
  std::string cursor_;
  std::vector<TFormElement*> controls_;
};

}  // namespace quire::engine::html
