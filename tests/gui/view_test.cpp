// The measuring window's form and what the view draws on it: the View
// commands with the reading fields and the meter panel, "Data not exist !"
// for an empty list, printing through the menu's print path, and the form's
// layout and colours.

#include <QFile>
#include <QGroupBox>
#include <QMdiArea>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyleOptionGroupBox>

#include "app/dialogs.h"
#include "app/meter_panel.h"
#include "app/qarn_form.h"
#include "app/reading_list_view.h"
#include "base/list_line.h"
#include "files/graph_file.h"
#include "graph/canvas.h"
#include "graph/graph_scale.h"
#include "qtsupport/painter_canvas.h"
#include "gui_fixture.h"
#include "qtsupport/render.h"
#include "run/ids.h"

namespace ql::test_support {
namespace {

class ViewTest : public GuiTest {
 protected:
  // A reading file of `count` direct-voltage lines rising from 1.00 V.
  QString WriteReadings(int count) {
    const QString path = dir.filePath(QStringLiteral("readings.rdg"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < count; ++i) {
      char line[68] = {};
      std::snprintf(line, sizeof line, " 12:00:%02d       %5.2f Vdc                %-20s\n", i % 60,
                    1.0 + i * 0.25, "DCV");
      file.write(line, sizeof line);
    }
    return path;
  }

  void OpenReadings(int count) {
    dialogs.fileAnswers = {WriteReadings(count)};
    Trigger(cmd::kFileOpen);
    ASSERT_EQ(window->Form().ListCount(), count);
  }

  QColor PanelPixel(int x, int y) const {
    return window->Form().Panel()->Picture().pixelColor(x, y);
  }

  bool ReadingFieldsVisible() const {
    for (int id = ctl::kReading; id <= ctl::kField4; ++id) {
      if (!Visible(id)) return false;
    }
    return true;
  }
};

TEST_F(ViewTest, ViewCommandsSwitchTheReadingFieldsAndThePanel) {
  Start();
  OpenReadings(40);
  ASSERT_TRUE(WaitFor([this] { return PanelPixel(45, 100) == QColor(Qt::black); }))
      << "the opened run is drawn as a line graph at the next repaint";
  EXPECT_FALSE(ReadingFieldsVisible());

  Trigger(cmd::kViewText);
  EXPECT_TRUE(ReadingFieldsVisible());
  for (int id = ctl::kReading; id <= ctl::kField4; ++id) EXPECT_EQ(Control(id), " ") << id;
  EXPECT_EQ(PanelPixel(45, 100), QColor(Qt::green));

  Trigger(cmd::kViewBar);
  EXPECT_FALSE(ReadingFieldsVisible());
  EXPECT_EQ(PanelPixel(45, 100), QColor(Qt::black)) << "axis";
  // The 40th reading, 10.75 on the scale of -40 .. 40, is the bar at x 76
  // from the zero line (y 71) up to y 55.
  EXPECT_EQ(PanelPixel(76, 65), QColor(Qt::black)) << "inside the newest bar";

  Trigger(cmd::kViewLine);
  EXPECT_FALSE(ReadingFieldsVisible());
  EXPECT_EQ(PanelPixel(76, 65), QColor(Qt::green)) << "the bars are gone";
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ViewTest, OpenedGraphFileIsDrawnAndTheListEmptiedAtOnce) {
  Start();
  OpenReadings(40);
  QSignalSpy ticks(window, &MeasuringWindow::ticked);
  ASSERT_TRUE(WaitFor([&] { return ticks.count() >= 5; }));
  ASSERT_EQ(PanelPixel(45, 100), QColor(Qt::black)) << "the readings' trend graph";

  GraphPicture picture{};
  picture[2 + 10] = 0x01;  // one dot: band 0, column 10, row 0
  const QString path = dir.filePath(QStringLiteral("picture.rdg"));
  ASSERT_TRUE(SaveGraphFile(path.toStdString(), picture).ok());
  dialogs.fileAnswers = {path};
  ticks.clear();
  Trigger(cmd::kFileOpen);
  ASSERT_TRUE(WaitFor([&] { return ticks.count() >= 1; }));
  EXPECT_EQ(window->Form().ListCount(), 0);
  EXPECT_EQ(PanelPixel(36 + 3 * 10 + 1, 8), QColor(Qt::blue)) << "the picture's dot";
  EXPECT_EQ(PanelPixel(45, 100), QColor(Qt::green)) << "the old graph is gone";
  EXPECT_EQ(Pane(pane::kFileName), QStringLiteral("picture.rdg"));

  Trigger(cmd::kViewLine);
  EXPECT_EQ(dialogs.CountOf(QStringLiteral("Data not exist !")), 1) << "the old list is gone";
}

TEST_F(ViewTest, FileNamePaneKeepsItsWidthAndShowsTheWholePathAsItsTip) {
  Start();
  const QLabel* pane = frame->Pane(pane::kFileName);
  const int width = pane->width();
  EXPECT_TRUE(pane->toolTip().isEmpty());
  const QString path = dir.filePath(QStringLiteral("a rather long reading file name.rdg"));
  ASSERT_TRUE(QFile::copy(WriteReadings(3), path));
  dialogs.fileAnswers = {path};
  Trigger(cmd::kFileOpen);
  ASSERT_EQ(window->Form().ListCount(), 3);
  EXPECT_EQ(pane->width(), width);
  EXPECT_EQ(pane->toolTip(), path);

  Trigger(cmd::kFileNew);
  MeasuringWindow* second = frame->ActiveMeasuringWindow();
  ASSERT_NE(second, window);
  EXPECT_EQ(Pane(pane::kFileName), QStringLiteral("NONAME"));
  EXPECT_TRUE(pane->toolTip().isEmpty()) << "a new window names no file";
}

TEST_F(ViewTest, DataNotExistIsShownOnceForAnEmptyList) {
  Start();
  Trigger(cmd::kViewLine);
  EXPECT_EQ(dialogs.CountOf(QStringLiteral("Data not exist !")), 1);
  // Repaints, resizes and idle ticks redraw the graph form; the message
  // stays away until the list or the form changes.
  window->Form().InvalidateView();
  frame->resize(700, 520);
  QSignalSpy ticks(window, &MeasuringWindow::ticked);
  ASSERT_TRUE(WaitFor([&] { return ticks.count() >= 10; }));
  EXPECT_EQ(dialogs.CountOf(QStringLiteral("Data not exist !")), 1);
  Trigger(cmd::kViewBar);
  EXPECT_EQ(dialogs.CountOf(QStringLiteral("Data not exist !")), 2) << "asked for again";
}

TEST_F(ViewTest, PrintGoesToThePrinterChosenInThePrintDialog) {
  Start();
  OpenReadings(40);
  Trigger(cmd::kViewText);
  dialogs.pdfPath = dir.filePath(QStringLiteral("report.pdf"));
  Trigger(cmd::kPrint);
  EXPECT_EQ(dialogs.printPages, 2) << "35 lines on the first page, 5 on the second";
  QFile pdf(dialogs.pdfPath);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));
  pdf.close();

  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  QProcess text;
  text.start(pdftotext, {dialogs.pdfPath, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(10000));
  const QString out = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(out.contains(QStringLiteral("Number of Samples"))) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("10.75"))) << "the 40th reading, on page 2";
  EXPECT_TRUE(out.contains(QStringLiteral("2 Page")));

