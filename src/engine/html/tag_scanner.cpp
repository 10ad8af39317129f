#include "engine/html/tag_scanner.h"

namespace quire::engine::html {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IsAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool IsRawTextElement(std::string_view name) {
  return name == "script" || name == "style" || name == "title" || name == "textarea" ||
         name == "xmp";
}

// Position of "</name" (any case) at or after `from`, or npos.
size_t FindEndTag(std::string_view html, std::string_view name, size_t from) {
  for (size_t p = html.find("</", from); p != std::string_view::npos; p = html.find("</", p + 2)) {
    if (p + 2 + name.size() > html.size()) return std::string_view::npos;
    bool same = true;
    for (size_t i = 0; i < name.size() && same; ++i) same = Lower(html[p + 2 + i]) == name[i];
    if (same) return p;
  }
  return std::string_view::npos;
}

}  // namespace

std::string ToLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

bool TagScanner::Next(Token& token) {
  token = Token{};
  if (pos_ >= html_.size()) return false;
  token.Begin = pos_;
  if (!rawUntil_.empty()) {
    const size_t end = FindEndTag(html_, rawUntil_, pos_);
    pos_ = end == std::string_view::npos ? html_.size() : end;
    token.kind = Token::kRawText;
    token.Name = rawUntil_;
    token.End = pos_;
    rawUntil_.clear();
    if (token.End > token.Begin) return true;
    return Next(token);
  }
  if (html_[pos_] != '<') {
    const size_t lt = html_.find('<', pos_ + 1);
    pos_ = lt == std::string_view::npos ? html_.size() : lt;
    token.kind = Token::kText;
    token.End = pos_;
    return true;
  }
  if (html_.substr(pos_, 4) == "<!--") {
    const size_t end = html_.find("-->", pos_ + 4);
    pos_ = end == std::string_view::npos ? html_.size() : end + 3;
    token.kind = Token::kComment;
    token.End = pos_;
    return true;
  }
  const char next = pos_ + 1 < html_.size() ? html_[pos_ + 1] : '\0';
  if (next == '!' || next == '?') {
    const size_t end = html_.find('>', pos_);
    pos_ = end == std::string_view::npos ? html_.size() : end + 1;
    token.kind = Token::kOther;
    token.End = pos_;
    return true;
  }
  const bool endTag = next == '/';
  const size_t nameAt = pos_ + (endTag ? 2 : 1);
  if (nameAt >= html_.size() || !IsAlpha(html_[nameAt])) {
    // A lone "<" is text.
    const size_t lt = html_.find('<', pos_ + 1);
    pos_ = lt == std::string_view::npos ? html_.size() : lt;
    token.kind = Token::kText;
    token.End = pos_;
    return true;
  }
  token.kind = endTag ? Token::kEndTag : Token::kStartTag;
  pos_ = nameAt;
  ScanTag(token);
  token.End = pos_;
  if (token.kind == Token::kStartTag && IsRawTextElement(token.Name)) rawUntil_ = token.Name;
  return true;
}

void TagScanner::ScanTag(Token& token) {
  const size_t n = html_.size();
  while (pos_ < n && !IsSpace(html_[pos_]) && html_[pos_] != '>' && html_[pos_] != '/') {
    token.Name += Lower(html_[pos_++]);
  }
  while (pos_ < n) {
    while (pos_ < n && (IsSpace(html_[pos_]) || html_[pos_] == '/')) {
      if (html_[pos_] == '/' && pos_ + 1 < n && html_[pos_ + 1] == '>') token.SelfClosing = true;
      ++pos_;
    }
    if (pos_ >= n) return;
    if (html_[pos_] == '>') {
      ++pos_;
      return;
    }
    TagAttr attr;
    while (pos_ < n && !IsSpace(html_[pos_]) && html_[pos_] != '>' && html_[pos_] != '=' &&
           !(html_[pos_] == '/' && attr.Name.size() > 0)) {
      attr.Name += Lower(html_[pos_++]);
    }
    while (pos_ < n && IsSpace(html_[pos_])) ++pos_;
    if (pos_ < n && html_[pos_] == '=') {
      ++pos_;
      while (pos_ < n && IsSpace(html_[pos_])) ++pos_;
      attr.HasValue = true;
      if (pos_ < n && (html_[pos_] == '"' || html_[pos_] == '\'')) {
        const char quote = html_[pos_++];
        const size_t end = html_.find(quote, pos_);
        const size_t stop = end == std::string_view::npos ? n : end;
        attr.Value.assign(html_.substr(pos_, stop - pos_));
        pos_ = end == std::string_view::npos ? n : end + 1;
      } else {
        const size_t start = pos_;
        while (pos_ < n && !IsSpace(html_[pos_]) && html_[pos_] != '>') ++pos_;
        attr.Value.assign(html_.substr(start, pos_ - start));
      }
    }
    if (!attr.Name.empty()) token.Attrs.push_back(std::move(attr));
  }
}

const TagAttr* FindAttr(const Token& tag, std::string_view name) {
  for (const TagAttr& a : tag.Attrs) {
    if (a.Name == name) return &a;
  }
  return nullptr;
}

void AppendStartTag(std::string& out, const Token& tag) {
  out += '<';
  out += tag.Name;
  for (const TagAttr& a : tag.Attrs) {
    out += ' ';
    out += a.Name;
    if (!a.HasValue) continue;
    out += "=\"";
    for (char c : a.Value) {
      if (c == '"') {
        out += "&quot;";
      } else {
        out += c;
      }
    }
    out += '"';
  }
  out += tag.SelfClosing ? " />" : ">";
}

}  // namespace quire::engine::html
