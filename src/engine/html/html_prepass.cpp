#include "engine/html/html_prepass.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "engine/html/tag_scanner.h"
#include "platform/text.h"

namespace quire::engine::html {
namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string TrimSpaces(std::string_view v) {
  size_t b = 0, e = v.size();
  while (b < e && static_cast<unsigned char>(v[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(v[e - 1]) <= ' ') --e;
  return std::string(v.substr(b, e - b));
}

// A colour attribute as CSS; old pages often leave out the "#". "" when it is unusable.
std::string CssColor(std::string_view raw) {
  std::string v = TrimSpaces(raw);
  if (v.empty() || v.size() > 40) return "";
  const bool hex = (v.size() == 6 || v.size() == 3) && std::all_of(v.begin(), v.end(), IsHexDigit);
  if (hex) return "#" + v;
  for (char c : v) {
    if (!(IsHexDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '#')) {
      return "";
    }
  }
  return v;
}

// "100" -> "100px", "50%" -> "50%"; "" when it is no length.
std::string CssLength(std::string_view raw) {
  std::string v = TrimSpaces(raw);
  size_t digits = 0;
  while (digits < v.size() && digits < 7 && IsDigit(v[digits])) ++digits;
  if (digits == 0) return "";
  const std::string number = v.substr(0, digits);
  if (digits < v.size() && v[digits] == '%') return number + "%";
  return number + "px";
}

int IntValue(std::string_view raw, int fallback) {
  std::string v = TrimSpaces(raw);
  if (v.empty()) return fallback;
  size_t i = (v[0] == '+' || v[0] == '-') ? 1 : 0;
  if (i >= v.size() || !IsDigit(v[i])) return fallback;
  long value = 0;
  for (; i < v.size() && IsDigit(v[i]) && value < 100000; ++i) value = value * 10 + (v[i] - '0');
  return v[0] == '-' ? -static_cast<int>(value) : static_cast<int>(value);
}

// A url() that cannot break out of the declaration.
std::string CssUrl(std::string_view raw) {
  std::string v = TrimSpaces(raw);
  std::string out = "url(\"";
  for (char c : v) {
    if (c == '"' || c == '\\' || c == '\n' || c == '\r') continue;
    out += c;
  }
  return out + "\")";
}

// The face list of <font face>, each name quoted.
std::string CssFontFamily(std::string_view raw) {
  std::string out;
  size_t start = 0;
  const std::string v(raw);
  while (start <= v.size()) {
    size_t comma = v.find(',', start);
    if (comma == std::string::npos) comma = v.size();
    std::string name = TrimSpaces(std::string_view(v).substr(start, comma - start));
    name.erase(
        std::remove_if(name.begin(), name.end(),
                       [](char c) { return c == '"' || c == '\'' || c == ';' || c == '\\'; }),
        name.end());
    if (!name.empty()) {
      if (!out.empty()) out += ",";
      out += "\"" + name + "\"";
    }
    start = comma + 1;
  }
  return out;
}

// <font size>: 1..7, or +n/-n from the base size 3, as a share of the default font size.
std::string CssFontSize(std::string_view raw) {
  static const char* kSizes[] = {"0.63rem", "0.82rem", "1rem", "1.13rem", "1.5rem", "2rem", "3rem"};
  const std::string v = TrimSpaces(raw);
  if (v.empty()) return "";
  int size = IntValue(v, 3);
  if (v[0] == '+' || v[0] == '-') size = 3 + size;
  size = std::clamp(size, 1, 7);
  return kSizes[size - 1];
}

void AddDecl(std::string& style, std::string_view property, std::string_view value) {
  if (value.empty()) return;
  style += property;
  style += ':';
  style += value;
  style += ';';
}

// What a table says about its cells.
struct TableContext {
  int Border = 0;
  int Padding = -1;
  std::string BorderColor;
  std::string RowAlign, RowValign;
};

std::string AlignValue(std::string_view raw) {
  const std::string v = ToLower(TrimSpaces(raw));
  if (v == "left" || v == "right" || v == "center" || v == "justify") return v;
  if (v == "middle") return "center";
  return "";
}

std::string ValignValue(std::string_view raw) {
  const std::string v = ToLower(TrimSpaces(raw));
  if (v == "top" || v == "bottom" || v == "middle" || v == "baseline") return v;
  if (v == "center") return "middle";
  return "";
}

void DropMappedAttributes(Token& tag);
std::map<std::string, std::string> SharedClasses(const std::map<std::string, int>& uses);

class AttributeMapper {
 public:
  std::string Run(std::string_view html, std::string* extraCss) {
    // First the style of every start tag, so that styles many tags share become one rule.
    // Only the tags that change are kept; the bytes between them are copied as they are.
    struct Mapped {
      Token Tag;
      std::string Style;
    };
    std::vector<Mapped> changed;
    std::map<std::string, int> uses;
    TagScanner scanner(html);
    Token t;
    while (scanner.Next(t)) {
      if (t.kind == Token::kEndTag && t.Name == "table" && !tables_.empty()) tables_.pop_back();
      if (t.kind != Token::kStartTag) continue;
      std::string style = Map(t);
      const bool cells = t.Name == "table" && AddCellAttributes(t);
      if (style.empty() && !cells) continue;
      if (!style.empty()) ++uses[style];
      changed.push_back({std::move(t), std::move(style)});
    }
    std::map<std::string, std::string> classes = SharedClasses(uses);
    std::string out;
    out.reserve(html.size() + html.size() / 8);
    size_t copied = 0;
    for (Mapped& m : changed) {
      out.append(html.substr(copied, m.Tag.Begin - copied));
      copied = m.Tag.End;
      if (!m.Style.empty()) AddStyle(m.Tag, m.Style, classes);
      DropMappedAttributes(m.Tag);
      AppendStartTag(out, m.Tag);
    }
    out.append(html.substr(copied));
    if (extraCss) {
      *extraCss = linkCss_;
      for (const auto& [style, name] : classes) *extraCss += "." + name + "{" + style + "}";
    }
    return out;
  }

 private:
  // The style as a shared class if many tags have it, else as the tag's style attribute.
  static void AddStyle(Token& tag, const std::string& style,
                       const std::map<std::string, std::string>& classes) {
    auto shared = classes.find(style);
    const bool asClass = shared != classes.end();
    const std::string name = asClass ? "class" : "style";
    TagAttr* own = nullptr;
    for (TagAttr& a : tag.Attrs) {
      if (a.Name == name) own = &a;
    }
    if (asClass) {
      if (own) {
        own->Value += " " + shared->second;
      } else {
        tag.Attrs.push_back({"class", shared->second, true});
      }
    } else if (own) {
      own->Value = style + own->Value;  // the page's own declarations come last and win
    } else {
      tag.Attrs.push_back({"style", style, true});
    }
  }

  // The border and padding the table just opened gives its cells; false when none.
  bool AddCellAttributes(Token& table) const {
    const TableContext& context = tables_.back();
    if (context.Border > 0) {
      const std::string border =
          context.BorderColor.empty() ? "inset #a0a0a0" : "solid " + context.BorderColor;
      table.Attrs.push_back({kCellBorderAttr, border, true});
    }
    if (context.Padding >= 0) {
      table.Attrs.push_back({kCellPaddingAttr, std::to_string(context.Padding), true});
    }
    return context.Border > 0 || context.Padding >= 0;
  }

  std::string Map(const Token& t) {
    std::string s;
    const std::string& n = t.Name;
    auto attr = [&](std::string_view name) -> const TagAttr* { return FindAttr(t, name); };
    auto value = [&](std::string_view name) -> std::string {
      const TagAttr* a = attr(name);
      return a ? a->Value : std::string();
    };
    std::string background;
    if (const TagAttr* a = attr("bgcolor"); a && n != "font") {
      AddDecl(background, "background-color", CssColor(a->Value));
    }
    if (const TagAttr* a = attr("background"); a && !TrimSpaces(a->Value).empty()) {
      AddDecl(background, "background-image", CssUrl(a->Value));
    }
    // The body's background is the whole canvas's, as in browsers.
    if (n == "body") {
      if (!background.empty()) linkCss_ += "html{" + background + "}";
    } else {
      s += background;
    }
    if (n == "body") {
      AddDecl(s, "color", CssColor(value("text")));
      for (auto [name, side] : {std::pair{"leftmargin", "margin-left"},
                                {"rightmargin", "margin-right"},
                                {"topmargin", "margin-top"},
                                {"bottommargin", "margin-bottom"}}) {
        if (attr(name)) AddDecl(s, side, CssLength(value(name)));
      }
      if (attr("marginwidth")) {
        AddDecl(s, "margin-left", CssLength(value("marginwidth")));
        AddDecl(s, "margin-right", CssLength(value("marginwidth")));
      }
      if (attr("marginheight")) {
        AddDecl(s, "margin-top", CssLength(value("marginheight")));
        AddDecl(s, "margin-bottom", CssLength(value("marginheight")));
      }
      if (const std::string c = CssColor(value("link")); !c.empty()) {
        linkCss_ += "a[href]{color:" + c + "}";
      }
      if (const std::string c = CssColor(value("vlink")); !c.empty()) {
        linkCss_ += "a[href].quire-visited{color:" + c + "}";
      }
    } else if (n == "font" || n == "basefont") {
      if (attr("face")) AddDecl(s, "font-family", CssFontFamily(value("face")));
      if (attr("size")) AddDecl(s, "font-size", CssFontSize(value("size")));
      AddDecl(s, "color", CssColor(value("color")));
    } else if (n == "table") {
      MapTable(t, s);
    } else if (n == "tr") {
      if (!tables_.empty()) {
        tables_.back().RowAlign = AlignValue(value("align"));
        tables_.back().RowValign = ValignValue(value("valign"));
      }
      if (attr("height")) AddDecl(s, "height", CssLength(value("height")));
    } else if (n == "td" || n == "th") {
      MapCell(t, s);
    } else if (n == "img") {
      MapImage(t, s);
    } else if (n == "hr") {
      MapRule(t, s);
    } else if (n == "p" || n == "div" || n == "caption" ||
               (n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6')) {
      if (attr("align")) AddDecl(s, "text-align", AlignValue(value("align")));
    } else if (n == "ul" || n == "ol" || n == "li") {
      MapListType(value("type"), s);
    }
    return s;
  }

  void MapTable(const Token& t, std::string& s) {
    TableContext table;
    if (const TagAttr* a = FindAttr(t, "border")) {
      table.Border = a->HasValue && !TrimSpaces(a->Value).empty() ? IntValue(a->Value, 1) : 1;
      table.Border = std::clamp(table.Border, 0, 100);
    }
    if (const TagAttr* a = FindAttr(t, "bordercolor")) table.BorderColor = CssColor(a->Value);
    if (const TagAttr* a = FindAttr(t, "cellpadding")) {
      table.Padding = std::clamp(IntValue(a->Value, 1), 0, 1000);
    }
    if (table.Border > 0) {
      const std::string color = table.BorderColor.empty() ? "#a0a0a0" : table.BorderColor;
      AddDecl(s, "border",
              std::to_string(table.Border) + "px " +
                  (table.BorderColor.empty() ? "outset " : "solid ") + color);
    }
    if (const TagAttr* a = FindAttr(t, "cellspacing")) {
      AddDecl(s, "border-spacing",
              std::to_string(std::clamp(IntValue(a->Value, 2), 0, 1000)) + "px");
    }
    if (const TagAttr* a = FindAttr(t, "width")) AddDecl(s, "width", CssLength(a->Value));
    if (const TagAttr* a = FindAttr(t, "height")) AddDecl(s, "height", CssLength(a->Value));
    if (const TagAttr* a = FindAttr(t, "align")) {
      const std::string align = AlignValue(a->Value);
      if (align == "center") {
        AddDecl(s, "margin-left", "auto");
        AddDecl(s, "margin-right", "auto");
      } else if (align == "left" || align == "right") {
        AddDecl(s, "float", align);
      }
    }
    tables_.push_back(table);
  }

  void MapCell(const Token& t, std::string& s) {
    const TableContext* table = tables_.empty() ? nullptr : &tables_.back();
    std::string align = AlignValue(FindAttr(t, "align") ? FindAttr(t, "align")->Value : "");
    if (align.empty() && table) align = table->RowAlign;
    AddDecl(s, "text-align", align);
    std::string valign = ValignValue(FindAttr(t, "valign") ? FindAttr(t, "valign")->Value : "");
    if (valign.empty() && table) valign = table->RowValign;
    AddDecl(s, "vertical-align", valign);
    if (const TagAttr* a = FindAttr(t, "width")) AddDecl(s, "width", CssLength(a->Value));
    if (const TagAttr* a = FindAttr(t, "height")) AddDecl(s, "height", CssLength(a->Value));
    if (FindAttr(t, "nowrap")) AddDecl(s, "white-space", "nowrap");
  }

  void MapImage(const Token& t, std::string& s) {
    if (const TagAttr* a = FindAttr(t, "width")) AddDecl(s, "width", CssLength(a->Value));
    if (const TagAttr* a = FindAttr(t, "height")) AddDecl(s, "height", CssLength(a->Value));
    if (const TagAttr* a = FindAttr(t, "align")) {
      const std::string v = ToLower(TrimSpaces(a->Value));
      if (v == "left" || v == "right") {
        AddDecl(s, "float", v);
      } else if (v == "middle" || v == "absmiddle" || v == "center") {
        AddDecl(s, "vertical-align", "middle");
      } else if (v == "top" || v == "texttop") {
        AddDecl(s, "vertical-align", "top");
      } else if (v == "bottom" || v == "absbottom" || v == "baseline") {
        AddDecl(s, "vertical-align", "baseline");
      }
    }
    if (const TagAttr* a = FindAttr(t, "hspace")) {
      const std::string len = CssLength(a->Value);
      AddDecl(s, "margin-left", len);
      AddDecl(s, "margin-right", len);
    }
    if (const TagAttr* a = FindAttr(t, "vspace")) {
      const std::string len = CssLength(a->Value);
      AddDecl(s, "margin-top", len);
      AddDecl(s, "margin-bottom", len);
    }
    if (const TagAttr* a = FindAttr(t, "border")) {
      const int width = std::clamp(IntValue(a->Value, 0), 0, 100);
      AddDecl(s, "border", width > 0 ? std::to_string(width) + "px solid" : "none");
    }
  }

  void MapRule(const Token& t, std::string& s) {
    if (const TagAttr* a = FindAttr(t, "width")) AddDecl(s, "width", CssLength(a->Value));
    const TagAttr* color = FindAttr(t, "color");
    if (const TagAttr* a = FindAttr(t, "size")) {
      const int size = std::clamp(IntValue(a->Value, 2), 1, 100);
      AddDecl(s, "height", std::to_string(std::max(0, size - 2)) + "px");
    }
    if (FindAttr(t, "noshade") || color) {
      const std::string c = color ? CssColor(color->Value) : "gray";
      AddDecl(s, "border-style", "solid");
      AddDecl(s, "border-color", c.empty() ? "gray" : c);
      AddDecl(s, "background-color", c.empty() ? "gray" : c);
    }
    if (const TagAttr* a = FindAttr(t, "align")) {
      const std::string align = AlignValue(a->Value);
      if (align == "left") AddDecl(s, "margin-left", "0");
      if (align == "right") AddDecl(s, "margin-right", "0");
      if (align == "left") AddDecl(s, "margin-right", "auto");
      if (align == "right") AddDecl(s, "margin-left", "auto");
    }
  }

  static void MapListType(std::string_view raw, std::string& s) {
    const std::string v = TrimSpaces(raw);
    static const std::map<std::string, std::string> kTypes = {
        {"1", "decimal"},     {"a", "lower-alpha"}, {"A", "upper-alpha"}, {"i", "lower-roman"},
        {"I", "upper-roman"}, {"disc", "disc"},     {"circle", "circle"}, {"square", "square"},
        {"DISC", "disc"},     {"CIRCLE", "circle"}, {"SQUARE", "square"}};
    if (auto it = kTypes.find(v); it != kTypes.end()) AddDecl(s, "list-style-type", it->second);
  }

  std::vector<TableContext> tables_;
  std::string linkCss_;
};

// Styles used by many tags (the cells of a table, say) become class rules: the layout reads a
// rule once instead of one style attribute per tag. Only the most used few, since every
// element is matched against every rule.
std::map<std::string, std::string> SharedClasses(const std::map<std::string, int>& uses) {
  constexpr int kMinUses = 4;
  constexpr size_t kMaxRules = 24;
  std::vector<std::pair<int, std::string>> frequent;
  for (const auto& [style, count] : uses) {
    if (count >= kMinUses) frequent.emplace_back(count, style);
  }
  std::sort(frequent.begin(), frequent.end(), std::greater<>());
  if (frequent.size() > kMaxRules) frequent.resize(kMaxRules);
  std::map<std::string, std::string> classes;
  for (const auto& [count, style] : frequent) {
    classes.emplace(style, "quire-p" + std::to_string(classes.size()));
  }
  return classes;
}

// Attributes the style now carries are left out, so the layout does not apply them again.
void DropMappedAttributes(Token& tag) {
  static const char* kMapped[] = {"bgcolor",     "background",  "align",       "valign",
                                  "cellpadding", "cellspacing", "border",      "bordercolor",
                                  "face",        "size",        "color",       "text",
                                  "nowrap",      "hspace",      "vspace",      "noshade",
                                  "leftmargin",  "topmargin",   "marginwidth", "marginheight"};
  const bool keepSizes = tag.Name == "img";
  std::erase_if(tag.Attrs, [&](const TagAttr& a) {
    if (!keepSizes && (a.Name == "width" || a.Name == "height")) return true;
    for (const char* name : kMapped) {
      if (a.Name == name) return true;
    }
    return false;
  });
}

bool IsTablePart(std::string_view name) {
  return name == "table" || name == "tr" || name == "td" || name == "th" || name == "tbody" ||
         name == "thead" || name == "tfoot" || name == "caption" || name == "col" ||
         name == "colgroup";
}

bool IsVoidElement(std::string_view name) {
  static const char* kVoid[] = {"area",    "base",   "basefont", "br",     "col",
                                "embed",   "frame",  "hr",       "img",    "input",
                                "isindex", "keygen", "link",     "meta",   "param",
                                "source",  "track",  "wbr",      "spacer", "bgsound"};
  for (const char* v : kVoid) {
    if (name == v) return true;
  }
  return false;
}

constexpr long kMaxOpenFormatting = 24;

bool IsFormatting(std::string_view name) {
  static const char* kFormatting[] = {"a",    "b", "big",   "code",   "em",     "font", "i",
                                      "nobr", "s", "small", "strike", "strong", "tt",   "u"};
  for (const char* f : kFormatting) {
    if (name == f) return true;
  }
  return false;
}

// Start tags that close an open element of the same kind, as the parser will do.
bool ClosesSameKind(std::string_view name) {
  return name == "p" || name == "li" || name == "td" || name == "th" || name == "tr" ||
         name == "option" || name == "dt" || name == "dd";
}

}  // namespace

std::string DeclaredCharset(std::string_view bytes) {
  const std::string head = ToLower(bytes.substr(0, 4096));
  size_t at = head.find("charset");
  while (at != std::string::npos) {
    size_t p = at + 7;
    while (p < head.size() && head[p] == ' ') ++p;
    if (p >= head.size() || head[p] != '=') {
      at = head.find("charset", at + 7);
      continue;
    }
    ++p;
    while (p < head.size() && (head[p] == ' ' || head[p] == '"' || head[p] == 0x27)) ++p;
    std::string name;
    while (p < head.size() && name.size() < 40 &&
           ((head[p] >= 'a' && head[p] <= 'z') || IsDigit(head[p]) || head[p] == '-' ||
            head[p] == '_')) {
      name += head[p++];
    }
    if (!name.empty()) return name;
    at = head.find("charset", at + 7);
  }
  return "";
}

std::string DecodePage(std::string_view bytes) {
  std::string text;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    text = platform::DecodeText(bytes.substr(3), "utf-8").toUtf8().toStdString();
  } else {
    std::string charset = DeclaredCharset(bytes);
    if (charset == "utf8") charset = "utf-8";
    if (charset == "cp1251" || charset == "win-1251") charset = "windows-1251";
    if (charset == "koi8r") charset = "koi8-r";
    text = platform::DecodeText(bytes, charset).toUtf8().toStdString();
  }
  // The parser takes the page as a C string: a NUL byte would end the page there.
  std::erase(text, '\0');
  return text;
}

std::string CapNesting(std::string_view html, int maxDepth, int maxElementDepth) {
  std::string out;
  out.reserve(html.size());
  int tableDepth = 0;
  std::vector<std::string> open;       // elements open, as the parser will see them
  std::map<std::string, int> dropped;  // start tags dropped for depth, by name
  TagScanner scanner(html);
  Token t;
  while (scanner.Next(t)) {
    const std::string_view bytes = html.substr(t.Begin, t.End - t.Begin);
    if (t.kind == Token::kStartTag || t.kind == Token::kEndTag) {
      if (IsTablePart(t.Name)) {
        const bool start = t.kind == Token::kStartTag;
        if (start && t.Name == "table") ++tableDepth;
        const bool tooDeep = tableDepth > maxDepth;
        if (!start && t.Name == "table" && tableDepth > 0) --tableDepth;
        if (tooDeep) {
          // Keep the words of dropped cells and rows apart.
          if (t.Name == "tr" || t.Name == "table" || t.Name == "caption") {
            out += "<br>";
          } else if (t.Name == "td" || t.Name == "th") {
            out += ' ';
          }
          continue;
        }
      }
      if (t.kind == Token::kStartTag && !IsVoidElement(t.Name) && !t.SelfClosing) {
        if (ClosesSameKind(t.Name)) {
          auto it = std::find(open.rbegin(), open.rend(), t.Name);
          if (it != open.rend() && std::distance(open.rbegin(), it) < 3) {
            open.erase(std::next(it).base(), open.end());
          }
        }
        // The parser opens every unclosed formatting element again in each new block, so
        // hundreds of them would multiply a page; a few dozen is more than any page needs.
        const bool tooManyFormats =
            IsFormatting(t.Name) &&
            std::count_if(open.begin(), open.end(), IsFormatting) >= kMaxOpenFormatting;
        if (static_cast<int>(open.size()) >= maxElementDepth || tooManyFormats) {
          ++dropped[t.Name];
          continue;
        }
        open.push_back(t.Name);
      } else if (t.kind == Token::kEndTag) {
        auto it = std::find(open.rbegin(), open.rend(), t.Name);
        if (it != open.rend()) {
          open.erase(std::next(it).base(), open.end());
        } else if (dropped[t.Name] > 0) {
          --dropped[t.Name];
          continue;
        }
      }
    }
    out.append(bytes);
  }
  return out;
}

std::string StripStyleComments(std::string_view html) {
  std::string out;
  out.reserve(html.size());
  TagScanner scanner(html);
  Token t;
  while (scanner.Next(t)) {
    std::string_view bytes = html.substr(t.Begin, t.End - t.Begin);
    if (t.kind != Token::kRawText || t.Name != "style") {
      out.append(bytes);
      continue;
    }
    for (size_t i = 0; i < bytes.size();) {
      if (bytes.substr(i, 4) == "<!--") {
        i += 4;
      } else if (bytes.substr(i, 3) == "-->") {
        i += 3;
      } else {
        out += bytes[i++];
      }
    }
  }
  return out;
}

std::string MapPresentationalAttributes(std::string_view html, std::string* extraCss) {
  return AttributeMapper().Run(html, extraCss);
}

PreparedPage PreparePage(std::string_view bytes) {
  PreparedPage page;
  const std::string text = StripStyleComments(CapNesting(DecodePage(bytes)));
  page.Html = MapPresentationalAttributes(text, &page.ExtraCss);
  return page;
}

}  // namespace quire::engine::html
