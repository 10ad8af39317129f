#include "engine/html/text_model.h"

#include <litehtml/litehtml.h>

#include <litehtml/el_text.h>

#include <QFontMetrics>
#include <algorithm>

#include "engine/html/qt_container.h"

namespace quire::engine::html {
namespace {

bool IsBlockLevel(litehtml::style_display d) {
  switch (d) {
    case litehtml::display_block:
    case litehtml::display_list_item:
    case litehtml::display_table:
    case litehtml::display_table_caption:
    case litehtml::display_table_cell:
    case litehtml::display_table_row:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TTextModel::Clear() {
  text_.clear();
  runs_.clear();
  pendingBreak_ = false;
}

void TTextModel::Build(const litehtml::element::ptr& root) {
  Clear();
  if (root) Walk(root, 0);
}

void TTextModel::BlockBreak() {
  if (!text_.isEmpty()) pendingBreak_ = true;
}

void TTextModel::Append(const QString& text, const litehtml::element::ptr& el) {
  const bool space = text.trimmed().isEmpty();
  if (pendingBreak_) {
    if (space) return;  // spaces at the start of a block
    if (!text_.endsWith('\n')) text_ += '\n';
    pendingBreak_ = false;
  }
  if (space && (text_.isEmpty() || text_.endsWith(' ') || text_.endsWith('\n'))) return;
  TextRun run;
  run.Start = static_cast<int>(text_.size());
  run.Text = space ? QString(" ") : text;
  run.Text.replace(QChar(0x00A0), ' ');
  const litehtml::position pos = el->get_placement();
  run.Rect = QRect(pos.x, pos.y, pos.width, pos.height);
  if (const auto* font = TQtContainer::FontOf(el->get_font())) run.Font = font->Qt;
  text_ += run.Text;
  runs_.push_back(std::move(run));
}

void TTextModel::Walk(const litehtml::element::ptr& el, int depth) {
  if (depth > 1000) return;
  const litehtml::style_display display = el->get_display();
  if (display == litehtml::display_none) return;
  auto* text = dynamic_cast<litehtml::el_text*>(el.get());
  // Spaces at the end of a line are skipped by the layout but still part of the text.
  if (el->skip() && !el->is_break() && !(text && el->is_white_space())) return;
  if (text) {
    litehtml::tstring value;
    text->get_text(value);
    if (!value.empty() && el->get_visibility() == litehtml::visibility_visible) {
      const QString s = QString::fromUtf8(value);
      if (s.contains('\n') && el->get_white_space() != litehtml::white_space_normal &&
          el->get_white_space() != litehtml::white_space_nowrap) {
        if (!text_.isEmpty() && !text_.endsWith('\n')) text_ += '\n';
      } else {
        Append(s, el);
      }
    }
    return;
  }
  if (el->is_break()) {
    if (!text_.isEmpty()) {
      if (pendingBreak_ && !text_.endsWith('\n')) text_ += '\n';
      pendingBreak_ = false;
      text_ += '\n';
    }
    return;
  }
  const bool block = IsBlockLevel(display);
  if (block) BlockBreak();
  const size_t count = el->get_children_count();
  for (size_t i = 0; i < count; ++i) {
    if (auto child = el->get_child(static_cast<int>(i))) Walk(child, depth + 1);
  }
  if (block) BlockBreak();
}

int TTextModel::OffsetToX(const TextRun& run, int offset) const {
  if (offset <= 0) return run.Rect.left();
  if (offset >= run.Text.size()) return run.Rect.right() + 1;
  return run.Rect.left() + QFontMetrics(run.Font).horizontalAdvance(run.Text.left(offset));
}

int TTextModel::XToOffset(const TextRun& run, int x) const {
  const QFontMetrics metrics(run.Font);
  int previous = run.Rect.left();
  for (int i = 1; i <= run.Text.size(); ++i) {
    const int edge = run.Rect.left() + metrics.horizontalAdvance(run.Text.left(i));
    if (x < (previous + edge) / 2) return i - 1;
    previous = edge;
  }
  return static_cast<int>(run.Text.size());
}

int TTextModel::PositionAt(QPoint point) const {
  const TextRun* best = nullptr;
  int bestDistance = 0;
  for (const TextRun& run : runs_) {
    if (point.y() < run.Rect.top() || point.y() > run.Rect.bottom()) continue;
    int distance = 0;
    if (point.x() < run.Rect.left()) distance = run.Rect.left() - point.x();
    if (point.x() > run.Rect.right()) distance = point.x() - run.Rect.right();
    if (!best || distance < bestDistance) {
      best = &run;
      bestDistance = distance;
    }
    if (distance == 0) break;
  }
  if (best) return best->Start + XToOffset(*best, point.x());
  // Between lines: the start of the first run below the point, in reading order.
  for (const TextRun& run : runs_) {
    if (run.Rect.top() > point.y()) return run.Start;
  }
  return static_cast<int>(text_.size());
}

std::vector<QRect> TTextModel::RectsOf(int start, int end) const {
  std::vector<QRect> out;
  for (const Piece& piece : PiecesOf(start, end)) out.push_back(piece.Rect);
  return out;
}

std::vector<TTextModel::Piece> TTextModel::PiecesOf(int start, int end) const {
  std::vector<Piece> out;
  if (end <= start) return out;
  auto it = std::upper_bound(runs_.begin(), runs_.end(), start,
                             [](int pos, const TextRun& run) { return pos < run.Start; });
  if (it != runs_.begin()) --it;
  for (; it != runs_.end() && it->Start < end; ++it) {
    const int runEnd = it->Start + static_cast<int>(it->Text.size());
    if (runEnd <= start) continue;
    const int from = std::max(start, it->Start) - it->Start;
    const int to = std::min(end, runEnd) - it->Start;
    const int x1 = OffsetToX(*it, from);
    const int x2 = OffsetToX(*it, to);
    out.push_back({QRect(QPoint(x1, it->Rect.top()), QPoint(x2 - 1, it->Rect.bottom())),
                   it->Text.mid(from, to - from), it->Font});
  }
  return out;
}

QRect TTextModel::BoundsOf(int start, int end) const {
  QRect bounds;
  for (const QRect& r : RectsOf(start, std::max(end, start + 1))) bounds |= r;
  return bounds;
}

}  // namespace quire::engine::html
