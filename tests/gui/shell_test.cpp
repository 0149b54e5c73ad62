// The program as it starts: the main frame, its menus, toolbar and status
// bar, the measuring window inside it, the About box, help and File New.

#include <sys/stat.h>

#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QMenu>
#include <QComboBox>
#include <QPrinter>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/about_box.h"
#include "app/com_port_dlg.h"
#include "app/frame_ids.h"
#include "app/page_setup_dlg.h"
#include "app/print_job.h"
#include "gui_fixture.h"
#include "run/ids.h"

namespace ql::test_support {
namespace {

using ShellTest = GuiTest;

// A menu as its items' texts; "-" is a separator, "> title" a submenu.
QStringList Items(const QMenu* menu) {
  QStringList items;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      items << QStringLiteral("-");
    } else if (action->menu()) {
      items << QStringLiteral("> ") + action->menu()->title();
    } else {
      items << action->text();
    }
  }
  return items;
}

const QMenu* Submenu(const QMenu* menu, const QString& title) {
  for (const QAction* action : menu->actions()) {
    if (action->menu() && action->menu()->title() == title) return action->menu();
  }
  return nullptr;
}

TEST_F(ShellTest, StartsAt640By480CentredWithOneMaximizedMeasuringWindow) {
  Start();
  EXPECT_EQ(frame->size(), QSize(640, 480));
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("Quintaline"));
  const QRect desktop = frame->screen()->availableGeometry();
  EXPECT_LE(std::abs(frame->geometry().center().x() - desktop.center().x()), 1);
  EXPECT_LE(std::abs(frame->geometry().center().y() - desktop.center().y()), 1);
  ASSERT_EQ(frame->MeasuringWindows().size(), 1);
  EXPECT_TRUE(window->isMaximized());
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("Quintaline")) << "the child adds nothing";
}

TEST_F(ShellTest, StatusBarPanesFromTheRightArePortSamplingDbAndFileName) {
  Start();
  EXPECT_EQ(Pane(pane::kMessage), QStringLiteral("For Help, press F1"));
  EXPECT_EQ(Pane(pane::kFileName), QStringLiteral("NONAME"));
  EXPECT_EQ(Pane(pane::kDbRef), QStringLiteral(" 600 Ohm"));
  EXPECT_EQ(Pane(pane::kSampling), QStringLiteral("  1 SEC"));
  EXPECT_EQ(Pane(pane::kPort), QStringLiteral("COM 2"));

  const auto x = [this](int id) { return frame->Pane(id)->geometry().x(); };
  EXPECT_GT(x(pane::kPort), x(pane::kSampling));
  EXPECT_GT(x(pane::kSampling), x(pane::kDbRef));
  EXPECT_GT(x(pane::kDbRef), x(pane::kFileName));
  EXPECT_GT(x(pane::kFileName), x(pane::kMessage));

  const std::pair<int, const char*> sizing[] = {{pane::kFileName, "FILENAME.EXT"},
                                                {pane::kDbRef, "1000 Ohm"},
                                                {pane::kSampling, "250 mSEC"},
                                                {pane::kPort, "COM 1"}};
  for (const auto& [id, text] : sizing) {
    const QLabel* pane = frame->Pane(id);
    EXPECT_GE(pane->contentsRect().width(),
              QFontMetrics(pane->font()).horizontalAdvance(QString::fromLatin1(text)))
        << text;
  }
}

