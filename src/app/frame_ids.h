#pragma once
// Command ids the main frame handles itself, beside those of run/ids.h.

namespace ql::frame_cmd {

inline constexpr int kRecentFile1 = 57616;  // the recent-file list
inline constexpr int kContextHelp = 57669;  // Shift+F1
inline constexpr int kHelp = 57670;         // F1
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

// The Tools pop-up of a measuring window: the journal's items are 33100 to
// 33109, the meter link's 33110 to 33119.
inline constexpr int kToolsJournal = 33100;
inline constexpr int kToolsExportCsv = 33101;
inline constexpr int kSerialDevices = 33110;
inline constexpr int kLinkStatus = 33111;
inline constexpr int kCaptureRaw = 33112;

}  // namespace ql::frame_cmd
