// The reminder file: any file yields a tooltip of at most 86 characters of valid UTF-8, and a
// reminder added for today is then today's.
#include <string>

#include "core/reminders/reminders.h"
#include "core/runtime/utf8.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

namespace {

std::size_t characters_if_valid(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) {
        const Utf8Piece piece = next_utf8_piece(text, at);
        fuzz::require(piece.kind == Utf8Piece::Kind::kCharacter);
        at += piece.length;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ReminderTexts texts{" ", "\n", "%yyyy/%mm/%dd ", "Today: ", "The reminder file cannot be read."};
    const DateValue today = make_date(2026, 12, 8, 9, 30, 0);
    const std::string path = fuzz::write_input("reminders.txt", data, size);
    fuzz::require(characters_if_valid(todays_reminder(path, today, texts)) <= 86);
    if (add_reminder(path, today, "Pay the rent", texts)) {
        fuzz::require(todays_reminder(path, today, texts) == "Today: Pay the rent");
    }
    return 0;
}
