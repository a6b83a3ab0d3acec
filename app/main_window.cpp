#include "app/main_window.h"

#include "app/main_window_ids.h"
#include "app/texts.h"
#include "ui/bars.h"
#include "ui/gadgets.h"
#include "ui/windows.h"

namespace quillet {

using namespace main_ids;

void build_main_window() {
    ui::open_window(kMainWindow, kInnerWidth, kInnerHeight, texts().program_title, ui::WindowStyle::kMain);
    const auto& titles = texts().column_titles;
    ui::create_list(kRegisterList, 0, ui::tool_bar_height(kToolBar), kInnerWidth, kInnerHeight, titles[0],
                    kColumnWidth, ui::kListFullRowSelect | ui::kListGridLines | ui::kListAlwaysShowSelection);
    for (int column = 1; column < kColumnCount; ++column) {
        ui::add_column(kRegisterList, column, titles[static_cast<std::size_t>(column)], kColumnWidth);
    }
    main_layout();
}

void main_layout() {
    const int width = ui::window_width(kMainWindow, true);
    const int menu = ui::has_menu_bar(kMainWindow) ? ui::menu_bar_height() : 0;
    const int height = ui::window_height(kMainWindow, true) - menu;
    const int top = ui::tool_bar_height(kToolBar);
    const int bottom = ui::status_bar_height(kStatusBar);
    ui::resize_gadget(kRegisterList, 0, top, width, height - top - bottom);
}

}  // namespace quillet
