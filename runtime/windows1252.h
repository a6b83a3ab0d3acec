// The program holds its texts as Windows-1252 bytes; the windowing layer speaks Unicode.
// These are the conversions at that border.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Every byte becomes its character's UTF-8 form; the five bytes Windows-1252 leaves undefined
// (81, 8D, 8F, 90, 9D) stand for the control characters of the same code.
std::string windows1252_to_utf8(std::string_view text);

// Every character becomes its Windows-1252 byte; a character the code page lacks, and a
// malformed UTF-8 sequence, become "?".
std::string utf8_to_windows1252(std::string_view text);

// Paths are program texts too; the file system names files in UTF-8.
inline std::string native_path(std::string_view path) { return windows1252_to_utf8(path); }
inline std::string program_path(std::string_view native) { return utf8_to_windows1252(native); }

}  // namespace quillet
