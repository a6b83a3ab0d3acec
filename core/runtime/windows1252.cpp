#include "core/runtime/windows1252.h"

#include <array>
#include <cstdint>

#include "core/runtime/utf8.h"

namespace quillet {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t code_point_of(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte};
}

char byte_for(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::string windows1252_to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_windows1252_as_utf8(out, text);
    return out;
}

void append_windows1252_as_utf8(std::string& out, std::string_view text) {
    // Runs of ASCII, the common case, are copied whole.
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t run = at;
        while (run < text.size() && static_cast<unsigned char>(text[run]) < 0x80) ++run;
        out.append(text.data() + at, run - at);
        if (run == text.size()) break;
        append_utf8(out, code_point_of(static_cast<unsigned char>(text[run])));
        at = run + 1;
    }
}

std::string utf8_to_windows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Piece piece = next_utf8_piece(text, at);
        out += piece.kind == Utf8Piece::Kind::kCharacter ? byte_for(piece.code) : '?';
        at += piece.length;
    }
    return out;
}

}  // namespace quillet