  // The document is titled as the header's "Printing Filename" line.
  QProcess info;
  info.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {dialogs.pdfPath});
  ASSERT_TRUE(info.waitForFinished(10000));
  const QString fields = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(fields.contains(QRegularExpression(QStringLiteral("Title: +readings.rdg\n"))))
      << fields.toStdString();
}

TEST_F(ViewTest, PreviewDrawsThroughTheSamePrintPath) {
  Start();
  OpenReadings(3);
  dialogs.previewPath = dir.filePath(QStringLiteral("preview.pdf"));
  Trigger(cmd::kPrintPreview);
  EXPECT_EQ(dialogs.previews, 1);
  EXPECT_GT(QFileInfo(dialogs.previewPath).size(), 0);
  Trigger(cmd::kPrintSetup);
  EXPECT_EQ(dialogs.pageSetups, 1);
}

TEST_F(ViewTest, FormFitsTheWindowAtTheStartSizeWithoutAScrollBar) {
  Start();
  ASSERT_EQ(frame->size(), QSize(640, 480));
  auto* scroll = window->findChild<QScrollArea*>(QStringLiteral("formScroll"));
  ASSERT_NE(scroll, nullptr);
  ASSERT_TRUE(WaitFor([&] { return scroll->viewport()->height() > 0; }));
  EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);
  EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
  const QWidget* list = window->Form().Control(ctl::kList);
  EXPECT_LE(list->mapTo(scroll->viewport(), QPoint(0, list->height())).y(),
            scroll->viewport()->height())
      << "the list is seen whole";
}

