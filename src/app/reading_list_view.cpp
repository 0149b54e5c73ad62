#include "app/reading_list_view.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "qtsupport/text_edge.h"

namespace ql {
namespace {

constexpr int kTextIndent = 2;  // pixels left of every row's text

}  // namespace

ReadingListView::ReadingListView(QWidget* parent) : QAbstractScrollArea(parent) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  verticalScrollBar()->setSingleStep(1);
  rowHeight_ = std::max(1, fontMetrics().height());
  UpdateScrollRange();
}

void ReadingListView::SetLines(const ReadingList* lines) {
  lines_ = lines;
  selected_ = -1;
  UpdateScrollRange();
  viewport()->update();
}

void ReadingListView::Clear() {
  selected_ = -1;
  UpdateScrollRange();
  viewport()->update();
}

void ReadingListView::RowAdded() {
  UpdateScrollRange();
  UpdateRow(Count() - 1);
}

QString ReadingListView::DisplayText(int index) const {
  std::string_view line = Line(index);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return FromLatin1(line);
}

int ReadingListView::TopRow() const { return verticalScrollBar()->value(); }

int ReadingListView::VisibleRows() const { return std::max(1, viewport()->height() / RowHeight()); }

void ReadingListView::Select(int index) {
  if (index < -1 || index >= Count()) return;
  const int previous = selected_;
  selected_ = index;
  if (index >= 0) {
    // Scroll just far enough, as a list box does.
    QScrollBar* bar = verticalScrollBar();
    if (index < bar->value()) {
      bar->setValue(index);
    } else if (index >= bar->value() + VisibleRows()) {
      bar->setValue(index - VisibleRows() + 1);
    }
  }
  UpdateRow(previous);
  UpdateRow(selected_);
}

void ReadingListView::UpdateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  const int visible = VisibleRows();
  bar->setPageStep(visible);
  bar->setRange(0, std::max(0, Count() - visible));
}

void ReadingListView::UpdateRow(int index) {
  const int row = index - TopRow();
  if (index < 0 || row < 0 || row > VisibleRows()) return;
  viewport()->update(0, row * RowHeight(), viewport()->width(), RowHeight());
}

void ReadingListView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect area = event->rect();
  painter.fillRect(area, palette().color(QPalette::Base));
  const int height = RowHeight();
  const int first = TopRow() + area.top() / height;
  const int last = std::min(Count() - 1, TopRow() + area.bottom() / height);
  const int ascent = fontMetrics().ascent();
  for (int index = first; index <= last; ++index) {
    const int y = (index - TopRow()) * height;
    const bool selected = index == selected_;
    if (selected) {
      painter.fillRect(0, y, viewport()->width(), height, palette().color(QPalette::Highlight));
    }
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(kTextIndent, y + ascent, DisplayText(index));
  }
}

void ReadingListView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

void ReadingListView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    rowHeight_ = std::max(1, fontMetrics().height());
    UpdateScrollRange();
    if (selected_ >= 0) Select(selected_);
    viewport()->update();
  }
}

void ReadingListView::ChooseByUser(int index) {
  index = std::clamp(index, 0, Count() - 1);
  if (Count() == 0 || index == selected_) return;
  Select(index);
}

void ReadingListView::mousePressEvent(QMouseEvent* event) {
  const int index = TopRow() + static_cast<int>(event->position().y()) / RowHeight();
  if (event->button() == Qt::LeftButton && index < Count()) ChooseByUser(index);
}

void ReadingListView::scrollContentsBy(int /*dx*/, int dy) {
  // The bar counts rows; move what is on screen and draw the rows uncovered.
  viewport()->scroll(0, dy * RowHeight());
}

void ReadingListView::keyPressEvent(QKeyEvent* event) {
  const int page = VisibleRows();
  const int from = std::max(selected_, 0);
  switch (event->key()) {
    case Qt::Key_Up:
      ChooseByUser(from - 1);
      break;
    case Qt::Key_Down:
      ChooseByUser(selected_ < 0 ? 0 : from + 1);
      break;
    case Qt::Key_PageUp:
      ChooseByUser(from - page);
      break;
    case Qt::Key_PageDown:
      ChooseByUser(from + page);
      break;
    case Qt::Key_Home:
      ChooseByUser(0);
      break;
    case Qt::Key_End:
      ChooseByUser(Count() - 1);
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
}

}  // namespace ql
