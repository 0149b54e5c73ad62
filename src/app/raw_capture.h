#pragma once
// A measuring window's capture of the raw bytes its meter link receives
// (Tools > Capture Raw Bytes...): started while a run goes on, ended by the
// user, by the end of the run or by the window closing. Nothing here waits
// on the disk on the GUI thread while a run goes on: an ended capture's
// file is closed by its own thread, and the capture is kept until that
// thread is done.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"
#include "capture/capture_writer.h"
#include "run/qarn_view.h"

namespace ql {

class RawCapture {
 public:
  // `view` must outlive this object.
  explicit RawCapture(CQarnView& view) : m_view(view) {}
  // Ends the capture and waits for every file to be closed.
  ~RawCapture();
  RawCapture(const RawCapture&) = delete;
  RawCapture& operator=(const RawCapture&) = delete;

  // Creates the file and captures from now on. REQUIRES: !Active().
  Status Start(const std::string& path);
  // Ends the capture; its file is closed soon after, off this thread.
  void Stop();
  bool Active() const { return m_writer != nullptr; }
  // The file of the capture going on; empty when none.
  std::string Path() const { return m_writer ? m_writer->Path() : std::string(); }

  // Call after every tick, `running` telling whether the run goes on (a
  // capture ends with its run). Returns a failure to tell the user of, once
  // for each capture; the capture has then ended.
  std::optional<Status> AfterTick(bool running);

 private:
  CQarnView& m_view;
  std::unique_ptr<CaptureWriter> m_writer;              // the capture going on
  std::vector<std::unique_ptr<CaptureWriter>> m_closing;  // ended, files being closed
};

}  // namespace ql
