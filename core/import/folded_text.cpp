#include "core/import/folded_text.h"

#include "core/runtime/number_text.h"
#include "core/runtime/utf8.h"

namespace quillet {

namespace {

// U+00C0 to U+00FF folded, "" for the ones kept as they are (×, ÷).
constexpr std::string_view kLatin1[64] = {
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",   // C0-CF
    "d", "n", "o", "o", "o",  "o", "oe", "",  "o", "u", "u", "u", "ue", "y", "th", "ss",  // D0-DF
    "a", "a", "a", "a", "ae", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",   // E0-EF
    "d", "n", "o", "o", "o",  "o", "oe", "",  "o", "u", "u", "u", "ue", "y", "th", "y",   // F0-FF
};

}  // namespace

std::string folded_text(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Utf8Piece piece = next_utf8_piece(utf8, at);
        const bool latin =
            piece.kind == Utf8Piece::Kind::kCharacter && piece.code >= 0xC0 && piece.code <= 0xFF;
        if (latin && !kLatin1[piece.code - 0xC0].empty()) {
            folded += kLatin1[piece.code - 0xC0];
        } else if (piece.length == 1) {
            folded += lower_ascii(utf8[at]);
        } else {
            folded += utf8.substr(at, piece.length);
        }
        at += piece.length;
    }
    return folded;
}

}  // namespace quillet
