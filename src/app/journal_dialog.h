#pragma once
// Tools > Journal...: the runs the journal keeps, newest first, each with
// its start, duration, samples, parts (function, unit and range) and state;
// and for the chosen run or part "Load into list", "Export CSV..." and
// "Delete". A run's row stands for its last part when loading and for all
// its parts when exporting. The dialog is not modal: the measuring window
// goes on meanwhile, and says through Target whether and where a part may
// be loaded.

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>

#include "app/dialogs.h"
#include "run/reading_list.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace ql {

class JournalDialog : public QDialog {
  Q_OBJECT
 public:
  struct Target {
    std::function<bool()> canLoad;          // the list may be replaced now
    std::function<void(ReadingList)> load;  // shows the lines in the list
  };

  // `dialogs` must outlive the dialog.
  JournalDialog(Dialogs& dialogs, std::string path, Target target, QWidget* parent);

  // Reads the journal again; the chosen run stays chosen while it is there.
  void Refresh();
  // Enables the buttons for what is chosen and what the window allows.
  void UpdateButtons();

  QTreeWidget* Runs() const { return runs_; }
  QPushButton* LoadButton() const { return load_; }
  QPushButton* ExportButton() const { return export_; }
  QPushButton* DeleteButton() const { return delete_; }
  // The line under the list that says what went wrong reading the journal,
  // or how many runs it holds.
  QLabel* Summary() const { return summary_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct Choice {
    std::int64_t run = 0;
    int partSeq = 0;        // 0: the whole run
    std::int64_t part = 0;  // the part loaded: the chosen one, or the run's last
    std::int64_t samples = 0;
    bool live = false;  // recorded by a running program
  };
  Choice Chosen() const;
  void LoadChosen();
  void ExportChosen();
  void DeleteChosen();
  void Fill(QTreeWidgetItem* runItem, std::int64_t runId);

  Dialogs& dialogs_;
  const std::string path_;
  Target target_;
  QTreeWidget* runs_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* export_ = nullptr;
  QPushButton* delete_ = nullptr;
  CsvExportChoice csvChoice_;
  std::string csvPath_;
};

}  // namespace ql
