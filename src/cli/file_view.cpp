#include "cli/file_view.h"

#include "run/ids.h"

namespace ql::cli {

FileView::FileView()
    : line_([](const std::string&) { return std::string(); }), view_(host_, store_, clock_, line_) {
  view_.OnCreate();
  view_.OnInitialUpdate();
}

bool FileView::Open(const std::string& path) {
  host_.SetOpenPath(path);
  const int before = host_.MessageCount();
  view_.OnCommand(cmd::kFileOpen);
  return host_.MessageCount() == before;
}

}  // namespace ql::cli
