#include "desktop/program/main_window.h"

#include "core/list/row_text.h"

#include <string>

#include "desktop/program/app_state.h"
#include "desktop/program/main_window_ids.h"
#include "desktop/program/texts.h"
#include "resources/embedded.h"
#include "ui/bars.h"
#include "ui/gadgets.h"
#include "ui/images.h"
#include "ui/menus.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

namespace {

// The ten buttons in tool bar order, with their pictures.
struct Button {
    int item;
    const char* picture;
};
constexpr Button kButtons[] = {
    {kNewRegister, "new.png"},           {kOpenRegister, "open.png"},
    {kAddTransaction, "add.png"},        {kEditTransaction, "edit.png"},
    {kDeleteTransaction, "delete.png"},  {kFind, "mask.png"},
    {kToggleOrderButton, "sort_az.png"}, {kToolProgram, "calculator.png"},
    {kOptions, "settings.png"},          {kHelp, "help.png"},
};

void load_picture(int image, const char* name) {
    const auto bytes = embedded_file(name);
    ui::load_image(image, bytes.data(), bytes.size());
}

void build_menus() {
    const TextTable& t = texts();
    ui::create_menu_bar(kMenuBar, kMainWindow);
    ui::menu_title(t.file_menu);
    ui::menu_item(kNewRegister, t.new_register);
    ui::menu_item(kOpenRegister, t.open_register);
    ui::menu_item(kSaveRegisterAs, t.save_register_as);
    ui::menu_item(kCompactRegister, t.compact_register);
    ui::menu_separator();
    ui::menu_item(kImport, t.import);
    ui::menu_item(kReport, t.report);
    ui::menu_separator();
    ui::menu_item(kExit, t.exit);
    ui::menu_title(t.transaction_menu);
    ui::menu_item(kUndo, t.nothing_to_undo + t.undo_keys);
    ui::menu_item(kRedo, t.nothing_to_redo + t.redo_keys);
    ui::menu_separator();
    ui::menu_item(kAddTransaction, t.add_transaction);
    ui::menu_item(kEditTransaction, t.edit_transaction);
    ui::menu_item(kDeleteTransaction, t.delete_transaction);
    ui::menu_item(kFind, t.find);
    ui::menu_item(kFilter, t.filter.filter_item);
    ui::menu_separator();
    ui::menu_item(kCleared, t.cleared);
    ui::menu_item(kReconcile, t.reconcile);
    ui::menu_separator();
    ui::menu_item(kSchedules, t.schedules.schedules_item);
    ui::menu_item(kDue, t.schedules.due_item);
    ui::menu_item(kScheduleThis, t.schedules.schedule_this_item);
    ui::menu_item(kCategories, t.categories.categories_item);
    ui::menu_separator();
    ui::open_sub_menu(t.order_menu);
    ui::menu_item(kFileOrderItem, t.file_order);
    ui::menu_item(kReverseOrderItem, t.reverse_order);
    ui::close_sub_menu();
    ui::menu_title(t.tools_menu);
    ui::menu_item(kWindowPicture, t.window_picture);
    ui::menu_item(kReminder, t.reminder);
    ui::menu_item(kChart, t.chart);
    ui::menu_item(kToolProgram, t.tool_program);
    ui::menu_separator();
    ui::menu_item(kOptions, t.options);
    ui::menu_title(t.help_menu);
    ui::menu_item(kHelp, t.help);
    ui::menu_separator();
    ui::menu_item(kAbout, t.about);

    ui::create_popup_menu(kListPopupMenu, kMainWindow);
    ui::menu_item(kAddTransaction, t.popup_add);
    ui::menu_item(kEditTransaction, t.popup_edit);
    ui::menu_item(kDeleteTransaction, t.popup_delete);
    ui::menu_item(kFind, t.popup_find);
    ui::menu_item(kCleared, t.popup_cleared);
    ui::menu_item(kScheduleThis, t.schedules.popup_schedule_this);
    ui::menu_separator();
    ui::open_sub_menu(t.popup_order);
    ui::menu_item(kFileOrderItem, t.popup_file_order);
    ui::menu_item(kReverseOrderItem, t.popup_reverse_order);
    ui::close_sub_menu();
}

void build_tool_bar() {
    ui::create_tool_bar(kToolBar, kMainWindow);
    ui::set_tool_bar_image_size(kToolBar, 46, 36);
    ui::set_tool_bar_button_size(kToolBar, 64, 48);
    int image = kFirstButtonImage;
    for (const Button& button : kButtons) {
        load_picture(image, button.picture);
        ui::add_tool_bar_button(kToolBar, button.item, image++);
    }
    load_picture(kReverseOrderImage, "sort_za.png");
    ui::add_tool_bar_image(kToolBar, kReverseOrderImage);
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        ui::set_tool_bar_button_tip(kToolBar, kButtons[i].item, texts().tool_tips[i]);
    }
}

