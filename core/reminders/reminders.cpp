#include "core/reminders/reminders.h"

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/utf8.h"
#include "core/runtime/windows1252.h"

namespace quillet {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kLookupLength = 11;  // the day and the separator's first character
constexpr std::size_t kTextLength = 80;    // what a line shows of its text
constexpr std::size_t kTooltipLength = 86;

// The whole file; a failure when it exists but cannot be read. A missing file reads as empty.
IoStatus read_reminder_file(const std::string& path, std::string& content) {
    content.clear();
    if (file_size(path) == -1) return {};
    IoStatus opened;
    const int file = read_open_file(kAnyFileNumber, path, file_flags::kNoBuffering, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    const std::int64_t length = file_length(file);
    if (length < 0) return IoStatus::failure(EIO);
    content.resize(static_cast<std::size_t>(length));
    if (read_bytes(file, content.data(), length) != length) return IoStatus::failure(EIO);
    return {};
}

std::string_view trim_spaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// The text after the first count characters.
std::string_view after_characters(std::string_view utf8, std::size_t count) {
    return utf8.substr(first_characters(utf8, count).size());
}

}  // namespace

std::string_view first_characters(std::string_view utf8, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t taken = 0; taken < count && at < utf8.size(); ++taken)
        at += next_utf8_piece(utf8, at).length;
    return utf8.substr(0, at);
}

std::string reminder_line(DateValue day, std::string_view text, const ReminderTexts& texts) {
    std::string line = windows1252_to_utf8(format_date(kDisplayDateMask, day) + texts.separator);
    if (is_valid_utf8(text)) {
        line += text;
    } else {
        append_windows1252_as_utf8(line, text);
    }
    line += windows1252_to_utf8(texts.line_end);
    return line;
}

IoStatus add_reminder(const std::string& path, DateValue day, std::string_view text,
                      const ReminderTexts& texts, bool* unreadable) {
    std::string old;
    const IoStatus read = read_reminder_file(path, old);
    if (unreadable != nullptr) *unreadable = !read;
    if (!read) return read;
    // An editor's byte-order mark stays first, where readers look for it.
    const bool marked = old.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0;
    const std::string line = reminder_line(day, text, texts);
    return replace_file_contents(
        path, marked ? std::string(kByteOrderMark) + line + old.substr(kByteOrderMark.size()) : line + old);
}

std::string todays_reminder(const std::string& path, DateValue today, const ReminderTexts& texts) {
    const std::int64_t size = file_size(path);
    if (size <= 0) return {};
    std::string content;
    if (!read_reminder_file(path, content)) {
        return std::string(first_characters(windows1252_to_utf8(texts.unreadable), kTooltipLength));
    }
    std::string_view rest = content;
    if (rest.substr(0, kByteOrderMark.size()) == kByteOrderMark) rest.remove_prefix(kByteOrderMark.size());
    const std::string lookup = windows1252_to_utf8(format_date(texts.lookup_mask, today));
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
        const std::string_view raw = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        // A line that is not UTF-8 was written in the program's own code page.
        const std::string line = is_valid_utf8(raw) ? std::string(raw) : windows1252_to_utf8(raw);
        if (first_characters(line, kLookupLength) != lookup) continue;
        const std::string_view text =
            trim_spaces(first_characters(after_characters(line, kLookupLength), kTextLength));
        const std::string tooltip = windows1252_to_utf8(texts.prefix) + std::string(text);
        return std::string(first_characters(tooltip, kTooltipLength));
    }
    return {};
}

}  // namespace quillet
