#include "desktop/program/message_box.h"

#include <cstring>

#include "desktop/program/texts.h"
#include "ui/requesters.h"
#include "ui/windows.h"

namespace quillet {
namespace {

static_assert(std::tuple_size_v<decltype(TextTable::messages)> == kMessageCount, "one text a message");

bool is_question(int number) {
    return number == kMessageConfirmDelete || number == kMessageConfirmReplace ||
           number == kMessageConfirmCompact || number == kMessageConfirmDeleteLast ||
           number == kMessageReconciledChange || number == kMessageConfirmAdjustment ||
           number == kMessageScheduledDelete || number == kMessageConfirmScheduleDelete ||
           number == kMessageNewCategory || number == kMessageSplitSpread ||
           number == kMessageDeleteUsedCategory;
}

}  // namespace

int show_message(int number, int owner_window, const ShownText& extra) {
    const auto& messages = texts().messages;
    const std::string own = number >= 0 && number < static_cast<int>(messages.size())
                                ? messages[static_cast<std::size_t>(number)]
                                : std::string();
    ShownText text = extra;
    if (!extra.empty()) text.add_text(texts().message_separator);
    text.add_text(own);
    return ui::requesters().message_box(
        owner_window, text.utf8(), ShownText::of_text(texts().program_title).utf8(),
        is_question(number) ? ui::MessageStyle::kQuestion : ui::MessageStyle::kInformation, number);
}

void say_not_opened(const std::string& path) {
    show_message(kMessageNotOpened, ui::newest_window(), ShownText::of_path(path));
}

ShownText cause_text(const IoStatus& status, const std::vector<std::pair<int, std::string>>* more) {
    for (const auto& [error, text] : more != nullptr ? *more : std::vector<std::pair<int, std::string>>()) {
        if (error == status.error()) return ShownText::of_text(text);
    }
    for (const auto& [error, text] : texts().causes) {
        if (error == status.error()) return ShownText::of_text(text);
    }
    // Any other cause in the system's own words.
    char buffer[256];
    return ShownText::of_text(texts().other_cause)
        .add_utf8(::strerror_r(status.error(), buffer, sizeof buffer));
}

ShownText failure_text(const SessionResult& result) {
    return file_and_cause(result.file(),
                          cause_text(result.cause(), result.in_store() ? &texts().store_causes : nullptr));
}

ShownText file_and_cause(const std::string& path, const ShownText& cause) {
    return ShownText::of_path(path).add_text(texts().before_cause).add(cause);
}

}  // namespace quillet
