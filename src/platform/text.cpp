#include "platform/text.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace quire::platform {

namespace {

constexpr unsigned char Byte(char c) {
  return static_cast<unsigned char>(c);
}

// Windows-1251 letter pairs outside the contiguous А..я block: {upper, lower}.
constexpr std::array<std::pair<unsigned char, unsigned char>, 15> kExtraCyrillicPairs{{
    {0x80, 0x90},  // Ђ ђ
    {0x81, 0x83},  // Ѓ ѓ
    {0x8A, 0x9A},  // Љ љ
    {0x8C, 0x9C},  // Њ њ
    {0x8D, 0x9D},  // Ќ ќ
    {0x8E, 0x9E},  // Ћ ћ
    {0x8F, 0x9F},  // Џ џ
    {0xA1, 0xA2},  // Ў ў
    {0xA3, 0xBC},  // Ј ј
    {0xA5, 0xB4},  // Ґ ґ
    {0xA8, 0xB8},  // Ё ё
    {0xAA, 0xBA},  // Є є
    {0xAF, 0xBF},  // Ї ї
    {0xB2, 0xB3},  // І і
    {0xBD, 0xBE},  // Ѕ ѕ
}};

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
  // Sort weight of a byte after upper-casing.
  std::array<unsigned, 256> weight{};

  constexpr CaseTables() {
    for (unsigned i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<unsigned char>(i);
    for (unsigned c = 'a'; c <= 'z'; ++c) {
      upper[c] = static_cast<unsigned char>(c - 32);
      lower[c - 32] = static_cast<unsigned char>(c);
    }
    for (unsigned c = 0xE0; c <= 0xFF; ++c) {
      upper[c] = static_cast<unsigned char>(c - 32);
      lower[c - 32] = static_cast<unsigned char>(c);
    }
    for (auto [up, low] : kExtraCyrillicPairs) {
      upper[low] = up;
      lower[up] = low;
    }
    for (unsigned i = 0; i < 256; ++i) weight[i] = i * 2;
    weight[0xA8] = 0xC5 * 2 + 1;  // Ё sorts right after Е
  }
};

constexpr CaseTables kCase;

}  // namespace

char AsciiLowerChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
char AsciiUpperChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLowerChar(c);
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpperChar(c);
  return out;
}

std::string UpperAsciiAndBasicCyrillic(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    c = AsciiUpperChar(c);
    if (Byte(c) >= 224) c = static_cast<char>(Byte(c) - 32);
  }
  return out;
}

char AnsiUpperChar(char c) {
  return static_cast<char>(kCase.upper[Byte(c)]);
}
char AnsiLowerChar(char c) {
  return static_cast<char>(kCase.lower[Byte(c)]);
}

std::string AnsiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AnsiUpperChar(c);
  return out;
}

std::string AnsiLowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AnsiLowerChar(c);
  return out;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned wa = kCase.weight[kCase.upper[Byte(a[i])]];
    const unsigned wb = kCase.weight[kCase.upper[Byte(b[i])]];
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

size_t FindText(std::string_view haystack, std::string_view needle) {
  if (needle.size() > haystack.size()) return std::string_view::npos;
  for (size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
    if (SameText(haystack.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

std::string Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && Byte(text[begin]) <= 32) ++begin;
  while (end > begin && Byte(text[end - 1]) <= 32) --end;
  return std::string(text.substr(begin, end - begin));
}

QString ToQString(std::string_view cp1251) {
  QStringDecoder decoder("windows-1251");
  return decoder.decode(QByteArrayView(cp1251.data(), static_cast<qsizetype>(cp1251.size())));
}

std::string FromQString(const QString& text) {
  QStringEncoder encoder("windows-1251");
  QByteArray bytes = encoder.encode(text);
  if (encoder.hasError()) {
    // Encode each character alone so that those the code page lacks become "?", as Windows
    // writes them.
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
      const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
      QStringEncoder single("windows-1251");
      const QByteArray one = single.encode(QStringView(text).mid(i, length));
      bytes += single.hasError() ? QByteArray("?") : one;
      i += length;
    }
  }
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  const QByteArray utf8 = ToQString(cp1251).toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

std::optional<std::string> Utf8ToCp1251(std::string_view utf8) {
  QStringDecoder decoder(QStringConverter::Utf8);
  const QString text =
      decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
  if (decoder.hasError()) return std::nullopt;
  QStringEncoder encoder("windows-1251");
  const QByteArray bytes = encoder.encode(text);
  if (encoder.hasError()) return std::nullopt;
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString DecodeText(std::string_view bytes, std::string_view charset) {
  const std::string name = AsciiLower(Trim(charset));
  const char* codec = "windows-1251";
  if (name == "koi8-r" || name == "koi8r") {
    codec = "KOI8-R";
  } else if (name == "utf-8" || name == "utf8") {
    codec = "UTF-8";
  }
  QStringDecoder decoder(codec);
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string CollapseBlanks(std::string_view text, bool (*isBlank)(char)) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    if (isBlank(c)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

std::string Ansi(std::string_view utf8) {
  return FromQString(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace quire::platform
