#include "authoring/scramble.h"

#include <QStringDecoder>

#include "platform/text.h"

namespace quire::authoring {

std::string ScrambleText(std::string_view text) {
  // The text sits at the odd places of a work array of twice its length, last byte first;
  // the even places hold filler. The file stores each work byte as its difference from the
  // previous one, less an addend that starts at the length and doubles each step.
  const size_t n = text.size() * 2;
  std::string work(n, '\0');
  std::uint32_t filler = static_cast<std::uint32_t>(n) * 2654435761u;
  for (size_t i = 0; i < n; i += 2) {
    filler = filler * 1103515245u + 12345u;  // fixed sequence: builds are reproducible
    work[i] = static_cast<char>(filler >> 24);
  }
  for (size_t m = 0; m < text.size(); ++m) work[2 * (text.size() - 1 - m) + 1] = text[m];
  std::string out(n, '\0');
  if (n == 0) return out;
  out[0] = work[0];
  unsigned char addend = static_cast<unsigned char>(n % 256);
  for (size_t i = 1; i < n; ++i) {
    out[i] = static_cast<char>(static_cast<unsigned char>(work[i]) -
                               static_cast<unsigned char>(work[i - 1]) - addend);
    addend = static_cast<unsigned char>(addend * 2);
  }
  return out;
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

bool SourceToCp1251(std::string_view source, std::string& out) {
  QStringDecoder utf8(QStringConverter::Utf8);
  const QString decoded =
      utf8.decode(QByteArrayView(source.data(), static_cast<qsizetype>(source.size())));
  if (utf8.hasError()) {
    out = std::string(source);
    return true;
  }
  const std::string converted = platform::FromQString(decoded);
  if (platform::ToQString(converted) != decoded) return false;  // a character became "?"
  out = converted;
  return true;
}

}  // namespace quire::authoring