TEST_F(ShellTest, StoredSettingsShowInPanesAndCheckMarks) {
  Setting(QStringLiteral("COMM/Port"), 3);
  Setting(QStringLiteral("Db/Ref"), 470);
  Setting(QStringLiteral("Sampling Time/Current"), 100);
  Setting(QStringLiteral("Sampling Time/Use display"), QStringLiteral("  5 SEC"));
  Start();
  EXPECT_EQ(Pane(pane::kPort), QStringLiteral("COM 4"));
  EXPECT_EQ(Pane(pane::kDbRef), QStringLiteral(" 470 Ohm"));
  EXPECT_EQ(Pane(pane::kSampling), QStringLiteral("  5 SEC"));
  EXPECT_TRUE(frame->Action(cmd::kSampling5s)->isChecked());
  EXPECT_FALSE(frame->Action(cmd::kSampling1s)->isChecked());
  for (int id = cmd::kDbRefFirst; id <= cmd::kDbRefLast; ++id) {
    EXPECT_FALSE(frame->Action(id)->isChecked()) << id;
  }
}

TEST_F(ShellTest, SetupCommandsMoveTheirCheckMarkAndAreStored) {
  Start();
  EXPECT_TRUE(frame->Action(cmd::kDbRefFirst + 12)->isChecked());  // 600 Ohm
  Trigger(cmd::kSampling2s);
  Trigger(cmd::kDbRefLast);
  EXPECT_EQ(Pane(pane::kSampling), QStringLiteral("  2 SEC"));
  EXPECT_EQ(Pane(pane::kDbRef), QStringLiteral("1000 Ohm"));
  EXPECT_TRUE(frame->Action(cmd::kSampling2s)->isChecked());
  EXPECT_FALSE(frame->Action(cmd::kSampling1s)->isChecked());
  EXPECT_TRUE(frame->Action(cmd::kDbRefLast)->isChecked());
  EXPECT_FALSE(frame->Action(cmd::kDbRefFirst + 12)->isChecked());
  QSettings stored(settingsPath, QSettings::IniFormat);
  EXPECT_EQ(stored.value(QStringLiteral("Sampling Time/Current")).toInt(), 40);
  EXPECT_EQ(stored.value(QStringLiteral("Db/Ref")).toInt(), 1000);
}

// A settings path that is a FIFO or a link to a device node is neither
// opened (a FIFO would block the start for ever) nor replaced by a Setup
// command: the program starts on the defaults and the node stays what it was.
TEST_F(ShellTest, SettingsPathThatIsNoRegularFileNeitherBlocksTheStartNorIsReplaced) {
  const std::string fifo = dir.filePath(QStringLiteral("fifo.ini")).toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const QString toNull = dir.filePath(QStringLiteral("null.ini"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), toNull));
  for (const QString& path : {QString::fromStdString(fifo), toNull}) {
    SCOPED_TRACE(path.toStdString());
    qputenv("QUINTALINE_SETTINGS", path.toLocal8Bit());
    Start();
    EXPECT_EQ(Pane(pane::kSampling), QStringLiteral("  1 SEC")) << "the defaults";
    Trigger(cmd::kSampling2s);
    EXPECT_EQ(Pane(pane::kSampling), QStringLiteral("  2 SEC"));
    struct stat entry {};
    ASSERT_EQ(::stat(path.toLocal8Bit().constData(), &entry), 0);
    EXPECT_FALSE(S_ISREG(entry.st_mode)) << "replaced by a plain file";
    app.reset();
  }
  struct stat null {};
  ASSERT_EQ(::stat("/dev/null", &null), 0);
  EXPECT_TRUE(S_ISCHR(null.st_mode));
}

