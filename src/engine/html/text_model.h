// The text of a laid-out page in reading order, as find, selection and copy see it: words
// and spaces with their boxes, one line break between blocks.
#pragma once

#include <litehtml/litehtml.h>

#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

namespace quire::engine::html {

struct TextRun {
  int Start = 0;  // position of the first character in the text
  QString Text;
  QRect Rect;  // in document coordinates
  QFont Font;
};

class TTextModel {
 public:
  void Build(const litehtml::element::ptr& root);
  void Clear();

  const QString& Text() const { return text_; }
  const std::vector<TextRun>& Runs() const { return runs_; }
  // The text position nearest to a point of the document, in reading order.
  int PositionAt(QPoint point) const;
  // One box per run piece covered by [start, end).
  std::vector<QRect> RectsOf(int start, int end) const;
  QRect BoundsOf(int start, int end) const;
  // The selected part of each run in [start, end), to draw it highlighted.
  struct Piece {
    QRect Rect;
    QString Text;
    QFont Font;
  };
  std::vector<Piece> PiecesOf(int start, int end) const;

 private:
  void Walk(const litehtml::element::ptr& el, int depth);
  void Append(const QString& text, const litehtml::element::ptr& el);
  void BlockBreak();
  int XToOffset(const TextRun& run, int x) const;
  int OffsetToX(const TextRun& run, int offset) const;

  QString text_;
  std::vector<TextRun> runs_;
  bool pendingBreak_ = false;
};

}  // namespace quire::engine::html
