#pragma once
// CQarnView is the measuring window without a window: it holds the state of
// the measurement run (m_bIdle, m_nLineCount, ...) and carries out the
// window's commands, its 50 ms timer tick, its repaints and its printing as
// plain methods. What it needs from around it comes through four seams: the
// FormHost (controls, list of readings, status bar, dialogs, the meter
// panel's Canvas), the ProfileStore (settings), the Clock (time of a sample)
// and the SerialLine the meter link reads.
//
// The faces forward every command id of run/ids.h to OnCommand and refresh
// the enabled and checked state of their actions from OnUpdateCommand after
// every command and tick. Everything runs on one thread.
//
// A face may also hand it a JournalSink (with a WallClock), which is told of
// every recorded sample and every run event; without one nothing is
// journaled.
//
// The four seams must outlive the view. Call OnCreate, then OnInitialUpdate,
// before anything else.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/line_source.h"
#include "base/list_line.h"
#include "decode/classify.h"
#include "decode/lcd_decoder.h"
#include "graph/graph_values.h"
#include "graph/display_form.h"
#include "graph/graph_picture.h"
#include "link/com_qv7300.h"
#include "run/clock.h"
#include "run/fonts.h"
#include "run/form_host.h"
#include "run/journal_sink.h"
#include "run/meter_watch.h"
#include "run/profile_store.h"
#include "run/reading_list.h"

namespace ql {

class Canvas;

// The message box for a list or file with no reading to show, draw or print.
inline constexpr char kNoDataText[] = "Data not exist !";

class CQarnView {
 public:
  static constexpr int kWindowSize = 500;       // values in the averaging window
  static constexpr int kGraphSize = static_cast<int>(kGraphValueCount);
  static constexpr int kDisplayFieldSize = 48;  // any float or level printed, and NUL
  static constexpr int kFileNameSize = 100;
  static constexpr int kLineLength = static_cast<int>(list_line::kLength);
  static constexpr int kSamplingCommands = 5;
  static constexpr int kDbCommands = 15;

  CQarnView(FormHost& host, ProfileStore& store, Clock& clock, SerialLine& line);
  virtual ~CQarnView() = default;
  CQarnView(const CQarnView&) = delete;
  CQarnView& operator=(const CQarnView&) = delete;

  // Creation: reads the settings, writes the status-bar panes, makes the
  // fonts and starts the 50 ms timer. Returns 0.
  int OnCreate();
  void OnInitialUpdate();

  // Run control.
  void OnRunStart();
  void OnRunPause();
  void OnRunStop();
  void OnSetupComPort();
  // Returns true iff the command they guard is enabled.
  bool OnUpdateIdle() const { return m_bIdle != 0; }
  bool OnUpdateRunning() const { return m_bRunning != 0; }
  bool OnUpdateRecording() const { return m_bRecording != 0; }
  bool OnUpdateFileSave() const { return m_bCanSave != 0; }
  // Whether the meter of the running run is heard, for the face's indicator.
  MeterState MeterStateNow() const;

  // The 50 ms tick: the sampling cycle.
  void OnTimer();

  // Mode buttons.
  void OnButtonRel();
  void OnButtonPeakHold();
  void OnButtonMinMax();
  void OnButtonDb();

  // Display forms and drawing.
  void SetDisplayForm(int nForm);
  void OnViewBar();
  void OnViewLine();
  void OnViewText();
  void DrawTrendGraph();
  void DrawGraphFile();
  // The repaint hook.
  void OnDraw();

  // Settings commands: `id` is one of cmd::kSampling500ms .. kSampling10s,
  // or cmd::kDbRefFirst .. kDbRefLast. Returns false for any other id.
  bool OnSamplingCommand(int id);
  bool OnDbCommand(int id);

  // Data files.
  void OnFileOpen();
  void OnFileSave();

  // Printing: the page count of a job, then each page from 1.
  int OnPreparePrinting();
  void OnPrint(Canvas& canvas, int page);
  virtual void PrintPageNumber(Canvas& canvas, int page);

  // Carries out the command or button `id` (run/ids.h). Returns true iff it
  // is one of the view's commands and was enabled; disabled commands are
  // ignored.
  bool OnCommand(int id);
  struct CommandState {
    bool enabled = true;
    bool checked = false;
  };
  // The menu state of `id`; ids the view does not handle are enabled and
  // unchecked.
  CommandState OnUpdateCommand(int id) const;

  // The list of readings as lines.
  const ReadingList& Lines() const { return m_list; }

  // Where the view reports its runs. `sink` and `clock` must outlive the
  // view, or be replaced first; a null sink turns the journal off.
  struct JournalHookup {
    JournalSink* sink = nullptr;
    WallClock* clock = nullptr;
    std::string programVersion;
    std::string face;                        // "gui" or "cli"
    std::function<std::string()> devicePath;  // the open line's device
  };
  void SetJournal(JournalHookup hookup) { m_journal = std::move(hookup); }

  // Run state.
  int m_bIdle = 1;
  int m_bRunning = 0;
  int m_bRecording = 0;
  int m_bCanSave = 0;
  int m_nLineCount = 0;
  char m_szFileName[kFileNameSize] = "NONAME";  // title of the current data file

