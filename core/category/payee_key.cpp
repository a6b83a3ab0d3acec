#include "core/category/payee_key.h"

#include <vector>

#include "core/import/folded_text.h"
#include "core/runtime/windows1252.h"

namespace quillet {

std::string payee_key(std::string_view payee) {
    const std::string folded = folded_text(windows1252_to_utf8(payee)) + ' ';
    std::vector<std::string> words;
    std::string word;
    for (const char c : folded) {
        const bool kept =
            (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80;
        if (kept) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    // A number at the end is the store's or the card's; a payee of a number alone keeps it.
    while (words.size() > 1 && words.back().find_first_not_of("0123456789") == std::string::npos)
        words.pop_back();
    std::string key;
    for (const std::string& each : words) key += (key.empty() ? "" : " ") + each;
    return key;
}

}  // namespace quillet
