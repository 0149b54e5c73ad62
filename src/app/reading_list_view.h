#pragma once
// The list of readings (control 1023): the rows of the core's list, read
// from it as they are drawn (single-byte Latin-1, converted when drawn), with
// one selected row, a vertical scroll bar that is always shown and no
// horizontal one. It keeps no copy of the lines: the core tells it when the
// list was emptied or grew.
//
// Rows have one height, so everything is arithmetic on row numbers:
// appending, selecting and scrolling cost the same for a million lines as
// for ten, and a repaint draws only the rows in sight.

#include <QAbstractScrollArea>

#include <string_view>

#include "run/reading_list.h"

namespace ql {

class ReadingListView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit ReadingListView(QWidget* parent = nullptr);

  // The list shown; `lines` must outlive the view or be replaced first.
  void SetLines(const ReadingList* lines);
  // The list was emptied.
  void Clear();
  // A line was added at the end of the list.
  void RowAdded();
  int Count() const { return lines_ != nullptr ? lines_->Count() : 0; }
  // REQUIRES: 0 <= index < Count().
  std::string_view Line(int index) const { return lines_->View(index); }
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

  const ReadingList* lines_ = nullptr;
  int selected_ = -1;
  int rowHeight_ = 1;
};

}  // namespace ql
