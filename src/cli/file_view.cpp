#include "cli/file_view.h"

#include <sys/stat.h>

#include <QString>

#include "cli/args.h"
#include "cli/output.h"
#include "qtsupport/whole_file.h"
#include "run/ids.h"

namespace ql::cli {

FileView::FileView()
    : line_([](const std::string&) { return std::string(); }),
      view_(host_.Parts(), store_, clock_, line_) {
  view_.OnCreate();
  view_.OnInitialUpdate();
}

bool FileView::Open(const std::string& path) {
  host_.SetOpenPath(path);
  const int before = host_.MessageCount();
  view_.OnCommand(cmd::kFileOpen);
  return host_.MessageCount() == before;
}

int WriteOutputFile(std::string_view command, const std::string& input, const std::string& output,
                    const QByteArray& bytes) {
  const std::string prefix = "quintaline-cli " + std::string(command) + ": ";
  struct stat in {};
  struct stat out {};
  if (::stat(input.c_str(), &in) == 0 && ::stat(output.c_str(), &out) == 0 &&
      in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
    PrintError(prefix + "cannot write " + output + ": it is the input file " + input);
    return kExitFailed;
  }
  if (const Status status = WriteWholeFile(QString::fromStdString(output), bytes); !status.ok()) {
    PrintError(prefix + status.reason());
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace ql::cli
