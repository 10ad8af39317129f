// The lexical rules of description files: keys found by substring search on a line cursor,
// values read at positions relative to the key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quire::core {

using Lines = std::vector<std::string>;

// A problem met while reading a description; the shell keeps what was read regardless.
struct DescriptionError {
  size_t Line = 0;  // 1-based
  std::string Message;
};

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

// Value kinds. Positions are 0-based indexes into the line.
// Number: skip to a digit or "-", take the run of digits and "-"; -1 when it is no integer.
std::int32_t ReadNumber(std::string_view line, size_t start);
// Word: up to ";" or the end of the line, trimmed of codes up to 32.
std::string ReadWord(std::string_view line, size_t start);
// Colour "r,g,b" as r + 256*g + 65536*b, each taken as a byte. `complete` tells whether all
// three numbers were there.
std::int32_t ReadColour(std::string_view line, size_t start, bool* complete = nullptr);

class DescriptionReader {
 public:
  DescriptionReader(const Lines& lines, std::string exeDir, std::string driveRoot)
      : lines_(lines), exeDir_(std::move(exeDir)), driveRoot_(std::move(driveRoot)) {}

  const Lines& AllLines() const { return lines_; }
  size_t Cursor() const { return cursor_; }
  void SetCursor(size_t line) { cursor_ = line; }
  bool AtEnd() const { return cursor_ >= lines_.size(); }
  const std::string& Line() const { return lines_[cursor_]; }

  // Moves the cursor forward to the first line (from the cursor on) holding `key`; its
  // position there. Empty, with an error recorded and the cursor past the end, when no
  // line holds it: the declaration being read is cut short.
  std::optional<size_t> FindKey(std::string_view key);

  // Values of a key found at `at` on the cursor line.
  std::int32_t Number(size_t at) const { return ReadNumber(Line(), at); }
  std::string Word(size_t at) const;
  std::string Path(size_t at) const { return Resolve(Word(at)); }
  std::int32_t Colour(size_t at);
  // A list from the first "[" of the cursor line, running over line ends; items resolved.
  std::vector<std::string> List();
  // A list of "x,y" items, at most `maxPoints` of them kept; empty, with an error recorded,
  // when an item is not two integers.
  std::optional<std::vector<TPoint>> Points(size_t maxPoints);

  std::string Resolve(std::string_view value) const;
  const std::string& ExeDir() const { return exeDir_; }

  void Error(std::string message) { Error(cursor_, std::move(message)); }
  void Error(size_t line, std::string message);
  const std::vector<DescriptionError>& Errors() const { return errors_; }

 private:
  const Lines& lines_;
  std::string exeDir_;
  std::string driveRoot_;
  size_t cursor_ = 0;
  std::vector<DescriptionError> errors_;
};

}  // namespace quire::core
