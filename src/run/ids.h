#pragma once
// Identifiers of the measuring window's controls, commands and status-bar
// panes. Faces receive them as they are.

namespace ql {

namespace ctl {
inline constexpr int kDbRefText = 1000;     // "%d OHM" in the dB REFERENCE box
inline constexpr int kReading = 1001;       // the large reading field
inline constexpr int kUnit = 1002;          // unit field
inline constexpr int kPrefix = 1003;        // 3-character prefix field
inline constexpr int kField6 = 1004;        // 6-character field
inline constexpr int kField4 = 1005;        // 4-character field
inline constexpr int kRelGroup = 1006;      // group box "REL REFERENCE"
inline constexpr int kDbGroup = 1007;       // group box "dB REFERENCE"
inline constexpr int kRelButton = 1008;     // "REL"
inline constexpr int kPeakButton = 1009;    // "P-H"
inline constexpr int kMinMaxButton = 1010;  // "M/M"
inline constexpr int kDbButton = 1012;      // "dB"
inline constexpr int kPeakMax = 1013;
inline constexpr int kPeakMin = 1014;
inline constexpr int kPanel = 1017;  // the meter panel frame
inline constexpr int kMinMaxMax = 1019;
inline constexpr int kMinMaxAvg = 1020;
inline constexpr int kMinMaxMin = 1021;
inline constexpr int kStatGroup = 1022;    // "PEAK HOLD" / "MIN/MAX"
inline constexpr int kList = 1023;         // the list of readings
inline constexpr int kRelRefText = 1024;   // text in the REL REFERENCE box
inline constexpr int kTimeHeader = 1045;   // "Time"
inline constexpr int kValueHeader = 1046;  // "Measured Value / Range"
}  // namespace ctl

namespace cmd {
inline constexpr int kRunStart = 32771;
inline constexpr int kRunStop = 32772;
inline constexpr int kViewBar = 32774;
inline constexpr int kViewLine = 32775;
inline constexpr int kSampling500ms = 32777;
inline constexpr int kSetupComPort = 32778;
inline constexpr int kSampling1s = 32779;
inline constexpr int kSampling2s = 32780;
inline constexpr int kSampling5s = 32781;
inline constexpr int kSampling10s = 32782;
inline constexpr int kDbRefFirst = 32783;  // 2 Ohm; the fifteen run to 32797
inline constexpr int kDbRefLast = 32797;   // 1000 Ohm
inline constexpr int kViewText = 32803;
inline constexpr int kRunPause = 32804;
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kHelpIndex = 57666;
inline constexpr int kHelpUsing = 57668;
}  // namespace cmd

namespace pane {
inline constexpr int kMessage = 0;  // the message pane at the left of the status bar
inline constexpr int kFileName = 59146;
inline constexpr int kDbRef = 59145;
inline constexpr int kSampling = 59144;
inline constexpr int kPort = 59143;
}  // namespace pane

inline constexpr int kViewTimerId = 3;
inline constexpr int kViewTimerMs = 50;

}  // namespace ql