TEST_F(ViewTest, FormHasThePanelAndListColoursAndRoomForThePanelDrawings) {
  Start();
  const QarnForm& form = window->Form();
  const QImage& picture = form.Panel()->Picture();
  // The panel's surface is the drawings' (0,0)-(453,172), no strip beside.
  EXPECT_EQ(picture.size(), QSize(kPanelWidth, kPanelHeight));
  EXPECT_EQ(form.Panel()->contentsRect().size(), picture.size());
  EXPECT_EQ(form.List()->palette().color(QPalette::Base), QColor(0, 255, 255));
  EXPECT_EQ(form.Control(ctl::kReading)->palette().color(QPalette::Window), QColor(0, 255, 0));
  EXPECT_EQ(form.Control(ctl::kReading)->parentWidget(), form.Panel()) << "fields lie on it";
  EXPECT_EQ(form.Control(ctl::kList)->geometry().right() + 1 <= form.width(), true);
  EXPECT_LE(form.width(), frame->MdiArea()->width()) << "the form fits across the window";
  EXPECT_EQ(Control(ctl::kTimeHeader), "Time");
  EXPECT_EQ(Control(ctl::kValueHeader), "Measured Value / Range");
  EXPECT_EQ(Control(ctl::kStatGroup), "PEAK HOLD");
  EXPECT_FALSE(form.Control(ctl::kStatGroup)->isEnabled());
  const FontDesc* listFont = form.ControlFont(ctl::kList);
  ASSERT_NE(listFont, nullptr);
  EXPECT_EQ(*listFont, kListFont);
}

// The reference texts lie inside their group's frame, below its title and
// its top line, as the dialog-unit layout means them to.
TEST_F(ViewTest, ReferenceTextsLieInsideTheirGroupFrames) {
  Start();
  const QarnForm& form = window->Form();
  for (const auto& [groupId, textId] :
       {std::pair{ctl::kRelGroup, ctl::kRelRefText}, std::pair{ctl::kDbGroup, ctl::kDbRefText}}) {
    auto* group = qobject_cast<QGroupBox*>(form.Control(groupId));
    ASSERT_NE(group, nullptr) << groupId;
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect frameRect = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxFrame, group);
    const QRect titleRect = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, group);
    const QRect text = form.Control(textId)->geometry().translated(-group->pos());
    EXPECT_GT(text.top(), frameRect.top()) << textId << " on the top line";
    EXPECT_GT(text.top(), titleRect.bottom()) << textId << " on the title";
    EXPECT_LE(text.bottom(), frameRect.bottom()) << textId << " below the frame";
  }
}

// Every scale text of the trend graph ends left of its y axis at x = 45 in
// the panel's default font: one list line for each scale, at each position
// of the decimal point.
TEST(PanelFontTest, EveryScaleTextEndsLeftOfTheYAxis) {
  App();
  const char* const names[] = {"ACV   ", "DCV   ", "mV  A ", "mV  D ", "OHM   ", "nS    ",
                               "   DIO", "CAP   ", "mA  A ", "mA  D ", "20   A", "20   D",
                               "LOG   ", "SIG   ", "TEM   ", "FR    ", "hF    "};
  constexpr int kYAxis = 45;
  for (const char* name : names) {
    for (int point = 0; point <= 3; ++point) {
      std::string line(66, ' ');
      if (point < 3) line[list_line::kValue.At(2 + static_cast<std::size_t>(point))] = '.';
      line.replace(list_line::kName.first, 6, name);
      const GraphScale scale = ChooseScale(line);
      QImage image(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      PainterCanvas canvas(painter);
      DrawScaleTexts(canvas, scale);
      painter.end();
      int rightmost = -1;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          if (image.pixel(x, y) != QColor(Qt::white).rgb()) rightmost = std::max(rightmost, x);
        }
      }
      EXPECT_LT(rightmost, kYAxis) << name << " point " << point << ": " << scale.topText
                                   << " / " << scale.bottomText;
    }
  }
}

