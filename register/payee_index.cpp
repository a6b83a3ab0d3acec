#include "register/payee_index.h"

#include <algorithm>

namespace quillet {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Windows-1252's lower-case letter for an upper-case one; any other byte as it is.
char folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 'A' && byte <= 'Z') return static_cast<char>(byte + 32);
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<char>(byte + 32);
    if (byte == 0x8A || byte == 0x8C || byte == 0x8E) return static_cast<char>(byte + 16);
    if (byte == 0x9F) return static_cast<char>(0xFF);
    return c;
}

}  // namespace

void append_payee_key(std::string& out, std::string_view payee) {
    while (!payee.empty() && is_blank(payee.front())) payee.remove_prefix(1);
    while (!payee.empty() && is_blank(payee.back())) payee.remove_suffix(1);
    for (const char c : payee) out += folded(c);
}

void PayeeIndex::clear() { slots_.clear(); }

std::vector<std::int64_t>* PayeeIndex::find(std::string_view payee) {
    key_.clear();
    append_payee_key(key_, payee);
    const auto found = slots_.find(std::string_view(key_));
    return found == slots_.end() ? nullptr : &found->second;
}

void PayeeIndex::add(std::string_view payee, std::int64_t slot) {
    std::vector<std::int64_t>* slots = find(payee);
    if (slots == nullptr) {
        if (key_.empty()) return;  // a transaction without a payee fills nothing
        slots = &slots_[key_];
    }
    slots->push_back(slot);
}

void PayeeIndex::remove(std::string_view payee, std::int64_t slot) {
    std::vector<std::int64_t>* slots = find(payee);
    if (slots == nullptr) return;
    const auto found = std::find(slots->begin(), slots->end(), slot);
    if (found == slots->end()) return;
    *found = slots->back();
    slots->pop_back();
    if (slots->empty()) slots_.erase(key_);
}

std::optional<std::int64_t> PayeeIndex::latest(std::string_view payee) const {
    std::string key;
    append_payee_key(key, payee);
    const auto found = slots_.find(std::string_view(key));
    if (found == slots_.end() || found->second.empty()) return std::nullopt;
    return *std::max_element(found->second.begin(), found->second.end());
}

std::size_t PayeeIndex::memory_bytes() const {
    std::size_t bytes = slots_.bucket_count() * sizeof(void*);
    for (const auto& [key, slots] : slots_) {
        bytes += sizeof(*slots_.begin()) + 2 * sizeof(void*) + key.capacity() +
                 slots.capacity() * sizeof(std::int64_t);
    }
    return bytes;
}

}  // namespace quillet
