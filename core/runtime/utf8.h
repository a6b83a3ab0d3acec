// Reading UTF-8 one character at a time: the one decoder behind every conversion of the program
// from UTF-8 (to Latin-1 in the settings engine, to Windows-1252 at the toolkit's border).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

struct Utf8Piece {
    enum class Kind {
        kCharacter,  // a whole character: code holds its code point
        kMalformed,  // a lead byte whose continuation bytes are missing
        kStray,      // a byte that cannot start a character (a lone continuation byte, 0xF8..0xFF)
    };
    Kind kind = Kind::kCharacter;
    char32_t code = 0;
    std::size_t length = 1;  // the bytes taken; reading goes on after them
};

// The piece of text that starts at byte at (at < text.size()). A malformed piece (cut short,
// overlong, a surrogate or past Unicode) takes its lead byte and the continuation bytes that
// follow it, so that reading resumes at the first byte that does not continue it.
inline Utf8Piece next_utf8_piece(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {Utf8Piece::Kind::kCharacter, lead, 1};
    const int wanted = lead >= 0xC0 && lead <= 0xDF   ? 1
                       : lead >= 0xE0 && lead <= 0xEF ? 2
                       : lead >= 0xF0 && lead <= 0xF7 ? 3
                                                      : 0;
    if (wanted == 0) return {Utf8Piece::Kind::kStray, lead, 1};
    char32_t code = lead & (0x3Fu >> wanted);
    std::size_t length = 1;
    while (length <= static_cast<std::size_t>(wanted) && at + length < text.size()) {
        const auto next = static_cast<unsigned char>(text[at + length]);
        if ((next & 0xC0) != 0x80) break;
        code = (code << 6) | (next & 0x3Fu);
        ++length;
    }
    if (length <= static_cast<std::size_t>(wanted)) return {Utf8Piece::Kind::kMalformed, 0, length};
    // An overlong form (C0 AF for "/"), a surrogate or a code point past Unicode is no character:
    // read as one, it could slip a "/" or a zero byte past a check.
    constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    if (code < kShortest[wanted] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return {Utf8Piece::Kind::kMalformed, 0, length};
    }
    return {Utf8Piece::Kind::kCharacter, code, length};
}

// Appends the code point's UTF-8 form (the caller passes a character: no surrogate, nothing past
// Unicode).
inline void append_utf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Whether every byte of the text belongs to a whole character.
inline bool is_valid_utf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Piece piece = next_utf8_piece(text, at);
        if (piece.kind != Utf8Piece::Kind::kCharacter) return false;
        at += piece.length;
    }
    return true;
}

}  // namespace quillet
