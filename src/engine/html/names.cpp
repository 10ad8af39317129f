#include "engine/html/names.h"

#include <vector>

#include "platform/paths.h"
#include "platform/text.h"

namespace quire::engine::html {
namespace {

bool HasScheme(std::string_view url) {
  const std::string lower = platform::AsciiLower(url.substr(0, 16));
  return url.find("://") != std::string_view::npos || lower.starts_with("http:") ||
         lower.starts_with("mailto:");
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Folds "." and ".." in the part after the drive; never climbs above the drive.
std::string FoldDots(std::string_view path) {
  const std::string drive = platform::ExtractFileDrive(path);
  std::string_view rest = path.substr(drive.size());
  const bool rooted = !rest.empty() && rest[0] == '\\';
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t slash = rest.find('\\', start);
    if (slash == std::string_view::npos) slash = rest.size();
    const std::string_view part = rest.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != "." && !(part.empty() && slash < rest.size())) {
      parts.emplace_back(part);
    }
    start = slash + 1;
  }
  std::string out = drive;
  if (rooted) out += '\\';
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += '\\';
    out += parts[i];
  }
  return out;
}

}  // namespace

std::string WithoutAnchor(std::string_view name) {
  return std::string(name.substr(0, name.find('#')));
}

std::string AnchorOf(std::string_view name) {
  const size_t hash = name.find('#');
  return hash == std::string_view::npos ? "" : std::string(name.substr(hash + 1));
}

std::string ExpandName(std::string_view url, std::string_view currentDocument) {
  std::string name(url);
  while (!name.empty() && static_cast<unsigned char>(name.front()) <= ' ') name.erase(0, 1);
  while (!name.empty() && static_cast<unsigned char>(name.back()) <= ' ') name.pop_back();
  if (HasScheme(name) && !platform::AsciiLower(name).starts_with("file:")) return name;
  if (platform::AsciiLower(name).starts_with("file:")) {
    name.erase(0, 5);
    while (name.starts_with("/")) name.erase(0, 1);
  }
  // %20 and the like, as browsers undo them in file links.
  std::string decoded;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '%' && i + 2 < name.size() && HexValue(name[i + 1]) >= 0 &&
        HexValue(name[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(name[i + 1]) * 16 + HexValue(name[i + 2]));
      i += 2;
    } else {
      decoded += name[i] == '/' ? '\\' : name[i];
    }
  }
  name = decoded;
  if (name.starts_with("\\\\")) return name;
  if (name.size() >= 2 && name[1] == ':') return name;
  const std::string current = WithoutAnchor(currentDocument);
  if (name.empty()) return current;
  if (name[0] == '#') return current + name;
  const std::string anchor = name.find('#') == std::string::npos ? "" : "#" + AnchorOf(name);
  const std::string file = WithoutAnchor(name);
  std::string full;
  if (file[0] == '\\') {
    full = platform::ExtractFileDrive(current) + file;
  } else {
    full = platform::ExtractFilePath(current) + file;
  }
  return FoldDots(full) + anchor;
}

UrlParts SplitUrl(std::string_view url) {
  UrlParts parts;
  std::string_view rest = url;
  const size_t sep = url.find("://");
  if (sep != std::string_view::npos) {
    parts.Scheme = std::string(url.substr(0, sep));
    rest = url.substr(sep + 3);
  } else {
    const std::string lower = platform::AsciiLower(url.substr(0, 7));
    for (std::string_view scheme : {std::string_view("http"), std::string_view("mailto")}) {
      if (lower.starts_with(std::string(scheme) + ":")) {
        parts.Scheme = std::string(url.substr(0, scheme.size()));
        parts.Path = std::string(url.substr(scheme.size() + 1));
        return parts;
      }
    }
    parts.Path = std::string(url);
    return parts;
  }
  const size_t slash = rest.find('/');
  std::string_view authority = rest.substr(0, slash);
  if (slash != std::string_view::npos) parts.Path = std::string(rest.substr(slash));
  if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
    const std::string_view user = authority.substr(0, at);
    const size_t colon = user.find(':');
    parts.User = std::string(user.substr(0, colon));
    if (colon != std::string_view::npos) parts.Password = std::string(user.substr(colon + 1));
    authority = authority.substr(at + 1);
  }
  if (const size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
    const std::string_view port = authority.substr(colon + 1);
    bool digits = !port.empty();
    for (char c : port) digits = digits && c >= '0' && c <= '9';
    if (digits) {
      parts.Port = std::string(port);
      authority = authority.substr(0, colon);
    }
  }
  parts.Host = std::string(authority);
  return parts;
}

}  // namespace quire::engine::html
