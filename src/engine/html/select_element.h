// <select>: laid out as a box of a drop-down list's size; the view puts a real drop-down list
// there. Its <option>s are kept aside instead of being laid out as text.
#pragma once

#include <litehtml/litehtml.h>

#include <litehtml/el_image.h>

#include <string>
#include <vector>

namespace quire::engine::html {

class TSelectElement : public litehtml::el_image {
 public:
  TSelectElement(const std::shared_ptr<litehtml::document>& doc, int index);

  bool appendChild(const litehtml::element::ptr& el) override;
  void parse_attributes() override;

  int Index() const { return index_; }
  std::string Name() const;  // UTF-8
  // The items' texts (UTF-8) and the one selected first.
  std::vector<std::string> Items() const;
  int InitialSelection() const;
  static std::string SourceOf(int index) { return "quire-select:" + std::to_string(index); }

 private:
  std::vector<litehtml::element::ptr> OptionElements() const;
  int index_;
  std::vector<litehtml::element::ptr> options_;
};

}  // namespace quire::engine::html
