#include "run/form_host.h"

namespace ql {

namespace {

// The list of a face that shows none: the lines are the view's alone.
class NoList : public FormList {
 public:
  void ListReset() override {}
  void ListAdd(std::string_view) override {}
  void ListSelect(int) override {}
  void ListSetRedraw(bool) override {}
};

// The window of a face that ticks the view from its own loop: that loop is
// the timer, and there is no frame to maximize.
class NoWindow : public FormWindow {
 public:
  bool StartTimer(int, int) override { return true; }
  void ShowFrameMaximized() override {}
};

// Stateless, so every view may share them.
NoList noList;
NoWindow noWindow;

}  // namespace

FormHost::FormHost(FormControls& formControls, FormStatus& formStatus, FormDialogs& formDialogs,
                   FormPanel& formPanel, FormList* formList, FormWindow* formWindow)
    : controls(formControls),
      status(formStatus),
      dialogs(formDialogs),
      panel(formPanel),
      list(formList != nullptr ? *formList : noList),
      window(formWindow != nullptr ? *formWindow : noWindow) {}

}  // namespace ql
