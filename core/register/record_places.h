// What the session knows of every record of the file, deleted ones too, by slot: its fingerprint,
// whether it is live, whether an import made it (from the companion store's links) and its state
// against the bank's statements (from the store's marks). A record's
// place is its rank among the records with the same fingerprint in file order, which is how the
// store names the record a link leads to (companion_store.h).
#pragma once

#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/register/record_states.h"

namespace quillet {

class RecordPlaces {
  public:
    void clear();
    void reserve(std::size_t slots);
    // The next slot's record.
    void push(std::uint64_t fingerprint, bool live);
    // The slot's record, the slots before it made as needed (records read from the last one back).
    void put(std::int64_t slot, std::uint64_t fingerprint, bool live);
    // Drops the last count slots (appended records taken back).
    void pop(std::int64_t count);
    void set_fingerprint(std::int64_t slot, std::uint64_t fingerprint);
    void set_live(std::int64_t slot, bool live);

    std::int64_t slot_count() const { return static_cast<std::int64_t>(fingerprints_.size()); }
    std::uint64_t fingerprint(std::int64_t slot) const {
        return fingerprints_[static_cast<std::size_t>(slot)];
    }
    bool live(std::int64_t slot) const { return live_[static_cast<std::size_t>(slot)]; }
    bool imported(std::int64_t slot) const { return imported_[static_cast<std::size_t>(slot)]; }

    RecordPlace place_of(std::int64_t slot) const { return place_as(slot, fingerprint(slot)); }
    // The place the slot's record would have with the fingerprint (once rewritten to other bytes).
    RecordPlace place_as(std::int64_t slot, std::uint64_t fingerprint) const;
    // The places of many slots, in one pass over the file's records.
    std::vector<RecordPlace> places_of(const std::vector<std::int64_t>& slots) const;
    // The places of records yet to be appended with these fingerprints, in order.
    std::vector<RecordPlace> places_after_end(const std::vector<std::uint64_t>& fingerprints) const;
    // The slot at each place, or -1 where the file has no such record.
    std::vector<std::int64_t> slots_at(const std::vector<RecordPlace>& places) const;

    // Every slot with its fingerprint, ordered by fingerprint (as a signed number, the order the
    // store keeps them in) and then by slot: a fingerprint's records together, in file order.
    using PrintedSlots = std::vector<std::pair<std::int64_t, std::int64_t>>;
    PrintedSlots slots_by_fingerprint() const;
    // Marks the records the links lead to as imported (and nothing else). The links come ordered
    // by fingerprint and place (CompanionStore::read_links), the slots from slots_by_fingerprint.
    void mark_links(const std::vector<LinkedPlace>& links, const PrintedSlots& slots);
    void set_imported(std::int64_t slot, bool imported);
    // The slot at each of the places (ordered as links are), or -1; their fingerprints count as
    // linked from then on (the store names records by them).
    std::vector<std::int64_t> slots_of_sorted(const std::vector<RecordPlace>& places,
                                              const PrintedSlots& slots);
    // Something in the store now names the slot's record.
    void note_linked(std::int64_t slot) { linked_.insert(fingerprint(slot)); }
    // Whether a link or a mark may name a record with the fingerprint: its records' places matter
    // to the store.
    bool has_links_for(std::uint64_t fingerprint) const;

    ClearState state(std::int64_t slot) const {
        return marks_.empty() ? ClearState::kUncleared
                              : static_cast<ClearState>(marks_[static_cast<std::size_t>(slot)] & 3u);
    }
    // A reconciled record's statement, else 0.
    std::int64_t statement_of(std::int64_t slot) const {
        return marks_.empty() ? 0 : static_cast<std::int64_t>(marks_[static_cast<std::size_t>(slot)] >> 2);
    }
    void set_state(std::int64_t slot, ClearState state, std::int64_t statement_id = 0);
    // Sets the records' states from the store's marks (ordered as links are), all others uncleared.
    void mark_states(const std::vector<StoredMark>& marks, const PrintedSlots& slots);
    bool has_marks() const { return !marks_.empty(); }
    // Each slot's state as a byte (0 uncleared, 1 cleared, 2 reconciled), as the reports take them;
    // empty while no record has a state.
    std::vector<std::uint8_t> states_by_slot() const;

    std::size_t memory_bytes() const;

  private:
    std::vector<std::uint64_t> fingerprints_;
    std::vector<bool> live_;
    std::vector<bool> imported_;
    // The fingerprints links were read for, in order, and those linked since.
    std::vector<std::uint64_t> read_linked_;
    std::unordered_set<std::uint64_t> linked_;
    // A slot each once any record has a state: the state in the low two bits, a reconciled
    // record's statement above them. Empty while every record is uncleared.
    std::vector<std::uint32_t> marks_;
    // The slot of each place in the sorted slots, in the order of places that come sorted too.
    template <typename Placed, typename Found>
    void walk_places(const std::vector<Placed>& placed, const PrintedSlots& slots, Found found);
};

}  // namespace quillet
