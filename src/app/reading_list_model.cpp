#include "app/reading_list_model.h"

#include "qtsupport/text_edge.h"

namespace ql {

int ReadingListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

QVariant ReadingListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Count()) return {};
  std::string_view line = Line(index.row());
  // A line read from a file keeps its line feed; the list shows the text.
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return FromLatin1(line);
}

void ReadingListModel::Clear() {
  if (lines_.empty()) return;
  beginResetModel();
  lines_.clear();
  endResetModel();
}

void ReadingListModel::Append(std::string_view line) {
  const int row = Count();
  beginInsertRows(QModelIndex(), row, row);
  lines_.emplace_back(line);
  endInsertRows();
}

}  // namespace ql
