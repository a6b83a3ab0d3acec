#include "core/import/statement_text.h"
#include "core/runtime/huge_pages.h"

#include <xxhash.h>

#include <cstdio>

#include "core/runtime/file_access.h"
#include "core/runtime/utf8.h"
#include "core/runtime/windows1252.h"

namespace quillet {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::string statement_text_as_utf8(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
    if (is_valid_utf8(bytes)) return std::string(bytes);
    return windows1252_to_utf8(bytes);
}

IoStatus read_statement_text(const std::string& path, std::string& utf8) {
    utf8.clear();
    const std::int64_t size = file_size(path);
    if (size == -1) return IoStatus::failure(ENOENT);
    if (size == -2) return IoStatus::failure(EISDIR);
    if (!is_regular_file(path)) return IoStatus::failure(ENXIO);
    if (size > kLargestStatement) return IoStatus::failure(EFBIG);
    IoStatus opened;
    const int file = read_open_file(kAnyFileNumber, path, file_flags::kNoBuffering, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    advise_huge_pages_of(bytes);
    bytes.resize(static_cast<std::size_t>(size));
    if (read_bytes(file, bytes.data(), size) != size) return IoStatus::failure(EIO);
    if (bytes.find('\0') != std::string::npos) return IoStatus::failure(EILSEQ);
    // Already UTF-8 (as most are): kept as read, without a copy of a file that may be 64 MB.
    const std::string_view mark = kByteOrderMark;
    if (!std::string_view(bytes).starts_with(mark) && is_valid_utf8(bytes)) {
        utf8 = std::move(bytes);
    } else {
        utf8 = statement_text_as_utf8(bytes);
    }
    return {};
}

std::string too_large_text(std::int64_t size) {
    char text[128];
    std::snprintf(text, sizeof text, "It is %.1f MB; the largest statement the import reads is %lld MB.",
                  static_cast<double>(size) / (1024.0 * 1024.0),
                  static_cast<long long>(kLargestStatement / (1024 * 1024)));
    return text;
}

std::string file_fingerprint(std::string_view bytes) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>(XXH3_64bits(bytes.data(), bytes.size())));
    return text;
}

}  // namespace quillet
