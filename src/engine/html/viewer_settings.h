// How a viewer shows pages when they say nothing themselves.
#pragma once

#include <QColor>
#include <string>

namespace quire::engine::html {

struct ViewerSettings {
  std::string FontName = "Arial";  // Windows-1251
  QColor FontColor = Qt::black;
  int FontSize = 8;                                // points
  QColor HotSpotColor = QColor(0x66, 0x33, 0x00);  // links
  QColor VisitedColor = QColor(0x80, 0x00, 0x80);
  QColor OverColor = QColor(0xFF, 0x00, 0x00);  // links under the pointer
  QColor Background = Qt::white;
  bool LinksChangeColor = false;  // use OverColor under the pointer
  bool NoLinkUnderline = false;
  bool NoBorder = false;
  bool ShowImages = true;
  bool PrintTableBackground = true;
};

}  // namespace quire::engine::html

namespace quire::engine::html {

// A Windows TColor ($00BBGGRR) as a QColor, and back.
inline QColor FromTColor(int color) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}
inline int ToTColor(const QColor& color) {
  return color.red() | (color.green() << 8) | (color.blue() << 16);
}

}  // namespace quire::engine::html