void build_register_list() {
    const auto& titles = texts().column_titles;
    ui::create_list(kRegisterList, 0, ui::tool_bar_height(kToolBar), kInnerWidth, kInnerHeight, titles[0],
                    kColumnWidth, ui::kListFullRowSelect | ui::kListGridLines | ui::kListAlwaysShowSelection);
    for (int column = 1; column < kColumnCount; ++column) {
        ui::add_column(kRegisterList, column, titles[static_cast<std::size_t>(column)], kColumnWidth);
    }
    // An amount or a balance is never cut into another number.
    for (const int column : {kDepositColumn, kWithdrawalColumn, kBalanceColumn})
        ui::set_column_figures(kRegisterList, column);
}

void build_status_bar() {
    ui::create_status_bar(kStatusBar, kMainWindow);
    ui::set_status_bar_min_height(kStatusBar, kStatusBarMinHeight);
    for (const int width : {23, 134, 134, kMonthFieldWidth, kMonthFieldWidth, kMonthFieldWidth, -1})
        ui::add_status_field(kStatusBar, width);
    ui::set_status_field_text(kStatusBar, kCountField, texts().idle_status);
}

void add_shortcuts() {
    struct Shortcut {
        int code;
        int item;
    };
    constexpr Shortcut kShortcuts[] = {
        {ui::kControl | 'N', kNewRegister},
        {ui::kControl | 'O', kOpenRegister},
        {ui::kControl | 'V', kSaveRegisterAs},
        {ui::kControl | 'P', kCompactRegister},
        {ui::kControl | 'E', kReport},
        {ui::kControl | 'I', kImport},
        {ui::kControl | 'X', kExit},
        {ui::kKeyInsert, kAddTransaction},
        {ui::kKeyReturn, kEditTransaction},
        {ui::kKeyDelete, kDeleteTransaction},
        {ui::kControl | 'K', kFind},
        {ui::kControl | 'F', kFilter},
        {ui::kKeyEscape, kEscapeKey},
        {ui::kControl | 'L', kCleared},
        {ui::kControl | 'R', kReconcile},
        {ui::kControl | 'G', kChart},
        {ui::kControl | 'H', kSchedules},
        {ui::kControl | 'D', kDue},
        {ui::kControl | 'A', kFileOrderItem},
        {ui::kControl | 'Z', kReverseOrderItem},
        {ui::kControl | 'T', kWindowPicture},
        {ui::kControl | 'M', kReminder},
        {ui::kControl | 'C', kToolProgram},
        {ui::kControl | 'S', kOptions},
        {ui::kKeyF1, kHelp},
        {ui::kKeyF2, kSecondHelpTopic},
        // Ctrl+Z already turns the order round.
        {ui::kAlt | ui::kKeyBack, kUndo},
        {ui::kControl | 'Y', kRedo},
        {ui::kAlt | ui::kShift | ui::kKeyBack, kRedo},
    };
    for (const Shortcut& shortcut : kShortcuts) ui::add_shortcut(kMainWindow, shortcut.code, shortcut.item);
}

int bar_number(int bar) { return bar == kToolBarIndex ? kToolBar : kStatusBar; }

}  // namespace

void build_main_window() {
    ui::open_window(kMainWindow, kInnerWidth, kInnerHeight, texts().program_title, ui::WindowStyle::kMain);
    const char* icons[] = {"icon_48.png", "icon_32.png", "icon_16.png"};
    for (std::size_t i = 0; i < std::size(icons); ++i) load_picture(kIconImages[i], icons[i]);
    ui::set_window_icon(kMainWindow, {kIconImages[0], kIconImages[1], kIconImages[2]});
    build_menus();
    build_tool_bar();
    build_register_list();
    build_status_bar();
    add_shortcuts();
    load_picture(kAboutImage, "about.png");
    show_list_order(0);
    main_layout();
}

void main_layout() {
    const int width = ui::window_width(kMainWindow, true);
    const int menu = ui::has_menu_bar(kMainWindow) ? ui::menu_bar_height() : 0;
    const int height = ui::window_height(kMainWindow, true) - menu;
    int top = ui::tool_bar_height(kToolBar);
    const int bottom = ui::status_bar_height(kStatusBar);
    // The filter bar, while shown, sits between the tool bar and the list.
    if (app().filter_bar_shown) {
        ui::resize_gadget(filter_bar::kContainer, 0, top, width, filter_bar::kHeight);
        top += filter_bar::kHeight;
    }
    ui::resize_gadget(kRegisterList, 0, top, width, height - top - bottom);
}

void show_or_hide_bar(int bar, int hidden) {
    ui::hide_bar(bar_number(bar), hidden != 0);
    main_layout();
}

int bar_hidden(int bar) { return ui::is_bar_hidden(bar_number(bar)) ? 1 : 0; }

void show_list_order(int order) {
    const int marked = order == 1 ? kReverseOrderItem : kFileOrderItem;
    ui::set_radio_mark(kMenuBar, kFileOrderItem, kReverseOrderItem, marked);
    ui::set_radio_mark(kListPopupMenu, kFileOrderItem, kReverseOrderItem, marked);
    ui::set_tool_bar_button_image(kToolBar, kToggleOrderButton,
                                  order == 1 ? kReverseOrderPicture : kFileOrderPicture);
}

}  // namespace quillet
