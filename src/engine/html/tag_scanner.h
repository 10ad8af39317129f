// A forgiving scanner of HTML markup for the passes that run before the parser: it splits a
// page into text, tags, comments and raw text (script, style, ...) without ever failing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quire::engine::html {

struct TagAttr {
  std::string Name;  // lower case
  std::string Value;
  bool HasValue = false;
};

struct Token {
  enum Kind { kText, kStartTag, kEndTag, kComment, kOther, kRawText } kind = kText;
  size_t Begin = 0, End = 0;  // the token's bytes in the input
  std::string Name;           // tag name, lower case
  std::vector<TagAttr> Attrs;
  bool SelfClosing = false;
};

class TagScanner {
 public:
  explicit TagScanner(std::string_view html) : html_(html) {}
  // The next token; false at the end of the input.
  bool Next(Token& token);

 private:
  void ScanTag(Token& token);
  std::string_view html_;
  size_t pos_ = 0;
  std::string rawUntil_;  // set after <script>, <style>, ...: the end tag name to look for
};

// The value of an attribute, or nullptr.
const TagAttr* FindAttr(const Token& tag, std::string_view name);
// Writes a start tag back from its parts.
void AppendStartTag(std::string& out, const Token& tag);
std::string ToLower(std::string_view text);

}  // namespace quire::engine::html