TEST_F(ShellTest, FileNamedOnTheCommandLineIsNotOpened) {
  const QString path = dir.filePath(QStringLiteral("run.rdg"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  QByteArray record(" 14:02:37       12.34 Vdc                DCV                 \n", 62);
  record.resize(68);
  file.write(record);
  file.close();
  Start({QStringLiteral("quintaline"), path});
  EXPECT_EQ(window->Form().ListCount(), 0);
  EXPECT_EQ(Pane(pane::kFileName), QStringLiteral("NONAME"));
  EXPECT_EQ(frame->MeasuringWindows().size(), 1);
}

TEST_F(ShellTest, MeasuringWindowMenusHaveTheirTextsAndAccelerators) {
  Start();
  const QList<QMenu*> menus = frame->Menus();
  ASSERT_EQ(menus.size(), 6);
  const std::pair<QString, QStringList> expected[] = {
      {"&File",
       {"&Open...\tCtrl+O", "&Save\tCtrl+S", "-", "&Print...\tCtrl+P", "Print Pre&view",
        "P&rint Setup...", "-", "E&xit"}},
      {"&Run", {"&Start", "Sto&p", "Pa&use"}},
      {"&View", {"&Bar", "&Line", "&Text"}},
      {"&Setup", {"> &dB", "> Sampling &Time", "-", "Com  &Port"}},
      {"&Tools", {"Journal...", "Export CSV...", "-", "Serial &Devices...", "&Link Status...", "&Capture Raw Bytes..."}},
      {"&Help", {"&Read Me", "&Using Help", "-", "&About ..."}},
  };
  for (int i = 0; i < menus.size(); ++i) {
    EXPECT_EQ(menus[i]->title(), expected[i].first);
    EXPECT_EQ(Items(menus[i]), expected[i].second) << expected[i].first.toStdString();
  }
  EXPECT_EQ(
      Items(Submenu(menus[3], QStringLiteral("&dB"))),
      (QStringList{"2 Ohm", "4 Ohm", "8 Ohm", "16 Ohm", "50 Ohm", "75 Ohm", "93 Ohm", "110 Ohm",
                   "125 Ohm", "135 Ohm", "150 Ohm", "300 Ohm", "600 Ohm", "900 Ohm", "1000 Ohm"}));
  EXPECT_EQ(Items(Submenu(menus[3], QStringLiteral("Sampling &Time"))),
            (QStringList{"500 mSEC", "1 SEC", "2 SEC", "5 SEC", "10 SEC"}));

  const std::pair<int, const char*> keys[] = {
      {cmd::kFileNew, "Ctrl+N"}, {cmd::kFileOpen, "Ctrl+O"}, {cmd::kFileSave, "Ctrl+S"},
      {cmd::kPrint, "Ctrl+P"},   {frame_cmd::kHelp, "F1"},   {frame_cmd::kContextHelp, "Shift+F1"}};
  for (const auto& [id, sequence] : keys) {
    EXPECT_EQ(frame->Action(id)->shortcut(), QKeySequence(QString::fromLatin1(sequence)))
        << sequence;
  }
}

TEST_F(ShellTest, EmptyFrameHasTheShortMenus) {
  App();
  CMainFrame empty(dialogs, settingsPath);
  const QList<QMenu*> menus = empty.Menus();
  ASSERT_EQ(menus.size(), 3);
  QStringList items = Items(menus[0]);
  items.removeAll(QStringLiteral("-"));
  EXPECT_EQ(menus[0]->title(), QStringLiteral("&File"));
  EXPECT_EQ(items, (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "P&rint Setup...",
                                "Recent File", "E&xit"}));
  EXPECT_EQ(menus[1]->title(), QStringLiteral("&View"));
  EXPECT_EQ(Items(menus[1]), (QStringList{"&Toolbar", "&Status Bar"}));
  EXPECT_EQ(menus[2]->title(), QStringLiteral("&Help"));
  items = Items(menus[2]);
  items.removeAll(QStringLiteral("-"));
  EXPECT_EQ(items, (QStringList{"&Index", "&Using Help", "&About..."}));
  EXPECT_TRUE(empty.Action(frame_cmd::kViewToolbar)->isChecked());
  EXPECT_FALSE(empty.Action(cmd::kFileSave)->isEnabled());
}

TEST_F(ShellTest, ToolbarHasOpenSaveSeparatorPrintSeparatorStartStopPause) {
  Start();
  const QList<QAction*> actions = frame->ToolBar()->actions();
  const int expected[] = {cmd::kFileOpen, cmd::kFileSave, 0, cmd::kPrint, 0, cmd::kRunStart,
                          cmd::kRunStop,  cmd::kRunPause};
  ASSERT_EQ(actions.size(), 8);
  for (int i = 0; i < 8; ++i) {
    if (expected[i] == 0) {
      EXPECT_TRUE(actions[i]->isSeparator()) << i;
      continue;
    }
    EXPECT_EQ(actions[i], frame->Action(expected[i])) << i;
    EXPECT_TRUE(actions[i]->icon().availableSizes().contains(QSize(16, 15))) << i;
  }
  EXPECT_EQ(frame->ToolBar()->iconSize(), QSize(16, 15));
}

TEST_F(ShellTest, ToolbarAndStatusBarCanBeHidden) {
  App();
  CMainFrame empty(dialogs, settingsPath);
  empty.show();
  empty.OnCommand(frame_cmd::kViewToolbar);
  empty.OnCommand(frame_cmd::kViewStatusBar);
  EXPECT_FALSE(empty.ToolBar()->isVisible());
  EXPECT_FALSE(empty.statusBar()->isVisible());
  EXPECT_FALSE(empty.Action(frame_cmd::kViewToolbar)->isChecked());
  EXPECT_FALSE(empty.Action(frame_cmd::kViewStatusBar)->isChecked());
  empty.OnCommand(frame_cmd::kViewToolbar);
  EXPECT_TRUE(empty.ToolBar()->isVisible());
  EXPECT_TRUE(empty.Action(frame_cmd::kViewToolbar)->isChecked());
}

TEST_F(ShellTest, AboutBoxShowsTheVersion) {
  Start();
  Trigger(cmd::kAbout);
  EXPECT_EQ(dialogs.abouts, 1);

  CAboutBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("About..."));
  const auto* text = box.findChild<QLabel*>(QStringLiteral("versionText"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), QStringLiteral("Quintaline Version 4.0B"));
}

