#include "engine/html/form_element.h"

#include <algorithm>
#include <cstdlib>

#include "platform/text.h"

namespace quire::engine::html {
namespace {

std::string Collapse(const std::string& text) {
  return platform::CollapseBlanks(
      text, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::string Lower(const litehtml::string_map& attributes, const char* name) {
  auto it = attributes.find(name);
  return it == attributes.end() ? std::string() : platform::AsciiLower(it->second);
}

}  // namespace

TFormElement::TFormElement(const std::shared_ptr<litehtml::document>& doc, FormControlKind kind,
                           int index)
    : litehtml::el_image(doc), kind_(kind), index_(index) {}

std::optional<FormControlKind> TFormElement::KindOf(std::string_view tag,
                                                    const litehtml::string_map& attributes) {
  const std::string type = Lower(attributes, "type");
  if (tag == "select") return FormControlKind::DropDown;
  if (tag == "textarea") return FormControlKind::TextArea;
  if (tag == "button") {
    if (type == "reset") return FormControlKind::Reset;
    return type == "button" ? FormControlKind::Button : FormControlKind::Submit;
  }
  if (tag != "input" || type == "hidden" || type == "image") return std::nullopt;
  static const std::pair<const char*, FormControlKind> kTypes[] = {
      {"password", FormControlKind::Password}, {"checkbox", FormControlKind::CheckBox},
      {"radio", FormControlKind::Radio},       {"submit", FormControlKind::Submit},
      {"reset", FormControlKind::Reset},       {"button", FormControlKind::Button}};
  for (const auto& [name, kind] : kTypes) {
    if (type == name) return kind;
  }
  return FormControlKind::Text;  // browsers show unknown types as edits
}

bool TFormElement::appendChild(const litehtml::element::ptr& el) {
  if (el) content_.push_back(el);
  return true;
}

void TFormElement::parse_attributes() {
  set_attr("src", SourceOf(index_).c_str());
  litehtml::el_image::parse_attributes();
}

void TFormElement::parse_styles(bool is_reparse) {
  litehtml::el_image::parse_styles(is_reparse);
  // A picture given one side scales the other with it; a control keeps its natural one.
  if (m_css_width.is_predefined() == m_css_height.is_predefined()) return;
  litehtml::size natural;
  if (auto doc = get_document())
    doc->container()->get_image_size(SourceOf(index_).c_str(), "", natural);
  if (m_css_width.is_predefined()) {
    m_css_width.set_value(static_cast<float>(natural.width), litehtml::css_units_px);
  } else {
    m_css_height.set_value(static_cast<float>(natural.height), litehtml::css_units_px);
  }
}

std::string TFormElement::Name() const {
  const char* name = get_attr("name");
  return name ? name : "";
}

std::vector<litehtml::element::ptr> TFormElement::OptionElements() const {
  std::vector<litehtml::element::ptr> out;
  for (const auto& el : content_) {
    const std::string tag = el->get_tagName();
    if (tag == "option") {
      out.push_back(el);
    } else if (tag == "optgroup") {
      for (size_t i = 0; i < el->get_children_count(); ++i) {
        auto child = el->get_child(static_cast<int>(i));
        if (child && std::string(child->get_tagName()) == "option") out.push_back(child);
      }
    }
  }
  return out;
}

std::vector<std::string> TFormElement::Items() const {
  std::vector<std::string> items;
  for (const auto& option : OptionElements()) {
    litehtml::tstring text;
    option->get_text(text);
    items.push_back(Collapse(text));
  }
  return items;
}

int TFormElement::InitialSelection() const {
  const auto options = OptionElements();
  for (size_t i = 0; i < options.size(); ++i) {
    if (options[i]->get_attr("selected")) return static_cast<int>(i);
  }
  return options.empty() ? -1 : 0;
}

std::string TFormElement::ContentText() const {
  std::string text;
  for (const auto& el : content_) el->get_text(text);
  return text;
}

std::string TFormElement::InitialText() const {
  const char* value = get_attr("value");
  switch (kind_) {
    case FormControlKind::TextArea:
      return ContentText();
    case FormControlKind::Submit:
    case FormControlKind::Reset:
    case FormControlKind::Button:
      if (std::string(get_tagName()) == "button") return Collapse(ContentText());
      if (value) return value;
      return kind_ == FormControlKind::Submit  ? "Submit"
             : kind_ == FormControlKind::Reset ? "Reset"
                                               : "";
    default:
      return value ? value : "";
  }
}

bool TFormElement::InitiallyChecked() const {
  return get_attr("checked") != nullptr;
}

int TFormElement::NumberAttr(const char* name, int fallback, int max) const {
  const char* value = get_attr(name);
  const int number = value ? std::atoi(value) : 0;
  return number > 0 ? std::min(number, max) : fallback;
}

QSize TFormElement::NaturalSize(const QFontMetrics& metrics) const {
  const int line = metrics.height() + 8;
  const int chars = metrics.averageCharWidth();
  switch (kind_) {
    case FormControlKind::DropDown: {
      int width = 40;
      for (const std::string& item : Items()) {
        width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(item)) + 30);
      }
      return QSize(std::min(width, 600), line);
    }
    case FormControlKind::Text:
    case FormControlKind::Password:
      return QSize(NumberAttr("size", 20, 200) * chars + 8, line);
    case FormControlKind::TextArea:
      return QSize(NumberAttr("cols", 20, 200) * chars + 24,
                   NumberAttr("rows", 2, 100) * metrics.lineSpacing() + 8);
    case FormControlKind::CheckBox:
    case FormControlKind::Radio:
      return QSize(16, 16);
    default:
      return QSize(
          std::min(metrics.horizontalAdvance(QString::fromStdString(InitialText())) + 16, 600),
          line);
  }
}

void THiddenInput::parse_styles(bool is_reparse) {
  litehtml::html_tag::parse_styles(is_reparse);
  m_display = litehtml::display_none;
}

}  // namespace quire::engine::html
