#include "program/message_box.h"

#include "program/texts.h"
#include "ui/requesters.h"

namespace quillet {
namespace {

bool is_question(int number) {
    return number == kMessageConfirmDelete || number == kMessageConfirmReplace ||
           number == kMessageConfirmCompact || number == kMessageConfirmDeleteLast;
}

}  // namespace

int show_message(int number, int owner_window, const std::string& extra) {
    const auto& messages = texts().messages;
    const std::string own = number >= 0 && number < static_cast<int>(messages.size())
                                ? messages[static_cast<std::size_t>(number)]
                                : std::string();
    const std::string text = extra.empty() ? own : extra + texts().message_separator + own;
    return ui::requesters().message_box(
        owner_window, text, texts().program_title,
        is_question(number) ? ui::MessageStyle::kQuestion : ui::MessageStyle::kInformation, number);
}

}  // namespace quillet
