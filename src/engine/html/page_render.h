// Pages of a book outside the reading screen, for authors and for checking: a page drawn to
// a picture, and a page's text as find and selection see it.
#pragma once

#include <QImage>
#include <string>

#include "core/globals.h"

namespace quire::engine::html {

// The width of the reading screen's HTML area.
constexpr int kReadingWidth = 673;

// A virtual path as it is, or a path relative to the book folder ("html/ch1.htm").
std::string BookPagePath(const core::Globals& g, const std::string& path);

// Draws a page (frames included) at `width` pixels with the default font settings. A page is
// as tall as its content; a frameset is `frameHeight` tall. Needs a QApplication. Throws
// HtmlError when the page does not exist.
QImage RenderPage(const core::Globals& g, const std::string& path, int width = kReadingWidth,
                  int frameHeight = 600);

// The page's text in reading order, one block per line (Windows-1251, lines end with "\n");
// a frameset gives its frames' texts one after the other. Needs a QApplication.
std::string PageText(const core::Globals& g, const std::string& path);

}  // namespace quire::engine::html
