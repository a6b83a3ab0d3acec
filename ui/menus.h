// Menu bars and pop-up menus. The create calls start a menu; the following calls fill it.
#pragma once

#include <string>

namespace quillet::ui {

bool create_menu_bar(int menu, int window);
bool create_popup_menu(int menu, int window);
// Starts the next top-level menu of the menu bar being built.
void menu_title(const std::string& text);
// Appends an item; choosing it raises a menu event with the item number.
void menu_item(int item, const std::string& text);
void menu_separator();
void open_sub_menu(const std::string& text);
void close_sub_menu();

// Marks one item of the range first..last of the menu with a radio bullet and clears the others.
void set_radio_mark(int menu, int first, int last, int marked);
bool is_item_marked(int menu, int item);
// Shows the pop-up menu at the mouse pointer; the chosen item arrives as a menu event of the
// menu's window.
void show_popup_menu(int menu);
// Chooses an item as the user would (tests and automation).
bool choose_menu_item(int menu, int item);
std::string menu_item_text(int menu, int item);
// Changes an item's caption (a tab separates the shortcut's text, as in menu_item).
void set_menu_item_text(int menu, int item, const std::string& text);

// Whether anything of the window (a menu item, a tool bar button or a keyboard shortcut) raises
// menu events with the number.
bool raises_menu_event(int window, int item);

}  // namespace quillet::ui