// A dialog's frame offers no minimise or maximise button.
bool HasDialogFrame(const QWidget& dialog) {
  const Qt::WindowFlags flags = dialog.windowFlags();
  return flags.testFlag(Qt::CustomizeWindowHint) && flags.testFlag(Qt::WindowTitleHint) &&
         flags.testFlag(Qt::WindowCloseButtonHint) &&
         !flags.testFlag(Qt::WindowMinimizeButtonHint) &&
         !flags.testFlag(Qt::WindowMaximizeButtonHint);
}

TEST(DialogFrameTest, DialogsHaveTheFrameOfADialog) {
  App();
  CComPortDlg port({"", "", "", ""});
  EXPECT_TRUE(HasDialogFrame(port));
  CAboutBox about(nullptr);
  EXPECT_TRUE(HasDialogFrame(about));
}

// The message box of the program, looked at while it is shown.
// Without a print queue the printer writes PDF; Print Setup then offers our
// own page dialog (Qt's warns on such a printer) and the choice reaches the
// printer with the report's margins.
TEST(PageSetupDlgTest, SetsPaperAndOrientationOfAPdfPrinterWithoutAWarning) {
  App();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  static QStringList warnings;
  warnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg) warnings << text;
      });
  CPageSetupDlg dialog(printer);
  EXPECT_EQ(dialog.PaperBox()->currentText(), QPageSize::name(QPageSize::A4));
  EXPECT_FALSE(dialog.Landscape()->isChecked());
  dialog.PaperBox()->setCurrentIndex(dialog.PaperBox()->findData(int{QPageSize::Letter}));
  dialog.Landscape()->setChecked(true);
  dialog.accept();
  qInstallMessageHandler(previous);
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
  EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Letter);
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
  QPrinter fitted(QPrinter::HighResolution);
  fitted.setPageLayout(printer.pageLayout());
  FitReportPage(fitted);
  EXPECT_EQ(printer.pageLayout().margins(QPageLayout::Inch),
            fitted.pageLayout().margins(QPageLayout::Inch));
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST(MessageBoxTest, IsWideEnoughForItsTitleAndDetailLineAndHasADialogFrame) {
  App();
  const QString detail = QStringLiteral(
      "/home/someone/measurements/2026-12-10/a long folder name/run1.rdg: "
      "No such file or directory");
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = true;
    const QFontMetrics metrics(box->font());
    EXPECT_TRUE(HasDialogFrame(*box));
    EXPECT_GE(box->width(), metrics.horizontalAdvance(box->windowTitle()) + 120);
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), detail);
    EXPECT_GE(label->width(), metrics.horizontalAdvance(detail)) << "one line, unbroken";
    box->accept();
  });
  QtDialogs().Message(nullptr, QStringLiteral("File Open Error!"), detail);
  EXPECT_TRUE(seen);
}

