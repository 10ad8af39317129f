// Text of the book: Windows-1251 bytes in std::string, and the bridges to Qt and UTF-8.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace quire::platform {

// ASCII-only case mapping; every other byte (Cyrillic included) is left alone.
char AsciiLowerChar(char c);
char AsciiUpperChar(char c);
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// ASCII letters and the 32 basic Cyrillic lower-case letters (bytes 224..255) to upper case;
// "ё" and the other Windows-1251 letters are left alone. Archive names are kept in this form.
std::string UpperAsciiAndBasicCyrillic(std::string_view text);

// The user locale's case mapping of Windows-1251 text: Latin and every Cyrillic letter of the
// code page, ё/Ё included.
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);

// Locale comparison without regard to case: < 0, 0 or > 0. Letters sort alphabetically
// (Latin before Cyrillic, Ё right after Е); other bytes by their value.
int AnsiCompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Byte position of the first case-insensitive occurrence of `needle`, or npos.
size_t FindText(std::string_view haystack, std::string_view needle);

// Whether `part` occurs in `text`, case counting.
inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Removes leading and trailing characters with codes up to 32.
std::string Trim(std::string_view text);
// Drops the blanks at both ends and makes every run of blanks inside one space; `isBlank`
// says which characters are blanks.
std::string CollapseBlanks(std::string_view text, bool (*isBlank)(char));

// Conversions at the widget and host boundary.
QString ToQString(std::string_view cp1251);
// Characters Windows-1251 cannot hold become "?".
std::string FromQString(const QString& text);
std::string Cp1251ToUtf8(std::string_view cp1251);
// Empty optional when the text is not valid UTF-8 or holds a character Windows-1251 lacks.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8);

// A text of the program, written in UTF-8 in the source, as the book's Windows-1251.
std::string Ansi(std::string_view utf8);

// Decodes page bytes in a declared charset ("windows-1251", "koi8-r", "utf-8", any case);
// an unknown or empty charset is read as Windows-1251.
QString DecodeText(std::string_view bytes, std::string_view charset);

}  // namespace quire::platform
