#include "app/qarn_app.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPalette>

#include "app/journal_notice.h"
#include "app/main_frame.h"
#include "app/measuring_window.h"
#include "journal/journal_db.h"
#include "journal/retention.h"
#include "qtsupport/settings_store.h"
#include "run/ids.h"

namespace ql {
namespace {

// Dialogs and message boxes: black text on white.
void SetDialogColours() {
  QPalette palette = QApplication::palette();
  palette.setColor(QPalette::Window, Qt::white);
  // Disabled texts keep the style's colour.
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, Qt::black);
  }
  for (const char* type : {"QDialog", "QMessageBox"}) QApplication::setPalette(palette, type);
}

}  // namespace

CQarnApp::CQarnApp(Dialogs& dialogs) : m_dialogs(dialogs) {}

CQarnApp::~CQarnApp() = default;

bool CQarnApp::InitInstance(const QStringList& arguments) {
  // Parsed like any program's command line; nothing from it is used.
  QCommandLineParser parser;
  parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("ignored"));
  parser.parse(arguments);

  SetDialogColours();
  m_pMainWnd = std::make_unique<CMainFrame>(m_dialogs, SettingsPath());
  if (!m_pMainWnd->NewMeasuringWindow()) {
    m_pMainWnd.reset();
    return false;
  }
  // After a crash: which runs it left unfinished, and how to get them back.
  SettingsStore store(SettingsPath());
  if (journal::ReadJournalSettings(store).enabled) {
    const QString notice = UnfinishedRunsNotice(journal::DefaultJournalPath());
    if (!notice.isEmpty()) m_pMainWnd->SetPaneText(pane::kMessage, notice);
  }
  m_pMainWnd->show();
  return true;
}

}  // namespace ql