TEST(ComPortDlgTest, ChecksTheStoredPortAndTakesTheClickedOne) {
  App();
  CComPortDlg dialog({"/dev/ttyS0", "/dev/pts/7", "", "/dev/ttyACM0"});
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("COM PORT SET"));
  EXPECT_EQ(dialog.Radio(0)->text(), QStringLiteral("COM&1"));
  EXPECT_EQ(dialog.Radio(3)->text(), QStringLiteral("COM&4"));
  EXPECT_EQ(dialog.DeviceLabel(1)->text(), QStringLiteral("/dev/pts/7"));
  EXPECT_FALSE(dialog.DeviceLabel(2)->isEnabled()) << "COM3 stands for no device";
  ASSERT_NE(dialog.findChild<QGroupBox*>(), nullptr);
  EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("COM  &PORT"));

  const auto checked = [&] {
    int n = -1;
    for (int i = 0; i < CComPortDlg::kPorts; ++i) n = dialog.Radio(i)->isChecked() ? i : n;
    return n;
  };
  dialog.m_nSelPort = 2;
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_EQ(checked(), 2);
    dialog.Radio(0)->click();
    EXPECT_EQ(dialog.m_nSelPort, 0) << "a click sets the port at once";
    dialog.accept();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);

  dialog.m_nSelPort = 7;
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_EQ(checked(), -1) << "no button for a port outside COM1 .. COM4";
    dialog.reject();
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

TEST_F(ShellTest, HelpCommandsOpenTheHelpPageNamedAfterTheProgram) {
  Start();
  Trigger(cmd::kHelpIndex);
  Trigger(cmd::kHelpUsing);
  QTest::keyClick(frame, Qt::Key_F1);
  ASSERT_EQ(dialogs.helpUrls.size(), 3u);
  for (const QUrl& url : dialogs.helpUrls) {
    ASSERT_TRUE(url.isLocalFile());
    EXPECT_EQ(QFileInfo(url.toLocalFile()).fileName(), QStringLiteral("Quintaline.html"));
    EXPECT_TRUE(QFile::exists(url.toLocalFile()));
  }
  EXPECT_EQ(dialogs.helpUrls[1].fragment(), QStringLiteral("using-help"));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ShellTest, CtrlNOpensASecondWindowWithItsOwnSettingsCopy) {
  Start();
  QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(frame->MeasuringWindows().size(), 2);
  MeasuringWindow* second = frame->ActiveMeasuringWindow();
  ASSERT_NE(second, window);
  EXPECT_TRUE(second->isMaximized());
  Trigger(cmd::kSampling10s);
  EXPECT_EQ(second->View().Link().m_nReload, 172);
  EXPECT_EQ(window->View().Link().m_nReload, 16) << "the first window keeps its own";
  EXPECT_NE(&second->View(), &window->View());
}

TEST_F(ShellTest, ClosingTheMeasuringWindowEndsTheProgram) {
  Start();
  window->close();
  EXPECT_TRUE(WaitFor([this] { return !frame->isVisible(); }));
}

}  // namespace
}  // namespace ql::test_support
