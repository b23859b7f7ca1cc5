// Numeric command ids. Menus, toolbar buttons and handlers are routed by them.
#pragma once

namespace kolt::cmd {

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileMru1 = 57616;  // 57616..57619: the four recent files
inline constexpr int kRecentFileCount = 4;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kEditFind = 57636;

inline constexpr int kHelpContents = 32771;
inline constexpr int kCompareInverterDefault = 32775;
inline constexpr int kCompareFileFile = 32776;
inline constexpr int kCompareFilesDefault = 32777;
inline constexpr int kPrintTitleSet = 32778;
inline constexpr int kLink = 32779;
inline constexpr int kRead = 32780;
inline constexpr int kMonitor = 32782;
inline constexpr int kOnlineEdit = 32783;
inline constexpr int kStationTitle = 32784;
inline constexpr int kGoTo = 32786;
inline constexpr int kDefiniteParameter = 32787;
inline constexpr int kWrite = 32796;
// The whole-bus commands (ids of this program's own).
inline constexpr int kBackupBus = 32900;
inline constexpr int kRestoreBus = 32901;
inline constexpr int kBusDrift = 32902;

inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;

// The main frame's periodic timer.
inline constexpr int kMonitorTimerId = 1115;
inline constexpr int kMonitorTimerMs = 400;

}  // namespace kolt::cmd
