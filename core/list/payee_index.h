// The slots of each payee's transactions in the list, so that a new transaction can be filled from
// the latest one to the same payee without reading the register. Payees are compared without the
// blanks around them and without regard to case (of every letter Windows-1252 has).
//
// Filling a million-row list adds every row here, so the table is a small open-addressing one that
// folds and hashes a payee in one pass without copying it, and slots take four bytes each.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class PayeeIndex {
  public:
    void clear();
    void add(std::string_view payee, std::int64_t slot);
    void remove(std::string_view payee, std::int64_t slot);
    // The highest slot of the payee's transactions, the one entered last.
    std::optional<std::int64_t> latest(std::string_view payee) const;
    // Gives back what growing the slot lists left unused (after a fill).
    void shrink();
    std::size_t memory_bytes() const;

  private:
    struct Payee {
        std::uint64_t hash = 0;
        std::string key;  // empty: a free place
        std::vector<std::int32_t> slot_list;
    };
    // The place of the payee's entry, or the free place for it; with the payee's hash.
    std::size_t place_of(std::string_view payee, std::uint64_t& hash) const;
    void grow();

    std::vector<Payee> table_;  // a power of two long, at most half full
    std::size_t used_ = 0;
};

}  // namespace quillet
