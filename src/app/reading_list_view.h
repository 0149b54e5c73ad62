#pragma once
// The list of readings (control 1023): the core's lines as it gave them
// (single-byte Latin-1, converted when drawn), one per row, with one
// selected row, a vertical scroll bar that is always shown and no
// horizontal one.
//
// Rows have one height, so everything is arithmetic on row numbers:
// appending, selecting and scrolling cost the same for a million lines as
// for ten, and a repaint draws only the rows in sight.

#include <QAbstractScrollArea>

#include <string>
#include <string_view>
#include <vector>

namespace ql {

class ReadingListView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit ReadingListView(QWidget* parent = nullptr);

  void Clear();
  void Append(std::string_view line);
  int Count() const { return static_cast<int>(lines_.size()); }
  // REQUIRES: 0 <= index < Count().
  const std::string& Line(int index) const { return lines_[static_cast<std::size_t>(index)]; }
  // The row's text as shown: Latin-1 decoded, without the line feed that
  // a line read from a file keeps.
  QString DisplayText(int index) const;

  // Selects row `index` and scrolls it into view; -1 selects none.
  void Select(int index);
  int Selected() const { return selected_; }
  // The first row in sight.
  int TopRow() const;
  // Rows that fit in the viewport.
  int VisibleRows() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int RowHeight() const { return rowHeight_; }
  void UpdateScrollRange();
  void UpdateRow(int index);
  void ChooseByUser(int index);

  std::vector<std::string> lines_;
  int selected_ = -1;
  int rowHeight_ = 1;
};

}  // namespace ql
