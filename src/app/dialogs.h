#pragma once
// Every modal conversation of the desktop program with its user goes through
// Dialogs: message boxes, the file, port, print and page dialogs, the print
// preview, the About box and the help viewer. The program runs them on Qt's
// dialogs (QtDialogs); tests answer them in place of a user.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "run/form_host.h"

class QPrinter;
class QUrl;
class QWidget;

namespace ql {

// What the user chose for a CSV file: the byte order mark, and numbers as
// the user's locale writes them (with ';' between fields) or with '.'.
struct CsvExportChoice {
  bool bom = false;
  bool localeNumbers = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A warning box (exclamation icon, OK) with `text`, and `detail` as its
  // informative text when not empty.
  virtual void Message(QWidget* parent, const QString& text, const QString& detail) = 0;
  // The chosen path, or nullopt when the user cancelled.
  virtual std::optional<QString> OpenFile(QWidget* parent, const FileDialogOptions& options) = 0;
  virtual std::optional<QString> SaveFile(QWidget* parent, const FileDialogOptions& options) = 0;
  // "COM PORT SET" with `selPort` checked; `devices` are the paths of COM1 ..
  // COM4. Returns true iff OK was pressed; `selPort` then holds the choice.
  virtual bool PortDialog(QWidget* parent, int& selPort, const QStringList& devices) = 0;
  // The print dialog for a job of `pageCount` pages. Returns true iff the
  // user chose to print; the printer then holds the choices (page range).
  virtual bool PrintDialog(QWidget* parent, QPrinter& printer, int pageCount) = 0;
  // The print preview; `paint` draws the job on the printer it is given.
  virtual void PrintPreview(QWidget* parent, QPrinter& printer,
                            const std::function<void(QPrinter&)>& paint) = 0;
  // The page setup dialog. Returns true iff the user accepted it.
  virtual bool PageSetup(QWidget* parent, QPrinter& printer) = 0;
  virtual void About(QWidget* parent) = 0;
  // Opens `url` in the desktop's viewer. Returns true iff a viewer took it.
  virtual bool OpenHelp(const QUrl& url) = 0;
  // A question with Yes and No (No the default). Returns true iff Yes.
  virtual bool Confirm(QWidget* parent, const QString& text, const QString& detail) = 0;
  // The CSV choices, shown as `choice` holds them. Returns true iff the
  // user pressed OK; `choice` then holds the choices.
  virtual bool CsvOptions(QWidget* parent, CsvExportChoice& choice) = 0;
};

// The dialogs a user sees.
class QtDialogs : public Dialogs {
 public:
  void Message(QWidget* parent, const QString& text, const QString& detail) override;
  std::optional<QString> OpenFile(QWidget* parent, const FileDialogOptions& options) override;
  std::optional<QString> SaveFile(QWidget* parent, const FileDialogOptions& options) override;
  bool PortDialog(QWidget* parent, int& selPort, const QStringList& devices) override;
  bool PrintDialog(QWidget* parent, QPrinter& printer, int pageCount) override;
  void PrintPreview(QWidget* parent, QPrinter& printer,
                    const std::function<void(QPrinter&)>& paint) override;
  bool PageSetup(QWidget* parent, QPrinter& printer) override;
  void About(QWidget* parent) override;
  bool OpenHelp(const QUrl& url) override;
  bool Confirm(QWidget* parent, const QString& text, const QString& detail) override;
  bool CsvOptions(QWidget* parent, CsvExportChoice& choice) override;
};

// The file dialog's name filters from the view's filter text: pairs of a
// name and a pattern list ("Name (*.ext)\n*.ext\n...", ended by an empty
// name), as Qt's "Name (*.ext)" entries. A name without the patterns in
// parentheses gets them appended; ';' between patterns becomes a blank.
QStringList NameFilters(const std::string& filter);

}  // namespace ql