  // Display forms, trend graph and graph-file picture.
  int m_nDisplayForm = FORM_NONE;
  int m_bGraphLoaded = 0;
  GraphPicture m_GraphBuf{};
  GraphValues m_fGraphValue{};
  int m_nGraphStart = 0;
  int m_nGraphLength = kGraphSize;
  char m_szGraphLabel[10] = {};
  int m_nLinesPerPage = 45;
  std::uint8_t m_nDeferredRedraw = 0;  // one more graph draw at the next idle tick

  // Port settings and the meter link.
  CRScom m_rsCom;
  CComQV7300 m_link;

  // The current reading. m_lcd keeps the function code from frame to frame.
  LcdTexts m_lcd;
  char m_chClass = 0;
  char m_szDisplay[kDisplayFieldSize] = "      ";  // as the panel shows it, after the modes
  char m_szUnit[8] = "    ";                       // as the panel shows it, after the modes
  char m_szPrefix[4] = "   ";                      // the prefix field, always blanks
  // The panel's 6- and 4-character fields beside the reading. Nothing the
  // meter sends fills them, so they stay blank; they are still shown and
  // written into every list line (list_line::kField6, kField4), which keeps
  // the columns that files, the report and the graph's diode scale read.
  char m_szField6[7] = "      ";
  char m_szField4[5] = "    ";

  // Sample store.
  char m_chListClass = 0;  // class of the lines now in the list; 0 = none
  char m_szListUnit[5] = "    ";
  int m_nListDecimals = 0;
  float m_fValue = 0.0f;
  double m_dWindowSum = 0.0;
  float m_fWindowCount = 0.0f;                  // 0 .. 500, a whole number
  std::array<float, kWindowSize> m_afWindow{};  // slot 0 oldest

  // Reading modes.
  int m_bRel = 0;
  int m_bRelCapture = 0;
  float m_fRelRef = 0.0f;
  char m_szRelRefText[11] = {};
  char m_szRelRefUnit[11] = {};
  int m_bPeakHold = 0;
  float m_fPeakMax = 0.0f;
  float m_fPeakMin = 0.0f;
  char m_szPeakMaxText[11] = {};
  char m_szPeakMinText[11] = {};
  int m_bMinMax = 0;
  float m_fMinMaxMax = 0.0f;
  float m_fMinMaxMin = 0.0f;
  char m_szMinMaxMaxText[11] = {};
  char m_szMinMaxMinText[11] = {};
  int m_bDb = 0;
  int m_nDbRefOhm = 600;
  float m_fDbRefKOhm = 0.6f;
  float m_fDbValue = 0.0f;

  // Settings shown in the menus and the status bar.
  std::string m_strSamplingText;
  std::array<int, kSamplingCommands> m_bSamplingCheck{};  // 500 ms, 1, 2, 5, 10 s
  std::array<int, kDbCommands> m_bDbCheck{};              // 2 .. 1000 Ohm

  // Fonts, made by OnCreate.
  FontDesc m_fontPanel;
  FontDesc m_fontLarge;
  FontDesc m_fontLargeGreek;
  FontDesc m_fontVertical;
  FontDesc m_fontList;

  // Remembered paths of the file dialogs.
  std::string m_strOpenPath;
  std::string m_strSavePath;

  // "Data not exist !" was shown since the list or the display form last
  // changed; a repaint does not show it again.
  int m_bNoDataShown = 0;
  // The user was told that the meter connection was lost in this run.
  int m_bLineLostShown = 0;

  // The journal: the run's start, and whether lines went to the journal
  // since the list was last cleared (a clearing then ends a part).
  WallTime m_runStartTime{};
  int m_bJournalPartOpen = 0;

 private:
  // Settings.
  void ReadSettings();
  void WriteStatusPanes();
  void ShowPortPane();
  void ShowDbPane();
  void DbReferenceChanged();
  int PortNumber() const;

  // Sampling cycle.
  bool CheckLineLost();
  void UpdatePanel(Canvas* canvas, const Reading& reading);

  // Sample store.
  void BuildListLine(const Reading& reading, char (&line)[kLineLength + 1]);
  void RecordSample(const Reading& reading, const char* line);
  void ClearForNoClass();
  // `why` is told to the journal when the list held lines of the run.
  void ClearList(const char* why);
  void AddWindowValue(float value);

  // Journal feed; each does nothing without a sink.
  void JournalBeginRun();
  void JournalRecord(const Reading& reading, const char* line);
  void JournalEvent(RunEventKind kind, std::string detail = {});
  void JournalListCleared(const char* why);

  // Reading modes (tick side).
  void ApplyModes(const Reading& reading);
  void ApplyExtremes(const Reading& reading);
  void ApplyRelative(const Reading& reading);
  void ApplyDb(const Reading& reading);
  struct DbForm;
  void ApplyDbForm(const Reading& reading, const DbForm& form);
  void TakeExtreme(float& max, float& min, char (&maxText)[11], char (&minText)[11]);
  // Mean of the averaging window; 0 when it is empty.
  double WindowAverage() const;

  // Files.
  void SetFileTitle(const std::string& path);

  FormHost& m_host;
  ProfileStore& m_store;
  Clock& m_clock;
  ReadingList m_list;
  MeterWatch m_meterWatch;
  JournalHookup m_journal;
};

}  // namespace ql
