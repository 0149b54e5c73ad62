#pragma once
// The application object: starts the program as a whole. InitInstance
// parses the command line (and uses nothing from it: a file named there is
// not opened), gives dialogs and message boxes black text on white, finds
// the settings file (QUINTALINE_SETTINGS, else the user's configuration
// folder), creates the main frame and opens one measuring window maximized
// inside it, tells of the runs a crash left unfinished in the journal, then
// shows the frame.
//
// REQUIRES a QApplication that outlives this object.

#include <QStringList>

#include <memory>

namespace ql {

class CMainFrame;
class Dialogs;

class CQarnApp {
 public:
  // `dialogs` must outlive the application object.
  explicit CQarnApp(Dialogs& dialogs);
  ~CQarnApp();
  CQarnApp(const CQarnApp&) = delete;
  CQarnApp& operator=(const CQarnApp&) = delete;

  // Returns true iff the main frame and its measuring window are up.
  bool InitInstance(const QStringList& arguments);

  CMainFrame* MainFrame() const { return m_pMainWnd.get(); }

 private:
  Dialogs& m_dialogs;
  std::unique_ptr<CMainFrame> m_pMainWnd;
};

}  // namespace ql
