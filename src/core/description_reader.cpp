#include "core/description_reader.h"

#include <charconv>

#include "core/resolve_path.h"
#include "platform/text.h"

namespace quire::core {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Decimal text as an int32, with an optional sign; empty when it is anything else.
std::optional<std::int32_t> ParseInt(std::string_view text) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// The number at or after `start`, and where its run begins; empty when the line has no
// digit or "-" from there.
std::optional<std::pair<std::int32_t, size_t>> NumberRun(std::string_view line, size_t start) {
  size_t i = start;
  while (i < line.size() && !IsDigit(line[i]) && line[i] != '-') ++i;
  if (i >= line.size()) return std::nullopt;
  size_t end = i;
  while (end < line.size() && (IsDigit(line[end]) || line[end] == '-')) ++end;
  return std::pair{ParseInt(line.substr(i, end - i)).value_or(-1), i};
}

}  // namespace

std::int32_t ReadNumber(std::string_view line, size_t start) {
  const auto run = NumberRun(line, start);
  return run ? run->first : -1;
}

std::string ReadWord(std::string_view line, size_t start) {
  if (start >= line.size()) return {};
  const size_t end = line.find(';', start);
  return platform::Trim(line.substr(start, end == std::string_view::npos ? end : end - start));
}

std::int32_t ReadColour(std::string_view line, size_t start, bool* complete) {
  size_t i = start;
  while (i < line.size() && !IsDigit(line[i])) ++i;
  std::int32_t parts[3] = {-1, -1, -1};
  // Complete when all three numbers stand in the colour's own text, before the next ";".
  const size_t textEnd = std::min(line.find(';', start), line.size());
  bool all = true;
  for (std::int32_t& part : parts) {
    const auto run = NumberRun(line, i);
    all = all && run && run->second < textEnd;
    part = run ? run->first : -1;
    // The next number is looked for one character past the text of this one.
    i += std::to_string(part).size() + 1;
  }
  if (complete) *complete = all;
  return (parts[0] & 0xFF) | (parts[1] & 0xFF) << 8 | (parts[2] & 0xFF) << 16;
}

std::optional<size_t> DescriptionReader::FindKey(std::string_view key) {
  for (; cursor_ < lines_.size(); ++cursor_) {
    const size_t at = lines_[cursor_].find(key);
    if (at != std::string::npos) return at;
  }
  Error(lines_.empty() ? 0 : lines_.size() - 1,
        "the file ends before the key \"" + platform::Cp1251ToUtf8(key) + "\"");
  return std::nullopt;
}

std::string DescriptionReader::Word(size_t at) const {
  return ReadWord(Line(), at);
}

std::int32_t DescriptionReader::Colour(size_t at) {
  bool complete = true;
  const std::int32_t colour = ReadColour(Line(), at, &complete);
  if (!complete) Error("a colour needs three numbers");
  return colour;
}

std::vector<std::string> DescriptionReader::List() {
  std::vector<std::string> items;
  const size_t open = Line().find('[');
  if (open == std::string::npos) return items;
  const size_t start = cursor_;
  size_t i = open + 1;
  for (;;) {
    const std::string& line = Line();
    const size_t stop = std::min(line.find_first_of(";]", i), line.size());
    items.push_back(platform::Trim(
        std::string_view(line).substr(std::min(i, line.size()), stop - std::min(i, line.size()))));
    if (stop < line.size() && line[stop] == ']') break;
    if (stop < line.size()) {
      i = stop + 1;  // step over ";"
      continue;
    }
    if (cursor_ + 1 >= lines_.size()) {
      Error(start, "a list that opens with \"[\" is never closed");
      break;
    }
    ++cursor_;
    i = 0;
  }
  for (std::string& item : items) item = Resolve(item);
  return items;
}

std::optional<std::vector<TPoint>> DescriptionReader::Points(size_t maxPoints) {
  std::vector<TPoint> points;
  const std::vector<std::string> items = List();
  for (const std::string& item : items) {
    const size_t comma = item.find(',');
    const auto x =
        comma == std::string::npos ? std::nullopt : ParseInt(platform::Trim(item.substr(0, comma)));
    const auto y = comma == std::string::npos ? std::nullopt
                                              : ParseInt(platform::Trim(item.substr(comma + 1)));
    if (!x || !y) {
      Error("the point \"" + platform::Cp1251ToUtf8(item) + "\" is not two integers x,y");
      return std::nullopt;
    }
    if (points.size() < maxPoints) points.push_back({*x, *y});
  }
  if (items.size() > maxPoints) {
    Error("more than " + std::to_string(maxPoints) + " points; the rest are left out");
  }
  return points;
}

std::string DescriptionReader::Resolve(std::string_view value) const {
  return ResolvePath(value, exeDir_, driveRoot_);
}

void DescriptionReader::Error(size_t line, std::string message) {
  errors_.push_back({line + 1, std::move(message)});
}

}  // namespace quire::core
