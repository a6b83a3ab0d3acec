// The numbers of the dialogs' windows, gadgets and shortcut events.
#pragma once

#include "core/register/format.h"

namespace quillet {

namespace transaction_ids {
inline constexpr int kWindow = 202;
inline constexpr int kWidth = 328;
inline constexpr int kHeight = 408;        // grown by the category's row below the others
inline constexpr int kFirstCaption = 400;  // 400..404: date, type, number, payee, description
inline constexpr int kDate = 405;
inline constexpr int kType = 406;
inline constexpr int kNumber = 407;
inline constexpr int kPayee = 408;
inline constexpr int kDescription = 409;
inline constexpr int kDeposit = 410;
inline constexpr int kWithdrawal = 411;
inline constexpr int kAmount = 412;
inline constexpr int kHasSecondDate = 413;
inline constexpr int kSecondDate = 414;
inline constexpr int kVoid = 415;
inline constexpr int kOk = 416;
inline constexpr int kCancel = 417;  // also Escape's menu event
inline constexpr int kHelp = 418;    // F1's menu event
inline constexpr int kCategoryCaption = 419;
inline constexpr int kCategory = 420;
inline constexpr int kSplit = 421;
inline constexpr int kProposal = 422;  // says that the category was proposed for the payee
// A text field holds what the register's text fields hold.
inline constexpr int kTextLimit = static_cast<int>(record_format::kTextWidth);
inline constexpr int kAmountLimit = 7;
}  // namespace transaction_ids

namespace split_ids {
inline constexpr int kWindow = 216;
inline constexpr int kWidth = 336;
inline constexpr int kLines = 6;  // the parts a split may have
inline constexpr int kHeight = 96 + 32 * kLines;
// Numbered after the transaction dialog's gadgets, which stay while it is open.
inline constexpr int kCategoryHeading = 440;
inline constexpr int kAmountHeading = 441;
inline constexpr int kFirstCategory = 442;  // 442..447
inline constexpr int kFirstAmount = 450;    // 450..455
inline constexpr int kRemainder = 460;
inline constexpr int kOk = 461;
inline constexpr int kCancel = 462;  // also Escape's menu event
inline constexpr int kHelp = 463;    // F1's menu event
}  // namespace split_ids

namespace categories_ids {
inline constexpr int kWindow = 214;
inline constexpr int kWidth = 600;
inline constexpr int kHeight = 520;
inline constexpr int kList = 640;
inline constexpr int kNameCaption = 641;
inline constexpr int kName = 642;
inline constexpr int kAdd = 643;
inline constexpr int kRename = 644;
inline constexpr int kMerge = 645;
inline constexpr int kDelete = 646;
inline constexpr int kRulesCaption = 647;
inline constexpr int kRules = 648;
inline constexpr int kMatch = 649;
inline constexpr int kRuleText = 650;
inline constexpr int kRuleCategory = 651;
inline constexpr int kAddRule = 652;
inline constexpr int kDeleteRule = 653;
inline constexpr int kApplyRules = 654;
inline constexpr int kClose = 655;  // also Escape's menu event
inline constexpr int kHelp = 656;   // F1's menu event
inline constexpr int kNote = 657;
}  // namespace categories_ids

namespace find_ids {
inline constexpr int kWindow = 203;
inline constexpr int kWidth = 296;
inline constexpr int kHeight = 102;
inline constexpr int kText = 400;
inline constexpr int kInverse = 401;
inline constexpr int kOk = 402;
inline constexpr int kCancel = 403;  // also Escape's menu event
inline constexpr int kHelp = 404;    // F1's menu event
// A search text is at most as long as the texts it is looked for in.
inline constexpr int kTextLimit = static_cast<int>(record_format::kTextWidth);
}  // namespace find_ids

namespace new_register_ids {
inline constexpr int kWindow = 201;
inline constexpr int kWidth = 304;
inline constexpr int kHeight = 144;
inline constexpr int kBrowse = 400;
inline constexpr int kNameFrame = 401;
inline constexpr int kName = 402;
inline constexpr int kAmountCaption = 403;
inline constexpr int kAmount = 404;
inline constexpr int kDeposit = 405;
inline constexpr int kWithdrawal = 406;
inline constexpr int kOk = 407;
inline constexpr int kCancel = 408;  // also Escape's menu event
inline constexpr int kHelp = 409;    // F1's menu event
inline constexpr int kAmountLimit = 7;
}  // namespace new_register_ids

namespace options_ids {
inline constexpr int kWindow = 204;
inline constexpr int kWidth = 238;
inline constexpr int kHeight = 364;    // grown by the balance warning's amount and the categories' boxes
inline constexpr int kFirstBox = 400;  // 400..406: the seven on/off options, in the options' order
inline constexpr int kRightAlignAmounts = 400;
inline constexpr int kTooltipsOff = 401;
inline constexpr int kHideToolBar = 402;
inline constexpr int kHideStatusBar = 403;
inline constexpr int kCompactAtExit = 404;
inline constexpr int kBackupAtExit = 405;
inline constexpr int kProfileShortcut = 406;
inline constexpr int kFont = 407;
inline constexpr int kBackground = 408;
inline constexpr int kHighlight = 409;
inline constexpr int kOrderFrame = 410;
inline constexpr int kFileOrder = 411;
inline constexpr int kReverseOrder = 412;
inline constexpr int kOk = 413;
inline constexpr int kCancel = 414;  // also Escape's menu event
inline constexpr int kHelp = 415;    // F1's menu event
inline constexpr int kLowBalanceCaption = 416;
inline constexpr int kLowBalance = 417;
inline constexpr int kLearnCategories = 418;
inline constexpr int kCategoryColumn = 419;
inline constexpr int kLowBalanceLimit = 11;
}  // namespace options_ids

namespace about_ids {
inline constexpr int kWindow = 206;
inline constexpr int kWidth = 284;
inline constexpr int kHeight = 140;
inline constexpr int kPicture = 401;
inline constexpr int kName = 402;
inline constexpr int kSecondLine = 403;
inline constexpr int kLink = 404;
inline constexpr int kOk = 405;                    // also Escape's menu event
inline constexpr int kHelp = 406;                  // F1's menu event
inline constexpr int kLinkHoverColour = 0x0000EE;  // red under the mouse (0x00BBGGRR); blue otherwise
}  // namespace about_ids

namespace reminder_ids {
inline constexpr int kWindow = 208;
inline constexpr int kWidth = 262;
inline constexpr int kHeight = 284;
inline constexpr int kCalendar = 400;
inline constexpr int kText = 401;
inline constexpr int kOk = 402;
inline constexpr int kClose = 403;  // also Escape's menu event
inline constexpr int kHelp = 404;   // F1's menu event
inline constexpr int kTextLimit = 48;
}  // namespace reminder_ids

namespace report_ids {
inline constexpr int kWindow = 205;
inline constexpr int kWidth = 292;
inline constexpr int kHeight = 342;  // grown by the boxes below the first gadgets
inline constexpr int kRangeFrame = 400;
inline constexpr int kAll = 401;
inline constexpr int kThisMonth = 402;
inline constexpr int kDates = 403;
inline constexpr int kFirstCaption = 404;
inline constexpr int kLastCaption = 405;
inline constexpr int kFirstDate = 406;
inline constexpr int kLastDate = 407;
inline constexpr int kFormatFrame = 408;
inline constexpr int kHtml = 409;
inline constexpr int kText = 410;
inline constexpr int kCsv = 411;
inline constexpr int kOpenAfter = 412;
inline constexpr int kOk = 413;
inline constexpr int kCancel = 414;  // also Escape's menu event
inline constexpr int kHelp = 415;    // F1's menu event
inline constexpr int kStateColumn = 416;
inline constexpr int kByCategory = 417;
inline constexpr int kOnlyFiltered = 491;
}  // namespace report_ids

namespace import_ids {
inline constexpr int kWindow = 209;
inline constexpr int kWidth = 880;
inline constexpr int kHeight = 616;
inline constexpr int kStatementCaption = 400;
inline constexpr int kStatement = 401;
inline constexpr int kColumnsFrame = 402;
inline constexpr int kFirstColumnCaption = 403;  // 403..410: date, payee, memo, number, amount, debit,
inline constexpr int kFirstColumn = 411;         // 411..418: credit, indicator; captions, then combos
inline constexpr int kColumnCount = 8;
inline constexpr int kSkipTopCaption = 419;
inline constexpr int kSkipTop = 420;
inline constexpr int kSkipBottomCaption = 421;
inline constexpr int kSkipBottom = 422;
inline constexpr int kHeaderLine = 423;
inline constexpr int kDateOrderCaption = 424;
inline constexpr int kDateOrder = 425;
inline constexpr int kMarkCaption = 426;
inline constexpr int kMark = 427;
inline constexpr int kPreview = 428;
inline constexpr int kCounts = 429;
inline constexpr int kSkipped = 430;
inline constexpr int kTickAll = 431;
inline constexpr int kUntickAll = 432;
inline constexpr int kOk = 433;
inline constexpr int kCancel = 434;  // also Escape's menu event
inline constexpr int kHelp = 435;    // F1's menu event
inline constexpr int kAccountCaption = 436;
inline constexpr int kAccount = 437;
inline constexpr int kSeparatorCaption = 438;
inline constexpr int kSeparator = 439;
inline constexpr int kPlainCaption = 398;
inline constexpr int kPlain = 399;
inline constexpr int kMarkCleared = 397;
inline constexpr int kLineCategoryCaption = 395;
inline constexpr int kLineCategory = 396;
}  // namespace import_ids

namespace reconcile_ids {
inline constexpr int kWindow = 210;
inline constexpr int kWidth = 760;
inline constexpr int kHeight = 560;
inline constexpr int kDateCaption = 440;
inline constexpr int kDate = 441;
inline constexpr int kEndingCaption = 442;
inline constexpr int kEnding = 443;
inline constexpr int kOpening = 444;
inline constexpr int kChangedNote = 445;
inline constexpr int kList = 446;
inline constexpr int kFigures = 447;
inline constexpr int kCounts = 448;
inline constexpr int kClues = 449;
inline constexpr int kTickAll = 450;
inline constexpr int kUntickAll = 451;
inline constexpr int kAdjust = 452;
inline constexpr int kFinish = 453;
inline constexpr int kLater = 454;      // also Escape's menu event: the ticks are kept
inline constexpr int kHelp = 455;       // F1's menu event
inline constexpr int kFindClues = 456;  // posted after ticks: the difference finder runs once
}  // namespace reconcile_ids

namespace chart_ids {
inline constexpr int kWindow = 211;
inline constexpr int kWidth = 760;
inline constexpr int kHeight = 600;
inline constexpr int kRangeCaption = 460;
inline constexpr int kRange = 461;
inline constexpr int kFigures = 462;
inline constexpr int kLine = 463;
inline constexpr int kBars = 464;
inline constexpr int kSavePicture = 465;
inline constexpr int kClose = 466;  // also Escape's menu event
inline constexpr int kHelp = 467;   // F1's menu event
inline constexpr int kAheadCaption = 468;
inline constexpr int kAhead = 469;
inline constexpr int kBarsCaption = 458;
inline constexpr int kBarsBy = 459;  // the months, or a month's or a year's payments by category
}  // namespace chart_ids

namespace schedules_ids {
inline constexpr int kWindow = 212;
inline constexpr int kWidth = 700;
inline constexpr int kHeight = 400;
inline constexpr int kList = 470;
inline constexpr int kNew = 471;
inline constexpr int kEdit = 472;
inline constexpr int kDelete = 473;
inline constexpr int kEnterNow = 474;
inline constexpr int kClose = 475;  // also Escape's menu event
inline constexpr int kHelp = 476;   // F1's menu event
inline constexpr int kNote = 477;
}  // namespace schedules_ids

namespace due_ids {
inline constexpr int kWindow = 213;
inline constexpr int kWidth = 620;
inline constexpr int kHeight = 440;
inline constexpr int kCaption = 480;
inline constexpr int kList = 481;
inline constexpr int kDayCaption = 482;
inline constexpr int kDay = 483;
inline constexpr int kAmountCaption = 484;
inline constexpr int kAmount = 485;
inline constexpr int kEnter = 486;
inline constexpr int kSkip = 487;
inline constexpr int kLater = 488;  // also Escape's menu event
inline constexpr int kHelp = 489;   // F1's menu event
inline constexpr int kAmountLimit = 10;
}  // namespace due_ids

namespace schedule_editor_ids {
inline constexpr int kWindow = 215;
inline constexpr int kWidth = 520;
inline constexpr int kHeight = 420;
inline constexpr int kFirstCaption = 490;  // 490..493: payee, type, number, memo
inline constexpr int kPayee = 494;
inline constexpr int kType = 495;
inline constexpr int kNumber = 496;
inline constexpr int kMemo = 497;
inline constexpr int kDeposit = 498;
inline constexpr int kPaid = 499;
inline constexpr int kAmount = 600;
inline constexpr int kVaries = 601;
inline constexpr int kHasSecondDate = 602;
inline constexpr int kSecondDays = 603;
inline constexpr int kFirstDueCaption = 604;
inline constexpr int kFirstDue = 605;
inline constexpr int kRepeatsCaption = 606;
inline constexpr int kRepeats = 607;
inline constexpr int kEveryCaption = 608;
inline constexpr int kEvery = 609;
inline constexpr int kDayCaption = 610;
inline constexpr int kDay = 611;
inline constexpr int kEndsCaption = 612;
inline constexpr int kEnds = 613;
inline constexpr int kUntil = 614;
inline constexpr int kCount = 615;
inline constexpr int kWeekendCaption = 616;
inline constexpr int kWeekend = 617;
inline constexpr int kEntersItself = 618;
inline constexpr int kNextDue = 619;
inline constexpr int kOk = 620;
inline constexpr int kCancel = 621;  // also Escape's menu event
inline constexpr int kHelp = 622;    // F1's menu event
inline constexpr int kTextLimit = static_cast<int>(record_format::kTextWidth);
inline constexpr int kAmountLimit = 10;
}  // namespace schedule_editor_ids

}  // namespace quillet
