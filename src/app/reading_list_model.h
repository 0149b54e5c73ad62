#pragma once
// The list of readings behind the form's list view: the core's lines as it
// gave them (single-byte Latin-1), shown as text. Appending is constant
// time, so a list of a million lines stays as quick as a short one.

#include <QAbstractListModel>

#include <string>
#include <string_view>
#include <vector>

namespace ql {

class ReadingListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  void Clear();
  void Append(std::string_view line);
  int Count() const { return static_cast<int>(lines_.size()); }
  // REQUIRES: 0 <= index < Count().
  const std::string& Line(int index) const { return lines_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace ql
