#include "app/texts.h"

namespace quillet {
namespace {

TextTable& table() {
    static TextTable texts;
    return texts;
}

}  // namespace

void prepare_texts() {
    TextTable& t = table();
    t.program_title = "Quillet";
    t.instance_name = "Quillet-single-instance";
    t.settings_file_name = "Quillet.ini";
    t.reminder_file_name = "Quillet-reminders.txt";
    t.list_font_face = "DejaVu Sans";
    t.tool_program_path = "/usr/bin/gnome-calculator";
    t.column_titles = {"Date",    "Type",       "Number",  "Payee",      "Description",
                       "Deposit", "Withdrawal", "Balance", "Second date"};
    t.idle_status = "No register open";
}

const TextTable& texts() { return table(); }

}  // namespace quillet
