// File Open and File Save: reading files and graph files through the host's
// file dialogs, each with its own remembered path; and a run's lines taken
// back from the journal.

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/utf8.h"
#include "files/graph_file.h"
#include "files/reading_file.h"
#include "run/ids.h"
#include "run/qarn_view.h"

namespace ql {

namespace {

constexpr char kOpenFilter[] = "Quintaline Files (*.rdg)\n*.rdg\nAll Files (*.*)\n*.*\n\n";
constexpr char kSaveFilter[] = "Quintaline Files (*.rdg)\n*.rdg\n\n";
constexpr char kDataExtension[] = "rdg";
constexpr char kSaveErrorText[] = "File Save Error!";
constexpr char kOpenErrorText[] = "File Open Error!";

// The name of `path` without its folder.
std::string_view FileTitle(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// `title` cut to at most `limit` bytes; a UTF-8 name is never cut inside a
// character.
std::string_view ShortenTitle(std::string_view title, std::size_t limit) {
  if (title.size() <= limit) return title;
  std::size_t cut = limit;
  if (IsUtf8(title)) {
    while (cut > 0 && IsUtf8Continuation(static_cast<unsigned char>(title[cut]))) --cut;
  }
  return title.substr(0, cut);
}

}  // namespace

void CQarnView::SetFileTitle(const std::string& path) {
  const std::string_view title = ShortenTitle(FileTitle(path), sizeof m_szFileName - 1);
  std::memcpy(m_szFileName, title.data(), title.size());
  m_szFileName[title.size()] = '\0';
  m_host.status.SetPaneText(pane::kFileName, m_szFileName);
  m_host.status.SetFilePath(path);
}

void CQarnView::OnFileSave() {
  FileDialogOptions options;
  options.filter = kSaveFilter;
  options.defaultExtension = kDataExtension;
  options.initialPath = m_strSavePath;
  options.overwritePrompt = true;
  const std::optional<std::string> path = m_host.dialogs.SaveFileDialog(options);
  if (!path) return;
  m_strSavePath = *path;

  // Both writers replace the file only once everything reached the disk, so
  // a failed save leaves any older file of that name as it was.
  const bool graph = m_nDisplayForm == FORM_GRAPHFILE;
  const Status status = graph ? SaveGraphFile(*path, m_GraphBuf) : SaveReadingFile(*path, m_list);
  if (!status.ok()) {
    m_host.status.MessageBox(kSaveErrorText, status.reason());
    return;
  }
  m_nLineCount = graph ? 0 : m_list.Count();
  m_bCanSave = 0;
  SetFileTitle(*path);
  JournalEvent(RunEventKind::kSaved, *path);
}

void CQarnView::OnFileOpen() {
  FileDialogOptions options;
  options.filter = kOpenFilter;
  options.defaultExtension = kDataExtension;
  options.initialPath = m_strOpenPath;
  const std::optional<std::string> path = m_host.dialogs.OpenFileDialog(options);
  if (!path) return;
  m_strOpenPath = *path;

  // Nothing of the view changes until the whole file was read.
  DataFileKind kind = DataFileKind::kReading;
  Status status = SniffDataFile(*path, kind);
  if (status.ok() && kind == DataFileKind::kGraph) {
    GraphPicture picture{};
    status = LoadGraphFile(*path, picture);
    if (status.ok()) {
      SetFileTitle(*path);
      m_GraphBuf = picture;
      m_bGraphLoaded = 1;
      SetDisplayForm(FORM_GRAPHFILE);
      m_host.panel.InvalidateView();  // the picture is drawn now, not at some later repaint
      return;
    }
  } else if (status.ok()) {
    std::vector<std::string> lines;
    status = LoadReadingFile(*path, lines);
    if (status.ok()) {
      SetFileTitle(*path);
      m_bGraphLoaded = 0;
      m_host.list.ListSetRedraw(false);
      ClearList("file opened");
      for (const std::string& line : lines) {
        m_list.Add(line);
        m_host.list.ListAdd(line);
      }
      ShowFilledList();
      return;
    }
  }
  m_host.status.MessageBox(kOpenErrorText, status.reason());
}

void CQarnView::ShowFilledList() {
  if (m_list.Count() > 0) m_host.list.ListSelect(m_list.Count() - 1);
  m_host.controls.SetControlFont(ctl::kList, m_fontList);
  m_host.list.ListSetRedraw(true);
  m_nLineCount = m_list.Count();
  SetDisplayForm(FORM_LINE);
  m_host.panel.InvalidateView();
}

void CQarnView::LoadRecordedLines(ReadingList lines) {
  if (!m_bIdle) return;
  m_bGraphLoaded = 0;
  m_host.list.ListSetRedraw(false);
  ClearList("run loaded from the journal");
  m_list = std::move(lines);
  for (int i = 0; i < m_list.Count(); ++i) m_host.list.ListAdd(m_list.View(i));
  // A run as it stands after Stop: no file yet, and Save may write one.
  std::snprintf(m_szFileName, sizeof m_szFileName, "%s", "NONAME");
  m_host.status.SetPaneText(pane::kFileName, m_szFileName);
  m_host.status.SetFilePath({});
  m_bCanSave = m_list.Count() > 0 ? 1 : 0;
  ShowFilledList();
}

}  // namespace ql
