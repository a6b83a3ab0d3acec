// Numbered gadgets (controls). Gadget numbers form one space across all windows; a number can be
// used again once its gadget is gone. Positions are pixels inside the window's client area (or the
// container). Every operation on a number without a gadget does nothing and returns 0 or "".
// Texts are the program's Windows-1252 texts.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/runtime/shown_text.h"

namespace quillet::ui {

// Creation flags.
inline constexpr int kListFullRowSelect = 1;
inline constexpr int kListGridLines = 2;
inline constexpr int kListAlwaysShowSelection = 4;
// A tick box before each row: Space or a click ticks it, and the list raises a gadget event of type
// kTicked with the row selected.
inline constexpr int kListTickBoxes = 8;
inline constexpr int kStringReadOnly = 1;
inline constexpr int kComboEditable = 1;
inline constexpr int kButtonDefault = 1;
inline constexpr int kHyperlinkUnderline = 1;
inline constexpr int kTextCentre = 1;
inline constexpr int kTextRight = 2;
// Alignment of a list column's texts and of a status bar field's text.
inline constexpr int kAlignLeft = 0;
inline constexpr int kAlignCentre = 1;
inline constexpr int kAlignRight = 2;

// Colours are 0x00BBGGRR; -1 is the system's colour.
inline constexpr int kSystemColour = -1;
inline constexpr int kFrontColour = 1;
inline constexpr int kBackColour = 2;

bool create_list(int number, int x, int y, int width, int height, const std::string& first_title,
                 int first_width, int flags);
bool create_picture(int number, int x, int y, int image);
bool create_text(int number, int x, int y, int width, int height, const std::string& text, int flags = 0);
bool create_frame(int number, int x, int y, int width, int height, const std::string& caption);
bool create_button(int number, int x, int y, int width, int height, const std::string& caption,
                   int flags = 0);
bool create_check_box(int number, int x, int y, int width, int height, const std::string& caption);
// Consecutive option buttons form one group: setting one clears the others.
bool create_option(int number, int x, int y, int width, int height, const std::string& caption);
bool create_string(int number, int x, int y, int width, int height, const std::string& text, int flags = 0);
bool create_combo(int number, int x, int y, int width, int height, int flags = 0);
// A date picker showing the date through the date mask; value 0 shows no date.
bool create_date(int number, int x, int y, int width, int height, const std::string& mask,
                 std::int32_t value);
bool create_calendar(int number, int x, int y, int width, int height, std::int32_t value);
// Further gadgets go inside the container until close_gadget_list().
bool create_container(int number, int x, int y, int width, int height);
void close_gadget_list();
// New gadgets go into the open window (after others were opened over it); gives the window they
// went into before, to be chosen again.
int use_gadget_list(int window);
bool create_hyperlink(int number, int x, int y, int width, int height, const std::string& text,
                      int hover_colour, int flags = 0);

bool is_gadget(int number);
int gadget_window(int number);
void free_gadget(int number);
void resize_gadget(int number, int x, int y, int width, int height);
struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};
Rect gadget_rect(int number);

// list: the selected row (-1 none); check box, option: 1 or 0; combo: the selected item (-1);
// date field, calendar: the date value.
int get_state(int number);
void set_state(int number, int state);
// string, combo: the field's text; label, button, check box, option, frame, hyperlink: the caption.
std::string get_text(int number);
void set_text(int number, const std::string& text);
// A text that holds a path (a field showing a file name); the program keeps the path itself.
void set_text(int number, const ShownText& text);
// The text as it shows, in UTF-8.
std::string shown_text(int number);

int count_items(int number);
// A list whose rows the program supplies when they are painted or read, instead of the list storing
// them (a million rows then cost the list next to nothing): count rows, each row's texts (its cells
// joined by line feeds) made by the supplier. Supplied rows keep a background colour a row and
// nothing else of their own; they stay supplied until the list is cleared.
using RowSupplier = std::function<void(int row, std::string& text)>;
void supply_rows(int number, int count, RowSupplier supplier);
// A supplied row was inserted, removed or changed at row.
void supplied_row_inserted(int number, int row);
void supplied_row_removed(int number, int row);
void supplied_row_changed(int number, int row);
// Gives every marked row the background colour and every other row the list's own, in one change.
void set_row_backgrounds(int number, const std::vector<std::uint8_t>& marked, int colour);

