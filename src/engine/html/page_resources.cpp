#include "engine/html/page_resources.h"

#include <QFontDatabase>

namespace quire::engine::html {
namespace {

QString Utf8(const std::string& text) {
  return QString::fromUtf8(text);
}

// An installed family for a face a book names: the face itself, else its metric-compatible
// stand-in, else nothing (the caller falls back to a sans face).
QString InstalledFamily(const QString& face) {
  if (QFontDatabase::hasFamily(face)) return face;
  static const struct {
    const char* face;
    const char* standIn;
  } kStandIns[] = {
      {"arial", "Liberation Sans"},
      {"helvetica", "Liberation Sans"},
      {"ms sans serif", "Liberation Sans"},
      {"verdana", "DejaVu Sans"},
      {"tahoma", "DejaVu Sans"},
      {"sans-serif", "Liberation Sans"},
      {"arial narrow", "Liberation Sans Narrow"},
      {"times new roman", "Liberation Serif"},
      {"times", "Liberation Serif"},
      {"ms serif", "Liberation Serif"},
      {"serif", "Liberation Serif"},
      {"georgia", "DejaVu Serif"},
      {"courier new", "Liberation Mono"},
      {"courier", "Liberation Mono"},
      {"monospace", "Liberation Mono"},
      {"lucida console", "DejaVu Sans Mono"},
  };
  const QString lower = face.toLower();
  for (const auto& s : kStandIns) {
    if (lower == QLatin1String(s.face) && QFontDatabase::hasFamily(s.standIn)) return s.standIn;
  }
  return QString();
}

// "Times New Roman", serif -> the installed families to try, then the default face.
QStringList FontFamilies(const std::string& faceName, const std::string& fallback) {
  QStringList families;
  auto add = [&](QString face) {
    face = face.trimmed();
    if (face.size() >= 2 && (face.startsWith('"') || face.startsWith('\''))) {
      face = face.mid(1, face.size() - 2).trimmed();
    }
    if (face.isEmpty()) return;
    const QString family = InstalledFamily(face);
    if (!family.isEmpty() && !families.contains(family)) families << family;
  };
  for (const QString& part : Utf8(faceName).split(',')) add(part);
  add(QString::fromUtf8(fallback));
  add("Arial");
  if (families.isEmpty()) families << "DejaVu Sans";
  return families;
}

}  // namespace

litehtml::context* TPageResources::Context(const std::string& masterCss) {
  auto& context = contexts_[masterCss];
  if (!context) {
    context = std::make_unique<litehtml::context>();
    context->load_master_stylesheet(masterCss.c_str());
  }
  return context.get();
}

const QStringList& TPageResources::Families(const std::string& faceNames,
                                            const std::string& fallback) {
  auto key = std::make_pair(faceNames, fallback);
  auto it = families_.find(key);
  if (it == families_.end()) it = families_.emplace(key, FontFamilies(faceNames, fallback)).first;
  return it->second;
}

}  // namespace quire::engine::html
