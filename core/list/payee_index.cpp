#include "core/list/payee_index.h"

#include <algorithm>
#include <array>

namespace quillet {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Windows-1252's lower-case letter for each upper-case one; every other byte as it is. A table,
// because a million-row fill folds every payee's every byte.
constexpr std::array<unsigned char, 256> kFolded = [] {
    std::array<unsigned char, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        int low = byte;
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) low = byte + 32;
        if (byte == 0x8A || byte == 0x8C || byte == 0x8E) low = byte + 16;
        if (byte == 0x9F) low = 0xFF;
        table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(low);
    }
    return table;
}();

char folded(char c) { return static_cast<char>(kFolded[static_cast<unsigned char>(c)]); }

std::string_view trimmed(std::string_view payee) {
    while (!payee.empty() && is_blank(payee.front())) payee.remove_prefix(1);
    while (!payee.empty() && is_blank(payee.back())) payee.remove_suffix(1);
    return payee;
}

constexpr std::size_t kFirstSize = 64;

}  // namespace

void PayeeIndex::clear() {
    table_.clear();
    used_ = 0;
}

std::size_t PayeeIndex::place_of(std::string_view payee, std::uint64_t& hash) const {
    // FNV-1a over the folded bytes; the key is compared folding as it goes, so that a known payee
    // costs no copy.
    payee = trimmed(payee);
    hash = 14695981039346656037ull;
    for (const char c : payee) hash = (hash ^ static_cast<unsigned char>(folded(c))) * 1099511628211ull;
    const auto same = [payee](const std::string& key) {
        if (key.size() != payee.size()) return false;
        for (std::size_t i = 0; i < key.size(); ++i) {
            if (key[i] != folded(payee[i])) return false;
        }
        return true;
    };
    const std::size_t mask = table_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Payee& entry = table_[at];
        if (entry.key.empty() || (entry.hash == hash && same(entry.key))) return at;
    }
}

void PayeeIndex::grow() {
    std::vector<Payee> old = std::move(table_);
    table_ = std::vector<Payee>(old.empty() ? kFirstSize : old.size() * 2);
    const std::size_t mask = table_.size() - 1;
    for (Payee& entry : old) {
        if (entry.key.empty()) continue;
        std::size_t at = entry.hash & mask;
        while (!table_[at].key.empty()) at = (at + 1) & mask;
        table_[at] = std::move(entry);
    }
}

void PayeeIndex::add(std::string_view payee, std::int64_t slot) {
    if (trimmed(payee).empty()) return;  // a transaction without a payee fills nothing
    if (2 * (used_ + 1) > table_.size()) grow();
    std::uint64_t hash = 0;
    Payee& entry = table_[place_of(payee, hash)];
    if (entry.key.empty()) {
        for (const char c : trimmed(payee)) entry.key += folded(c);
        entry.hash = hash;
        ++used_;
    }
    entry.slot_list.push_back(static_cast<std::int32_t>(slot));
}

void PayeeIndex::remove(std::string_view payee, std::int64_t slot) {
    if (table_.empty()) return;
    std::uint64_t hash = 0;
    Payee& entry = table_[place_of(payee, hash)];
    const auto found =
        std::find(entry.slot_list.begin(), entry.slot_list.end(), static_cast<std::int32_t>(slot));
    if (found == entry.slot_list.end()) return;
    // The payee's entry stays, empty, so that no probe sequence is cut.
    *found = entry.slot_list.back();
    entry.slot_list.pop_back();
}

std::optional<std::int64_t> PayeeIndex::latest(std::string_view payee) const {
    if (table_.empty()) return std::nullopt;
    std::uint64_t hash = 0;
    const Payee& entry = table_[place_of(payee, hash)];
    if (entry.slot_list.empty()) return std::nullopt;
    return *std::max_element(entry.slot_list.begin(), entry.slot_list.end());
}

void PayeeIndex::shrink() {
    for (Payee& entry : table_) entry.slot_list.shrink_to_fit();
}

std::size_t PayeeIndex::memory_bytes() const {
    std::size_t bytes = table_.capacity() * sizeof(Payee);
    for (const Payee& entry : table_)
        bytes += entry.key.capacity() + entry.slot_list.capacity() * sizeof(std::int32_t);
    return bytes;
}

}  // namespace quillet
