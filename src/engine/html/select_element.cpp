#include "engine/html/select_element.h"

namespace quire::engine::html {
namespace {

std::string Collapse(const std::string& text) {
  std::string out;
  bool space = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

}  // namespace

TSelectElement::TSelectElement(const std::shared_ptr<litehtml::document>& doc, int index)
    : litehtml::el_image(doc), index_(index) {}

bool TSelectElement::appendChild(const litehtml::element::ptr& el) {
  if (el) options_.push_back(el);
  return true;
}

void TSelectElement::parse_attributes() {
  set_attr("src", SourceOf(index_).c_str());
  litehtml::el_image::parse_attributes();
}

std::string TSelectElement::Name() const {
  const char* name = get_attr("name");
  return name ? name : "";
}

std::vector<litehtml::element::ptr> TSelectElement::OptionElements() const {
  std::vector<litehtml::element::ptr> out;
  for (const auto& el : options_) {
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

std::vector<std::string> TSelectElement::Items() const {
  std::vector<std::string> items;
  for (const auto& option : OptionElements()) {
    litehtml::tstring text;
    option->get_text(text);
    items.push_back(Collapse(text));
  }
  return items;
}

int TSelectElement::InitialSelection() const {
  const auto options = OptionElements();
  for (size_t i = 0; i < options.size(); ++i) {
    if (options[i]->get_attr("selected")) return static_cast<int>(i);
  }
  return options.empty() ? -1 : 0;
}

}  // namespace quire::engine::html
