#include "engine/html/html_printer.h"

#include <algorithm>

#include "engine/html/document_view.h"
#include "engine/html/frame_viewer.h"
#include "engine/html/html_document.h"
#include "engine/html/picture_store.h"

namespace quire::engine::html {
namespace {

// Pages are laid out in screen pixels, as the books were designed at 96 dots per inch.
constexpr double kScreenDpi = 96.0;

}  // namespace

THtmlPrinter::THtmlPrinter(const core::Globals& g, const TDocumentView& view)
    : g_(g), settings_(view.Settings()) {
  if (auto doc = view.Document()) {
    source_ = doc->Source();
    fileName_ = doc->FileName();
  }
}

THtmlPrinter::THtmlPrinter(const core::Globals& g, const TFrameViewer& viewer)
    : g_(g), settings_(viewer.Settings()) {
  if (TDocumentView* view = viewer.ActiveView()) {
    if (auto doc = view->Document()) {
      source_ = doc->Source();
      fileName_ = doc->FileName();
    }
  }
  OnPrintHeader = viewer.OnPrintHeader;
}

THtmlPrinter::~THtmlPrinter() = default;

std::vector<std::pair<int, int>> THtmlPrinter::SplitPages(int height, int pageHeight,
                                                          std::vector<std::pair<int, int>> spans) {
  std::vector<std::pair<int, int>> pages;
  pageHeight = std::max(pageHeight, 1);
  // What is taller than a page must be cut anyway; the lines inside it guide the breaks.
  std::erase_if(spans, [&](const auto& span) { return span.second - span.first > pageHeight; });
  std::sort(spans.begin(), spans.end());
  int top = 0;
  while (top < height) {
    int end = top + pageHeight;
    if (end >= height) {
      pages.emplace_back(top, height);
      break;
    }
    // Move the break up above anything it would cut, until nothing is cut.
    for (bool moved = true; moved;) {
      moved = false;
      for (const auto& [a, b] : spans) {
        if (a >= end) break;
        if (a > top && a < end && b > end) {
          end = a;
          moved = true;
        }
      }
    }
    if (end <= top) end = top + pageHeight;  // taller than a page: it must be cut
    pages.emplace_back(top, end);
    top = end;
  }
  if (pages.empty()) pages.emplace_back(0, 0);
  return pages;
}

int THtmlPrinter::Format(const PaperMetrics& paper, double scale,
                         const std::function<bool(int page)>& onPage) {
  paper_ = paper;
  scale_ = std::clamp(scale, 0.01, 100.0);
  pages_.clear();
  if (!pictures_) pictures_ = std::make_shared<TPictureStore>(g_);
  ViewerSettings settings = settings_;
  settings.ShowImages = true;
  doc_ = std::make_unique<THtmlDocument>(g_, settings, pictures_, nullptr, true);
  const double perPixelX = paper.DpiX / kScreenDpi * scale_;
  const double perPixelY = paper.DpiY / kScreenDpi * scale_;
  const int width = std::max(1, static_cast<int>(paper.Printable.width() / perPixelX));
  const int pageHeight = std::max(1, static_cast<int>(paper.Printable.height() / perPixelY));
  doc_->Load(source_, fileName_, QSize(width, pageHeight));
  doc_->Layout(width, pageHeight);
  const auto all = SplitPages(doc_->Height(), pageHeight, doc_->UnbreakableSpans());
  for (size_t i = 0; i < all.size(); ++i) {
    if (onPage && !onPage(static_cast<int>(i) + 1)) break;
    pages_.push_back(all[i]);
  }
  return PageCount();
}

void THtmlPrinter::DrawPage(QPainter& painter, int index) {
  if (!doc_ || index < 0 || index >= PageCount()) return;
  const auto [top, bottom] = pages_[static_cast<size_t>(index)];
  const double sx = paper_.DpiX / kScreenDpi * scale_;
  const double sy = paper_.DpiY / kScreenDpi * scale_;
  const int width = doc_->LayoutWidth();
  painter.save();
  painter.scale(sx, sy);
  painter.setClipRect(QRect(0, 0, width, bottom - top));
  doc_->Draw(painter, QRect(0, top, width, bottom - top), QPoint(0, -top));
  painter.restore();
  if (OnPrintHeader) {
    painter.save();
    OnPrintHeader(painter, index + 1, paper_.Printable.width(), paper_.Printable.height());
    painter.restore();
  }
}

bool THtmlPrinter::Print(QPagedPaintDevice& device, double scale, int from, int to,
                         const std::function<bool(int page)>& onPage) {
  PaperMetrics paper;
  paper.DpiX = device.logicalDpiX();
  paper.DpiY = device.logicalDpiY();
  paper.Printable = QSize(device.width(), device.height());
  Format(paper, scale);
  from = std::max(from, 1);
  to = std::min(to, PageCount());
  QPainter painter;
  if (!painter.begin(&device)) return false;
  for (int page = from; page <= to; ++page) {
    if (onPage && !onPage(page)) {
      painter.end();
      return false;
    }
    if (page > from) device.newPage();
    DrawPage(painter, page - 1);
  }
  painter.end();
  return true;
}

}  // namespace quire::engine::html
