#include "core/runtime/preference_store.h"

#include <algorithm>

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/utf8.h"

namespace quillet {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

// Reads the whole file; nullopt when it cannot be read.
std::optional<std::string> read_whole_file(const std::string& path) {
    const int file = read_open_file(kAnyFileNumber, path);
    if (file < 0) return std::nullopt;
    FileCloser closer(file);
    const std::int64_t length = file_length(file);
    if (length < 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (read_bytes(file, bytes.data(), length) != length) return std::nullopt;
    return bytes;
}

bool may_write(const std::string& path) {
    if (is_read_only(path)) return false;
    const int file = open_existing_file(kAnyFileNumber, path);
    if (file < 0) return false;
    (void)close_file(file);  // opened to find out, nothing written
    return true;
}

}  // namespace

std::string latin1_to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string utf8_to_latin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Piece piece = next_utf8_piece(text, at);
        at += piece.length;
        if (piece.kind == Utf8Piece::Kind::kStray) continue;
        out += piece.kind == Utf8Piece::Kind::kCharacter && piece.code < 256 ? static_cast<char>(piece.code)
                                                                             : '?';
    }
    return out;
}

bool PreferenceStore::open(const std::string& path, int output_options) {
    // The program closes a store it changed itself, to learn whether the changes were written.
    (void)close();
    has_store_ = true;
    path_ = path;
    output_options_ = output_options;
    const std::optional<std::string> bytes = read_whole_file(path);
    if (!bytes) return false;
    has_contents_ = true;
    read_only_ = !may_write(path);
    std::string_view text = *bytes;
    if (text.size() > 2 && text.substr(0, 3) == kByteOrderMark) {
        utf8_ = true;
        text.remove_prefix(3);
    }
    parse(text);
    return true;
}

void PreferenceStore::parse(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = std::min(text.find_first_not_of("\r\n", end), text.size());

        while (!line.empty() && is_blank(line.front())) line.remove_prefix(1);
        if (line.empty()) continue;
        if (line.front() == ';') {
            line.remove_prefix(1);
            if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
            entries_.push_back({Entry::Kind::kComment, std::string(line), {}});
        } else if (line.front() == '[') {
            line.remove_prefix(1);
            entries_.push_back({Entry::Kind::kGroup, std::string(line.substr(0, line.find(']'))), {}});
        } else {
            const std::size_t equals = line.find('=');
            std::string_view name = line.substr(0, equals);
            while (!name.empty() && is_blank(name.back())) name.remove_suffix(1);
            std::string_view value =
                equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
            while (!value.empty() && is_blank(value.front())) value.remove_prefix(1);
            entries_.push_back({Entry::Kind::kKey, std::string(name), std::string(value)});
        }
    }
}

std::string PreferenceStore::render() const {
    std::string text;
    if (utf8_) text.append(kByteOrderMark).append(kLineEnd);
    const bool blank_before_groups = (output_options_ & preference_output::kBlankLineBeforeGroups) != 0;
    const std::string_view equals = (output_options_ & preference_output::kCompactKeys) != 0 ? "=" : " = ";
    bool first_group = true;
    for (const Entry& entry : entries_) {
        switch (entry.kind) {
            case Entry::Kind::kGroup:
                if (blank_before_groups && !first_group) text.append(kLineEnd);
                first_group = false;
                text.append("[").append(entry.name).append("]");
                break;
            case Entry::Kind::kComment: text.append("; ").append(entry.name); break;
            case Entry::Kind::kKey: text.append(entry.name).append(equals).append(entry.value); break;
        }
        text.append(kLineEnd);
    }
    return text;
}

IoStatus PreferenceStore::close() {
    IoStatus written;
    if (has_store_ && changed_) {
        // Only a file that was read and may be written, or one that does not exist yet, is written:
        // a file we could not read is never replaced by what little we know of it.
        if (has_contents_ ? read_only_ : file_size(path_) != -1) {
            written = IoStatus::failure(has_contents_ ? EACCES : EIO);
        } else {
            // A settings file that may be written in a folder that may not gets written in place.
            written = replace_or_rewrite_in_place(path_, render());
        }
    }
    clear();
    return written;
}

void PreferenceStore::clear() {
    has_store_ = false;
    has_contents_ = false;
    read_only_ = false;
    utf8_ = false;
    changed_ = false;
    output_options_ = 0;
    path_.clear();
    entries_.clear();
    current_group_.reset();
    walk_.reset();
    pending_group_.reset();
}

std::string PreferenceStore::to_store(std::string_view text) const {
    return utf8_ ? latin1_to_utf8(text) : std::string(text);
}

std::string PreferenceStore::from_store(std::string_view text) const {
    return utf8_ ? utf8_to_latin1(text) : std::string(text);
}

std::string PreferenceStore::trimmed_from_store(std::string_view value) const {
    // Trimmed after the conversion, which drops stray bytes: a value that reads "Water " once
    // would read "Water" after it was written back.
    return std::string(trim_blanks(from_store(value)));
}

