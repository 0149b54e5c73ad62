#pragma once
// The measuring window as the file commands (graph, report, export) use it:
// created as the program creates it, with settings held in memory (these
// commands neither read nor change the user's settings) and a line that
// leads to no device, then given a file through its own File Open.

#include <QByteArray>

#include <string>
#include <string_view>

#include "cli/cli_host.h"
#include "link/posix_serial_line.h"
#include "run/memory_profile_store.h"
#include "run/qarn_view.h"
#include "run/system_clock.h"

namespace ql::cli {

class FileView {
 public:
  FileView();
  FileView(const FileView&) = delete;
  FileView& operator=(const FileView&) = delete;

  // Opens `path` through File Open. Returns true iff no message box was
  // shown (the file was read and the view shows it).
  [[nodiscard]] bool Open(const std::string& path);

  CliHost& host() { return host_; }
  CQarnView& view() { return view_; }

 private:
  MemoryProfileStore store_;
  PosixSerialLine line_;
  SystemClock clock_;
  CliHost host_;
  CQarnView view_;
};

// Writes the output file of `command` all or nothing, but never over its
// input file (the same device and inode, so also through a link). Returns
// the exit status; a failure's reason is on stderr.
int WriteOutputFile(std::string_view command, const std::string& input, const std::string& output,
                    const QByteArray& bytes);

}  // namespace ql::cli
