#pragma once
// What the GUI tests share: one QApplication on the offscreen platform, a
// Dialogs that answers in place of a user and records what it was asked,
// and a fixture that starts the program as main() does, with its settings
// in a temporary file.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <deque>
#include <memory>
#include <optional>

#include "app/dialogs.h"
#include "app/main_frame.h"
#include "app/measuring_window.h"
#include "app/qarn_app.h"
#include "app/qarn_form.h"

namespace ql::test_support {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

struct ShownMessage {
  QString text;
  QString detail;
};

class TestDialogs : public Dialogs {
 public:
  // Answers, taken in order; a missing answer cancels.
  std::deque<std::optional<QString>> fileAnswers;
  std::optional<int> portAnswer;  // nullopt: Cancel
  QString pdfPath;                // the print dialog prints here; empty: Cancel
  QString previewPath;            // the preview draws its pages here
  bool confirmAnswer = false;     // Yes or No to every question
  std::optional<CsvExportChoice> csvAnswer;  // the CSV choices; nullopt: Cancel
  // What the program asked.
  std::vector<ShownMessage> messages;
  std::vector<FileDialogOptions> fileDialogs;
  QStringList portDevices;
  int portSelShown = -1;
  int printPages = 0;
  int previews = 0;
  int pageSetups = 0;
  int abouts = 0;
  std::vector<QUrl> helpUrls;
  std::vector<ShownMessage> questions;

  void Message(QWidget*, const QString& text, const QString& detail) override {
    messages.push_back({text, detail});
  }
  std::optional<QString> OpenFile(QWidget*, const FileDialogOptions& options) override {
    return Answer(options);
  }
  std::optional<QString> SaveFile(QWidget*, const FileDialogOptions& options) override {
    return Answer(options);
  }
  bool PortDialog(QWidget*, int& selPort, const QStringList& devices) override {
    portSelShown = selPort;
    portDevices = devices;
    if (!portAnswer) return false;
    selPort = *portAnswer;
    return true;
  }
  bool PrintDialog(QWidget*, QPrinter& printer, int pageCount) override {
    printPages = pageCount;
    if (pdfPath.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return true;
  }
  void PrintPreview(QWidget*, QPrinter& printer,
                    const std::function<void(QPrinter&)>& paint) override {
    // Draws the preview into a PDF, as the preview dialog draws its pages.
    ++previews;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(previewPath);
    paint(printer);
  }
  bool PageSetup(QWidget*, QPrinter&) override {
    ++pageSetups;
    return true;
  }
  void About(QWidget*) override { ++abouts; }
  bool OpenHelp(const QUrl& url) override {
    helpUrls.push_back(url);
    return true;
  }
  bool Confirm(QWidget*, const QString& text, const QString& detail) override {
    questions.push_back({text, detail});
    return confirmAnswer;
  }
  bool CsvOptions(QWidget*, CsvExportChoice& choice) override {
    if (!csvAnswer) return false;
    choice = *csvAnswer;
    return true;
  }

  int CountOf(const QString& text) const {
    int n = 0;
    for (const auto& m : messages) n += m.text == text ? 1 : 0;
    return n;
  }

 private:
  std::optional<QString> Answer(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    if (fileAnswers.empty()) return std::nullopt;
    std::optional<QString> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

// The program started as main() starts it, settings in a temporary file.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    ASSERT_TRUE(dir.isValid());
    settingsPath = dir.filePath(QStringLiteral("Quintaline.ini"));
    qputenv("QUINTALINE_SETTINGS", settingsPath.toLocal8Bit());
    // The runs of a test go to a journal of its own, never the user's.
    journalPath = dir.filePath(QStringLiteral("journal.sqlite3")).toStdString();
    qputenv("QUINTALINE_JOURNAL", QByteArray::fromStdString(journalPath));
  }
  void TearDown() override { app.reset(); }

  // Writes a setting before the program starts.
  void Setting(const QString& key, const QVariant& value) {
    QSettings settings(settingsPath, QSettings::IniFormat);
    settings.setValue(key, value);
  }

  void Start(const QStringList& arguments = {QStringLiteral("quintaline")}) {
    app = std::make_unique<CQarnApp>(dialogs);
    ASSERT_TRUE(app->InitInstance(arguments));
    frame = app->MainFrame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    window = frame->ActiveMeasuringWindow();
    ASSERT_NE(window, nullptr);
  }

  // Triggers command `id` as the menu or toolbar would.
  void Trigger(int id) {
    QAction* action = frame->Action(id);
    ASSERT_NE(action, nullptr) << id;
    action->trigger();
  }
  bool Enabled(int id) const { return frame->Action(id)->isEnabled(); }
  QString Pane(int id) const { return frame->Pane(id)->text(); }
  std::string Control(int id) const { return window->Form().ControlText(id); }
  bool Visible(int id) const { return window->Form().Control(id)->isVisible(); }

  // Lets the event loop run until `done` holds, at most `ms` milliseconds.
  template <typename Predicate>
  bool WaitFor(Predicate done, int ms = 5000) {
    return QTest::qWaitFor(done, ms);
  }

  QTemporaryDir dir;
  QString settingsPath;
  std::string journalPath;
  TestDialogs dialogs;
  std::unique_ptr<CQarnApp> app;
  CMainFrame* frame = nullptr;
  MeasuringWindow* window = nullptr;
};

}  // namespace ql::test_support
