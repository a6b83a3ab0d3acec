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
inline constexpr int kStatusBarMinHeight = 21;

// Menu items, tool bar buttons and keyboard shortcuts share these numbers.
inline constexpr int kNewRegister = 301;
inline constexpr int kOpenRegister = 302;
inline constexpr int kSaveRegisterAs = 303;
inline constexpr int kCompactRegister = 304;
inline constexpr int kReport = 305;
inline constexpr int kExit = 306;
inline constexpr int kAddTransaction = 307;
inline constexpr int kEditTransaction = 308;
inline constexpr int kDeleteTransaction = 309;
inline constexpr int kFind = 310;
inline constexpr int kFileOrderItem = 311;
inline constexpr int kReverseOrderItem = 312;
inline constexpr int kWindowPicture = 313;
inline constexpr int kReminder = 314;
inline constexpr int kToolProgram = 315;
inline constexpr int kOptions = 316;
inline constexpr int kHelp = 317;
inline constexpr int kAbout = 318;
inline constexpr int kToggleOrderButton = 321;
inline constexpr int kSecondHelpTopic = 325;
inline constexpr int kUndo = 329;
inline constexpr int kRedo = 330;
inline constexpr int kImport = 331;
inline constexpr int kCleared = 332;
inline constexpr int kReconcile = 333;
inline constexpr int kChart = 334;
inline constexpr int kSchedules = 335;
inline constexpr int kCategories = 336;
inline constexpr int kFilter = 337;  // shows or hides the filter bar
inline constexpr int kDue = 338;
inline constexpr int kScheduleThis = 339;
// Every minute: a new day lists what fell due.
inline constexpr int kDayTimer = 342;
// Raised by the register list, not by a menu: a painted row's record is no longer the one listed.
inline constexpr int kReadRegisterAgain = 340;
// Raised after the list is painted: the companion store's links are read.
inline constexpr int kReadStore = 341;
// The filter's text or fields came to rest: the list is filtered again.
inline constexpr int kFilterTimer = 343;
// Escape in the main window: in the filter bar it clears the filter, then hides the bar.
inline constexpr int kEscapeKey = 344;

// The filter bar's gadgets, in a container above the list while the bar is shown.
namespace filter_bar {
inline constexpr int kContainer = 680;
inline constexpr int kTextLabel = 681;
inline constexpr int kText = 682;
inline constexpr int kWhenLabel = 683;
inline constexpr int kWhen = 684;
inline constexpr int kFrom = 685;
inline constexpr int kAndLabel = 686;
inline constexpr int kTo = 687;
inline constexpr int kKindLabel = 688;
inline constexpr int kKind = 689;
inline constexpr int kLeastLabel = 690;
inline constexpr int kLeast = 691;
inline constexpr int kMostLabel = 692;
inline constexpr int kMost = 693;
inline constexpr int kStateLabel = 694;
inline constexpr int kState = 695;
inline constexpr int kCategoryLabel = 696;
inline constexpr int kCategory = 697;
inline constexpr int kSavedLabel = 698;
inline constexpr int kSaved = 699;
inline constexpr int kSave = 678;
inline constexpr int kForget = 679;
inline constexpr int kHeight = 66;
}  // namespace filter_bar

// Images.
inline constexpr int kFirstButtonImage = 500;  // 500..509, in tool bar button order
inline constexpr int kReverseOrderImage = 510;
inline constexpr int kNoteImage = 511;
inline constexpr int kAboutImage = 512;
inline constexpr int kIconImages[] = {513, 514, 515};
inline constexpr int kWindowPictureImage = 516;  // the window picture, for one command only

// Positions in the tool bar's image list of the order button's two pictures.
inline constexpr int kFileOrderPicture = 6;
inline constexpr int kReverseOrderPicture = 10;

// The status bar's fields, left to right: the reminder indicator, the count of rows, the balance,
// this month's deposits, withdrawals and average balance, and a note of the schedules.
inline constexpr int kReminderField = 0;
inline constexpr int kCountField = 1;
inline constexpr int kBalanceField = 2;
inline constexpr int kMonthDepositsField = 3;
inline constexpr int kMonthWithdrawalsField = 4;
inline constexpr int kMonthAverageField = 5;
// The rest of the bar: what scheduled transactions did or will do (entered, the balance falling).
inline constexpr int kScheduleField = 6;
// This month's fields' width; while a filter is on they give their room to the filter's figures.
inline constexpr int kMonthFieldWidth = 184;

// Bars for show or hide bar.
inline constexpr int kToolBarIndex = 0;
inline constexpr int kStatusBarIndex = 1;

}  // namespace quillet::main_ids