bool PreferenceStore::select_group(std::string_view name) {
    if (!has_store_) return false;
    if (name.empty()) {
        current_group_.reset();
        pending_group_.reset();
        walk_.reset();
        return true;
    }
    const std::string wanted = to_store(name);
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
        if (entry->kind == Entry::Kind::kGroup && equals_ignoring_ascii_case(entry->name, wanted)) {
            current_group_ = entry;
            walk_ = entry;
            pending_group_.reset();
            return true;
        }
    }
    pending_group_ = std::string(name);
    return false;
}

PreferenceStore::ConstPosition PreferenceStore::group_start() const {
    return current_group_ ? std::next(ConstPosition(*current_group_)) : entries_.cbegin();
}

PreferenceStore::ConstPosition PreferenceStore::group_end(ConstPosition from) const {
    return std::find_if(from, entries_.cend(),
                        [](const Entry& entry) { return entry.kind == Entry::Kind::kGroup; });
}

std::optional<PreferenceStore::ConstPosition> PreferenceStore::find_key(std::string_view key) const {
    if (pending_group_) return std::nullopt;
    const std::string wanted = to_store(key);
    const ConstPosition start = group_start();
    const ConstPosition end = group_end(start);
    for (ConstPosition entry = start; entry != end; ++entry) {
        if (entry->kind == Entry::Kind::kKey && equals_ignoring_ascii_case(entry->name, wanted)) return entry;
    }
    return std::nullopt;
}

std::string PreferenceStore::read_text(std::string_view key, std::string_view default_text) const {
    const auto found = find_key(key);
    return found ? trimmed_from_store((*found)->value) : std::string(default_text);
}

std::string PreferenceStore::read_path(std::string_view key, std::string_view default_path) const {
    const auto found = find_key(key);
    return found ? std::string(trim_blanks((*found)->value)) : std::string(default_path);
}

std::int32_t PreferenceStore::read_integer(std::string_view key, std::int32_t default_value) const {
    const auto found = find_key(key);
    if (!found) return default_value;
    std::string_view text = trim_blanks((*found)->value);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint32_t value = 0;  // wraps like a 32-bit register on absurd digit runs
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

bool PreferenceStore::start_key_walk() {
    if (!has_store_ || pending_group_) return false;
    walk_ = current_group_ ? *current_group_ : entries_.end();
    return true;
}

bool PreferenceStore::next_key() {
    if (!walk_ || pending_group_) return false;
    Position next = *walk_ == entries_.end() ? entries_.begin() : std::next(*walk_);
    while (next != entries_.end() && next->kind == Entry::Kind::kComment) ++next;
    if (next == entries_.end() || next->kind == Entry::Kind::kGroup) return false;
    walk_ = next;
    return true;
}

std::string PreferenceStore::current_key_name() const {
    if (!walk_ || *walk_ == entries_.end() || (*walk_)->kind != Entry::Kind::kKey) return {};
    return from_store((*walk_)->name);
}

std::string PreferenceStore::current_key_value() const {
    if (!walk_ || *walk_ == entries_.end() || (*walk_)->kind != Entry::Kind::kKey) return {};
    return trimmed_from_store((*walk_)->value);
}

void PreferenceStore::write_text(std::string_view key, std::string_view value) {
    write_stored(key, to_store(value));
}

void PreferenceStore::write_path(std::string_view key, std::string_view path) {
    write_stored(key, std::string(path));
}

void PreferenceStore::write_stored(std::string_view key, std::string stored_value) {
    if (!has_store_) return;
    if (pending_group_) {
        current_group_ =
            entries_.insert(entries_.end(), {Entry::Kind::kGroup, to_store(*pending_group_), {}});
        pending_group_.reset();
    }
    changed_ = true;
    if (const auto found = find_key(key)) {
        // erase(p, p) turns the read-only position into a writable one without changing anything.
        const Position entry = entries_.erase(*found, *found);
        entry->name = to_store(key);
        entry->value = std::move(stored_value);
        return;
    }
    // A new key goes after the group's last entry, before the next group line.
    const ConstPosition end = group_end(group_start());
    entries_.insert(end, {Entry::Kind::kKey, to_store(key), std::move(stored_value)});
}

void PreferenceStore::write_integer(std::string_view key, std::int32_t value) {
    write_text(key, integer_text(value));
}

bool PreferenceStore::remove_group(std::string_view name) {
    if (!has_store_) return false;
    const std::string wanted = to_store(name);
    const auto group = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return entry.kind == Entry::Kind::kGroup && equals_ignoring_ascii_case(entry.name, wanted);
    });
    if (group == entries_.end()) return false;
    changed_ = true;
    const Position end = entries_.erase(group_end(std::next(group)), group_end(std::next(group)));
    for (Position entry = group; entry != end; ++entry) {
        if (current_group_ == entry) current_group_.reset();
        if (walk_ == entry) walk_.reset();
    }
    entries_.erase(group, end);
    return true;
}

}  // namespace quillet