class NoPanes : public PaneSink {
 public:
  void SetPaneText(int, const QString&) override {}
  void SetPaneToolTip(int, const QString&) override {}
};

TEST(QarnFormTest, DrawingOfAHandlerNestedInAModalDialogShowsWhenItReturns) {
  App();
  TestDialogs dialogs;
  NoPanes panes;
  QarnForm form(dialogs, panes, {});
  form.Handle([&] {
    // The outer handler waits in a modal dialog; a tick draws meanwhile.
    form.Handle([&] { form.PanelCanvas()->FillRect(0, 0, 10, 10, kBlue); });
    EXPECT_EQ(form.Panel()->Current(), nullptr) << "closed when the tick returned";
    EXPECT_EQ(form.Panel()->Picture().pixelColor(5, 5), QColor(Qt::blue));
    Canvas* outer = form.PanelCanvas();
    form.Handle([&] { EXPECT_EQ(form.PanelCanvas(), outer) << "shared while the outer draws"; });
    EXPECT_EQ(form.Panel()->Current(), outer) << "still the outer handler's";
  });
  EXPECT_EQ(form.Panel()->Current(), nullptr);

  form.PanelCanvas()->SetPixel(1, 1, kWhite);  // outside any handler
  EXPECT_TRUE(QTest::qWaitFor([&] { return form.Panel()->Current() == nullptr; }, 1000));
}

TEST(ReadingListViewTest, ShowsLatin1TextWithoutTheLineFeedOfAFileLine) {
  App();
  ReadingList lines;
  ReadingListView list;
  list.SetLines(&lines);
  for (const char* line : {"  \xB5"
                           "Adc",
                           " 12.34 Vdc\n"}) {
    lines.Add(line);
    list.RowAdded();
  }
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.DisplayText(0), QString::fromUtf8("  µAdc"));
  EXPECT_EQ(list.DisplayText(1), QStringLiteral(" 12.34 Vdc"));
  EXPECT_EQ(list.Line(1), " 12.34 Vdc\n") << "the line itself is kept as given";
}

TEST(ReadingListViewTest, SelectingScrollsJustFarEnough) {
  App();
  ReadingList lines;
  ReadingListView list;
  list.SetLines(&lines);
  list.resize(300, 160);
  list.show();
  for (int i = 0; i < 1000; ++i) {
    lines.Add("line");
    list.RowAdded();
  }
  const int rows = list.VisibleRows();
  ASSERT_GT(rows, 1);
  list.Select(999);
  EXPECT_EQ(list.Selected(), 999);
  EXPECT_EQ(list.TopRow(), 1000 - rows) << "the newest line is the bottom row";
  list.Select(1000 - rows);
  EXPECT_EQ(list.TopRow(), 1000 - rows) << "already in sight";
  list.Select(3);
  EXPECT_EQ(list.TopRow(), 3);
  QTest::keyClick(&list, Qt::Key_End);
  EXPECT_EQ(list.Selected(), 999);
  QTest::keyClick(&list, Qt::Key_Up);
  EXPECT_EQ(list.Selected(), 998);
  lines.Reset();
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Selected(), -1);
  EXPECT_EQ(list.TopRow(), 0);
}

TEST(NameFiltersTest, FilterTextBecomesQtNameFilters) {
  EXPECT_EQ(NameFilters("Quintaline Files (*.rdg)\n*.rdg\nAll Files (*.*)\n*.*\n\n"),
            (QStringList{"Quintaline Files (*.rdg)", "All Files (*.*)"}));
  EXPECT_EQ(NameFilters("Data\n*.rdg;*.rdh\n\n"), QStringList{"Data (*.rdg *.rdh)"});
  EXPECT_TRUE(NameFilters("").isEmpty());
}

}  // namespace
}  // namespace ql::test_support
