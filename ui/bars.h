// The tool bar along the top of a window and the status bar along its bottom. Both place
// themselves again when the window is resized.
#pragma once

#include <string>

#include "ui/gadgets.h"

namespace quillet::ui {

bool create_tool_bar(int number, int window);
// The outer height; 0 for a missing or hidden bar.
int tool_bar_height(int number);
// Sets the picture size of the tool bar's image list, which empties the list.
void set_tool_bar_image_size(int number, int width, int height);
void set_tool_bar_button_size(int number, int width, int height);
// Appends an image to the list; returns its position.
int add_tool_bar_image(int number, int image);
// Appends a button showing the image (added to the list at the next position). Clicking it
// raises a menu event with the item number.
void add_tool_bar_button(int number, int item, int image);
// Makes the button show the picture at that position of the image list.
void set_tool_bar_button_image(int number, int item, int position);
int tool_bar_button_image(int number, int item);
int tool_bar_image_count(int number);
void set_tool_bar_button_tip(int number, int item, const std::string& text);
std::string tool_bar_button_tip(int number, int item);
// Switches every tool bar tip on or off together.
void enable_tool_bar_tips(int number, bool enabled);
bool tool_bar_tips_enabled(int number);
bool click_tool_bar_button(int number, int item);

bool create_status_bar(int number, int window);
int status_bar_height(int number);
void set_status_bar_min_height(int number, int height);
// A field of width -1 takes what the fields before it leave of the bar.
void add_status_field(int number, int width);
// A field's width again (0 hides it, -1 takes the rest of the bar).
void set_status_field_width(int number, int field, int width);
// Field texts take the alignment flags of ui/gadgets.h.
void set_status_field_text(int number, int field, const std::string& text, int alignment = kAlignLeft);
// A field that shows a figure after its label: the figure is never cut (the label gives way, then
// "#" marks stand for the figure), and the whole text is the tool tip when it does not fit.
void set_status_field_figure(int number, int field, const std::string& label, const std::string& figure,
                             int alignment = kAlignLeft);
// A line the field's tool tip shows below its whole text; empty for none.
void set_status_field_note(int number, int field, const std::string& note);
std::string status_field_tip(int number, int field);
std::string status_field_text(int number, int field);
int status_field_alignment(int number, int field);

// Shows (hidden = false) or hides a tool bar or status bar.
void hide_bar(int number, bool hidden);
bool is_bar_hidden(int number);

}  // namespace quillet::ui
