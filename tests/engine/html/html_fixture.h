// A book folder on disk for engine tests, and the Qt application the widgets need.
#pragma once

#include <QApplication>
#include <QImage>
#include <memory>
#include <string>

#include "core/globals.h"
#include "support/temp_dir.h"

namespace quire::testing {

inline void EnsureApp() {
  static int argc = 1;
  static char name[] = "engine_html_tests";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
}

class HtmlBook {
 public:
  HtmlBook() {
    EnsureApp();
    dir.Mkdir("cd/run");
    std::string error;
    g = core::MakeGlobals(*core::LocateBook(dir / "cd/run", std::nullopt, error), dir / "p", error);
  }
  // Writes a file under the book folder; returns its virtual name ("d:\run\...").
  std::string Write(const std::string& rel, const std::string& content) const {
    dir.Write("cd/run/" + rel, content);
    std::string name = "d:\\run\\" + rel;
    for (char& c : name) {
      if (c == '/') c = '\\';
    }
    return name;
  }
  std::string WritePicture(const std::string& rel, QSize size, QColor color) const {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const auto host = dir / ("cd/run/" + rel);
    std::filesystem::create_directories(host.parent_path());
    image.save(QString::fromStdString(host.string()), "BMP");
    return "d:\\run\\" + rel;
  }

  TempDir dir;
  std::unique_ptr<core::Globals> g;
};

}  // namespace quire::testing
