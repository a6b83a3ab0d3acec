// The slots of each payee's transactions in the list, so that a new transaction can be filled from
// the latest one to the same payee without reading the register. Payees are compared without the
// blanks around them and without regard to case (of every letter Windows-1252 has).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillet {

// The payee as the index compares it.
void append_payee_key(std::string& out, std::string_view payee);

class PayeeIndex {
  public:
    void clear();
    void add(std::string_view payee, std::int64_t slot);
    void remove(std::string_view payee, std::int64_t slot);
    // The highest slot of the payee's transactions, the one entered last.
    std::optional<std::int64_t> latest(std::string_view payee) const;
    std::size_t memory_bytes() const;

  private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>()(key); }
    };
    using Slots = std::unordered_map<std::string, std::vector<std::int64_t>, KeyHash, std::equal_to<>>;
    std::vector<std::int64_t>* find(std::string_view payee);

    Slots slots_;
    std::string key_;  // reused, so that adding a known payee allocates nothing
};

}  // namespace quillet
