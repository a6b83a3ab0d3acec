// The program holds its own texts as Windows-1252 bytes; the windowing layer speaks Unicode.
// These are the conversions at that border. File paths are not program texts: they stay the
// operating system's bytes and never pass through here.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Every byte becomes its character's UTF-8 form; the five bytes Windows-1252 leaves undefined
// (81, 8D, 8F, 90, 9D) stand for the control characters of the same code.
std::string windows1252_to_utf8(std::string_view text);
void append_windows1252_as_utf8(std::string& out, std::string_view text);

// Every character becomes its Windows-1252 byte; a character the code page lacks, and a
// malformed UTF-8 sequence, become "?".
std::string utf8_to_windows1252(std::string_view text);

// A file name from the program's own texts (the settings file's name, say) in the file system's
// spelling, ready to be joined to a path.
inline std::string path_from_text(std::string_view program_text) { return windows1252_to_utf8(program_text); }

}  // namespace quillet
