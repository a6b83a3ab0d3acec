#include "ui/menus.h"

#include <QActionGroup>
#include <QCursor>
#include <algorithm>

#include "ui/toolkit_internal.h"

namespace quillet::ui {

using namespace detail;

namespace {

MenuRecord* find_menu(int menu) {
    auto& menus = state().menus;
    const auto found = menus.find(menu);
    return found == menus.end() ? nullptr : &found->second;
}

MenuRecord* building() { return find_menu(state().building_menu); }

void show_radio_marks(MenuRecord& record) {
    for (const MenuRecord::RadioRange& range : record.radios) {
        for (int item = range.first; item <= range.last; ++item) {
            const auto found = record.items.find(item);
            if (found == record.items.end()) continue;
            for (QAction* action : found->second) action->setChecked(item == range.marked);
        }
    }
}

// The menu that receives the next item: the open sub-menu, else the last menu title.
QMenu* target_menu() {
    auto& stack = state().menu_stack;
    while (!stack.empty() && stack.back() == nullptr) stack.pop_back();
    return stack.empty() ? nullptr : stack.back().data();
}

}  // namespace

bool create_menu_bar(int menu, int window) {
    WindowWidget* widget = window_widget(window);
    if (widget == nullptr) return false;
    QMenuBar* bar = widget->menu_bar();
    bar->clear();
    state().menus[menu] = MenuRecord{bar, window, {}, {}};
    state().building_menu = menu;
    state().menu_stack.clear();
    return true;
}

bool create_popup_menu(int menu, int window) {
    WindowWidget* widget = window_widget(window);
    if (widget == nullptr) return false;
    if (MenuRecord* old = find_menu(menu)) delete old->root.data();
    auto* popup = new QMenu(widget);
    state().menus[menu] = MenuRecord{popup, window, {}, {}};
    state().building_menu = menu;
    state().menu_stack = {popup};
    return true;
}

void menu_title(const std::string& text) {
    MenuRecord* record = building();
    auto* bar = record != nullptr ? qobject_cast<QMenuBar*>(record->root.data()) : nullptr;
    if (bar == nullptr) return;
    state().menu_stack = {bar->addMenu(to_qt(text))};
    if (WindowWidget* window = window_widget(record->window)) window->fit_menu_bar();
}

void menu_item(int item, const std::string& text) {
    MenuRecord* record = building();
    QMenu* menu = target_menu();
    if (record == nullptr || menu == nullptr) return;
    // A tab in the caption puts the shortcut's text at the right of the item.
    QAction* action = menu->addAction(to_qt(text));
    const int window = record->window;
    const int menu_number = state().building_menu;
    QObject::connect(action, &QAction::triggered, [window, menu_number, item] {
        // Choosing a radio item only asks for the command: the mark moves when the command runs
        // and sets it, and a command stopped by its guard leaves it where it was.
        if (MenuRecord* chosen = find_menu(menu_number)) show_radio_marks(*chosen);
        raise_event(kEventMenu, window, item);
    });
    record->items[item].push_back(action);
}

void menu_separator() {
    if (QMenu* menu = target_menu()) menu->addSeparator();
}

void open_sub_menu(const std::string& text) {
    if (QMenu* menu = target_menu()) state().menu_stack.push_back(menu->addMenu(to_qt(text)));
}

void close_sub_menu() {
    if (state().menu_stack.size() > 1) state().menu_stack.pop_back();
}

void set_radio_mark(int menu, int first, int last, int marked) {
    MenuRecord* record = find_menu(menu);
    if (record == nullptr) return;
    auto range = std::find_if(record->radios.begin(), record->radios.end(),
                              [first](const MenuRecord::RadioRange& known) { return known.first == first; });
    if (range == record->radios.end()) {
        // The items become one exclusive group, which menus draw as radio items.
        auto* group = new QActionGroup(record->root);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
        for (int item = first; item <= last; ++item) {
            const auto found = record->items.find(item);
            if (found == record->items.end()) continue;
            for (QAction* action : found->second) {
                action->setCheckable(true);
                group->addAction(action);
            }
        }
        range = record->radios.insert(record->radios.end(), {first, last, marked});
    }
    range->last = last;
    range->marked = marked;
    show_radio_marks(*record);
}

bool is_item_marked(int menu, int item) {
    const MenuRecord* record = find_menu(menu);
    if (record == nullptr) return false;
    const auto found = record->items.find(item);
    return found != record->items.end() && !found->second.empty() && found->second.front()->isChecked();
}

void show_popup_menu(int menu) {
    const MenuRecord* record = find_menu(menu);
    if (auto* popup = record != nullptr ? qobject_cast<QMenu*>(record->root.data()) : nullptr) {
        popup->popup(state().popup_at.value_or(QCursor::pos()));
        state().popup_at.reset();
    }
}

bool choose_menu_item(int menu, int item) {
    const MenuRecord* record = find_menu(menu);
    if (record == nullptr) return false;
    const auto found = record->items.find(item);
    if (found == record->items.end() || found->second.empty()) return false;
    const WindowWidget* window = window_widget(record->window);
    if (window == nullptr || !window->isEnabled()) return false;
    found->second.front()->trigger();
    return true;
}

std::string menu_item_text(int menu, int item) {
    const MenuRecord* record = find_menu(menu);
    if (record == nullptr) return {};
    const auto found = record->items.find(item);
    return found == record->items.end() || found->second.empty() ? std::string()
                                                                 : from_qt(found->second.front()->text());
}

void set_menu_item_text(int menu, int item, const std::string& text) {
    const MenuRecord* record = find_menu(menu);
    if (record == nullptr) return;
    const auto found = record->items.find(item);
    if (found == record->items.end()) return;
    for (QAction* action : found->second) action->setText(to_qt(text));
}

bool raises_menu_event(int window, int item) {
    for (const auto& [number, record] : state().menus) {
        if (record.window == window && record.items.count(item) != 0) return true;
    }
    for (const auto& [number, record] : state().tool_bars) {
        if (record.window == window && record.buttons.count(item) != 0) return true;
    }
    const WindowRecord* record = find_window(window);
    if (record == nullptr) return false;
    return std::any_of(record->shortcuts.begin(), record->shortcuts.end(),
                       [item](const auto& shortcut) { return shortcut.second == item; });
}

}  // namespace quillet::ui
