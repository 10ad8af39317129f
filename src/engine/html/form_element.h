// Form controls (<select>, <input>, <textarea>, <button>): laid out as boxes of their control's
// size; the view puts a real Qt widget there. What they hold (a list's <option>s, a text area's
// text, a button's caption) is kept aside instead of being laid out as page text.
#pragma once

#include <litehtml/litehtml.h>

#include <litehtml/el_image.h>

#include <QFontMetrics>
#include <QSize>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/html/viewer_events.h"

namespace quire::engine::html {

class TFormElement : public litehtml::el_image {
 public:
  TFormElement(const std::shared_ptr<litehtml::document>& doc, FormControlKind kind, int index);

  // The control a tag makes; none for hidden inputs and picture buttons, which are no controls.
  static std::optional<FormControlKind> KindOf(std::string_view tag,
                                               const litehtml::string_map& attributes);
  // The picture name that stands for control `index` when the layout asks for its size.
  static constexpr std::string_view kScheme = "quire-form:";
  static std::string SourceOf(int index) { return std::string(kScheme) + std::to_string(index); }
  static bool IsSource(std::string_view url) { return url.starts_with(kScheme); }

  bool appendChild(const litehtml::element::ptr& el) override;
  void parse_attributes() override;
  void parse_styles(bool is_reparse = false) override;

  FormControlKind Kind() const { return kind_; }
  int Index() const { return index_; }
  std::string Name() const;  // UTF-8
  // A drop-down list's items (UTF-8) and the one selected first.
  std::vector<std::string> Items() const;
  int InitialSelection() const;
  // An edit's value, a text area's text or a button's caption as the page gives it (UTF-8).
  std::string InitialText() const;
  bool InitiallyChecked() const;
  // The size of the control for text of `metrics`, when the page does not set one.
  QSize NaturalSize(const QFontMetrics& metrics) const;

 private:
  std::vector<litehtml::element::ptr> OptionElements() const;
  std::string ContentText() const;
  int NumberAttr(const char* name, int fallback, int max) const;

  FormControlKind kind_;
  int index_;
  std::vector<litehtml::element::ptr> content_;
};

// <input type=hidden>: no box at all.
class THiddenInput : public litehtml::html_tag {
 public:
  using litehtml::html_tag::html_tag;
  void parse_styles(bool is_reparse = false) override;
};

}  // namespace quire::engine::html
