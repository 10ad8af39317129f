// Printing a document: laid out again for the paper at a print scale, split into pages
// between lines, pictures and table rows (never through them), and drawn page by page on any
// paint device (a printer, or a recorded page of the print preview).
#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <QSize>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/globals.h"
#include "engine/html/viewer_settings.h"

namespace quire::engine::html {

class THtmlDocument;
class TPictureStore;
class TDocumentView;
class TFrameViewer;

// The paper as the printer sees it.
struct PaperMetrics {
  int DpiX = 300, DpiY = 300;
  QSize Printable{2333, 3321};  // printable width and height in device pixels (A4 portrait)
};

class THtmlPrinter {
 public:
  // Prints the page a document view shows, with the view's settings.
  THtmlPrinter(const core::Globals& g, const TDocumentView& view);
  // Prints the active document of a viewer, with its settings and print-header event.
  THtmlPrinter(const core::Globals& g, const TFrameViewer& viewer);
  ~THtmlPrinter();

  void SetPrintTableBackground(bool on) { settings_.PrintTableBackground = on; }
  // Called for every page drawn: painter, page number (1-based), page width and height in
  // device pixels.
  std::function<void(QPainter&, int page, int width, int height)> OnPrintHeader;

  // Lays the document out for the paper at `scale` (1.0 = the size on screen) and splits it
  // into pages. `onPage(n)` is called before each page (n from 1); returning false stops, and
  // the pages made so far stay. Returns the page count.
  int Format(const PaperMetrics& paper, double scale,
             const std::function<bool(int page)>& onPage = nullptr);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // A page's band of the document, in document pixels.
  std::pair<int, int> PageSpan(int index) const { return pages_.at(static_cast<size_t>(index)); }
  // Draws page `index` (0-based) on a painter whose device has the paper's metrics.
  void DrawPage(QPainter& painter, int index);
  // Formats and prints pages `from`..`to` (1-based, inclusive) on a printer or PDF writer.
  // False when stopped by `onPage`.
  bool Print(QPagedPaintDevice& device, double scale, int from, int to,
             const std::function<bool(int page)>& onPage = nullptr);

  // Page breaks for a document `height` pixels tall in pages `pageHeight` tall, never inside
  // one of the `spans` [top, bottom); spans taller than a page do not count.
  static std::vector<std::pair<int, int>> SplitPages(int height, int pageHeight,
                                                     std::vector<std::pair<int, int>> spans);

 private:
  const core::Globals& g_;
  ViewerSettings settings_;
  std::string source_, fileName_;
  std::shared_ptr<TPictureStore> pictures_;
  std::unique_ptr<THtmlDocument> doc_;
  PaperMetrics paper_;
  double scale_ = 1.0;
  std::vector<std::pair<int, int>> pages_;
};

}  // namespace quire::engine::html
