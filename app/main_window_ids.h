// The numbers of the main window's objects; handlers switch on these names.
#pragma once

namespace quillet::main_ids {

inline constexpr int kMainWindow = 200;
inline constexpr int kMenuBar = 300;
inline constexpr int kListPopupMenu = 319;
inline constexpr int kToolBar = 320;
inline constexpr int kRegisterList = 322;
inline constexpr int kStatusBar = 323;
inline constexpr int kReminderIndicator = 327;
inline constexpr int kEditorTimer = 328;

inline constexpr int kInnerWidth = 924;
inline constexpr int kInnerHeight = 536;
inline constexpr int kColumnCount = 9;
inline constexpr int kColumnWidth = 100;

// Menu items, tool bar buttons and shortcuts.
inline constexpr int kExit = 306;

}  // namespace quillet::main_ids
