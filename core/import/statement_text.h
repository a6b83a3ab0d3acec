// A statement file as text: read whole (up to a limit), its encoding found (UTF-8 with or without a
// byte-order mark, else Windows-1252), given back as UTF-8. A file that holds bytes no text file
// holds (a zero byte: a binary file) is refused.
#pragma once

#include <cstdint>
#include <string>

#include "core/runtime/io_status.h"

namespace quillet {

// Statements larger than this are refused (EFBIG): a bank's statement is far smaller.
inline constexpr std::int64_t kLargestStatement = 64LL * 1024 * 1024;

// Why a file larger than kLargestStatement is refused, with its size and the limit: "It is 80.5 MB;
// the largest statement the import reads is 64 MB." For the import dialog and quillet-cli alike.
std::string too_large_text(std::int64_t size);

// The file's text in UTF-8. Fails with the cause: the file's own (ENOENT, EACCES...), EFBIG for
// one too large, EILSEQ for one that is not text.
IoStatus read_statement_text(const std::string& path, std::string& utf8);

// The text in UTF-8: a UTF-8 text as it is (without a byte-order mark), any other as Windows-1252.
std::string statement_text_as_utf8(std::string_view bytes);

// A fingerprint of the file's bytes, to know the file again: 16 hexadecimal digits.
std::string file_fingerprint(std::string_view bytes);

}  // namespace quillet
