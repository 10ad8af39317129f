// What every page of a view can share instead of working it out again: the parsed browser
// style sheet and the installed font families found for the faces pages name.
#pragma once

#include <litehtml/litehtml.h>

#include <QStringList>
#include <map>
#include <memory>
#include <string>

namespace quire::engine::html {

class TPageResources {
 public:
  // The layout context with `masterCss` as browser style sheet, parsed once per text.
  litehtml::context* Context(const std::string& masterCss);
  // The installed families to try for a face list ("Times New Roman", serif), then `fallback`.
  const QStringList& Families(const std::string& faceNames, const std::string& fallback);

 private:
  // Pages keep pointing at their context, so none is dropped while the resources live.
  std::map<std::string, std::unique_ptr<litehtml::context>> contexts_;
  std::map<std::pair<std::string, std::string>, QStringList> families_;
};

}  // namespace quire::engine::html