// list: inserts a row at position (-1 appends); the text holds the columns separated by line feeds.
// combo: adds an item.
void add_item(int number, int position, const std::string& text);
void remove_item(int number, int position);
// Removes every row or item at once.
void clear_items(int number);
std::string get_item_text(int number, int row, int column = 0);
// Setting column 0 with line feeds fills the following columns too; row -1 sets the column title.
void set_item_text(int number, int row, const std::string& text, int column = 0);
std::int64_t get_item_data(int number, int row);
void set_item_data(int number, int row, std::int64_t data);
int get_item_state(int number, int row);
// list: 1 selects the row.
void set_item_state(int number, int row, int state);
// A list with tick boxes: whether the row is ticked; row -1 sets every row.
bool is_item_ticked(int number, int row);
void set_item_ticked(int number, int row, bool ticked);
// Every row's tick at once, in row order.
void set_item_ticks(int number, const std::vector<bool>& ticked);

void add_column(int number, int position, const std::string& title, int width);
int count_columns(int number);
// The list's last column goes (a column the user turned off).
void remove_last_column(int number);
int column_width(int number, int column);
void set_column_alignment(int number, int column, int alignment);
// A list column of figures (amounts, balances): never cut; one too wide for its cell shows "#"
// marks and the whole figure as the cell's tool tip.
void set_column_figures(int number, int column);
// Each row's state, asked when the row is painted: 0 none, 1 cleared (a short mark at the left of
// the first cell), 2 reconciled (a full mark, and the quiet columns in a quieter colour).
void set_row_states(int number, std::function<int(int row)> state_of, std::vector<int> quiet_columns);
int column_alignment(int number, int column);
// row -1: every row; column -1: every column.
void set_item_colour(int number, int row, int which, int colour, int column = -1);
int get_item_colour(int number, int row, int which, int column);
// list: text and background of the whole list; other gadgets: their text and background.
void set_colour(int number, int which, int colour);
int get_colour(int number, int which);

// A list column whose texts the program works out when they are read or painted (the running
// balance); the provider returns nullopt to show the text stored in the row instead.
using CellProvider = std::function<std::optional<std::string>(int row)>;
void set_column_provider(int number, int column, CellProvider provider);
// The tool tips of a column's cells, asked for when one is to be shown.
void set_cell_tips(int number, int column, CellProvider provider);
// The provided texts may all have changed: the list repaints them.
void refresh_provided_cells(int number);
// The memory a list's rows take, in bytes.
std::size_t list_memory_bytes(int number);

// Stops and restarts the drawing of a gadget around a bulk change (a list refills its view once).
void suspend_drawing(int number);
void resume_drawing(int number);

void set_gadget_font(int number, int font);
void set_tool_tip(int number, const std::string& text);
void set_tool_tip(int number, const ShownText& text);
// The tool tip as it shows, in UTF-8.
std::string tool_tip(int number);
void disable_gadget(int number, int disabled);
bool is_gadget_enabled(int number);
void set_focus(int number);
// The gadget with the keyboard focus, -1 for none.
int get_focus();

inline constexpr int kAttributeTextLimit = 1;
inline constexpr int kAttributeMinimumDate = 2;
// A string or combo field whose texts (typed, set and listed) are UTF-8 and keep every character,
// rather than the program's code page; set it before the text limit. Bytes that are not UTF-8 are
// shown as the code page's.
inline constexpr int kAttributeUnicodeText = 3;
void set_attribute(int number, int attribute, std::int64_t value);
std::int64_t get_attribute(int number, int attribute);

// string and combo fields: the selected character range [start, end) and the caret (at end).
std::pair<int, int> get_selection(int number);
void set_selection(int number, int start, int end);
void select_all(int number);

// Makes the text gadget's access key ("&Payee:") move the focus to the gadget, as a field's
// caption does.
void set_label_target(int label, int gadget);
// From now on the gadget raises a gadget event of type kFocusLost whenever the focus leaves it
// for another gadget (not for a pop-up list or another window).
void report_focus_lost(int number);
// Behaves as if the user had clicked the button.
void click_button(int number);
// Makes the gadget a child of a status bar, keeping its position inside the bar.
void set_gadget_parent_status_bar(int number, int status_bar);

// A text field in a window with shortcuts keeps the keys it edits with (Delete, Backspace, Space,
// Ctrl+A, C, V, X, Z and Y): they edit its text rather than raise the window's shortcuts.
void keep_editing_keys(int number);
// Frames the field in red while its text is wrong, or takes the frame away again.
void mark_wrong(int number, bool wrong);

// The list accepts dropped files and raises a drop event for them.
void accept_file_drops(int number);

}  // namespace quillet::ui
