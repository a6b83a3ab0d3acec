#include "core/register/record_places.h"

#include <algorithm>
#include <unordered_map>

namespace quillet {

void RecordPlaces::clear() {
    fingerprints_.clear();
    live_.clear();
    imported_.clear();
    read_linked_.clear();
    linked_.clear();
    marks_.clear();
    marks_.shrink_to_fit();
}

void RecordPlaces::reserve(std::size_t slots) {
    fingerprints_.reserve(slots);
    live_.reserve(slots);
    imported_.reserve(slots);
}

void RecordPlaces::push(std::uint64_t fingerprint, bool live) {
    fingerprints_.push_back(fingerprint);
    live_.push_back(live);
    imported_.push_back(false);
    if (!marks_.empty()) marks_.push_back(0);
}

void RecordPlaces::put(std::int64_t slot, std::uint64_t fingerprint, bool live) {
    if (slot == slot_count()) {
        push(fingerprint, live);
        return;
    }
    if (slot > slot_count()) {
        const auto size = static_cast<std::size_t>(slot + 1);
        fingerprints_.resize(size);
        live_.resize(size);
        imported_.resize(size);
        if (!marks_.empty()) marks_.resize(size);
    }
    fingerprints_[static_cast<std::size_t>(slot)] = fingerprint;
    live_[static_cast<std::size_t>(slot)] = live;
}

void RecordPlaces::pop(std::int64_t count) {
    const auto keep = static_cast<std::size_t>(std::max<std::int64_t>(0, slot_count() - count));
    fingerprints_.resize(keep);
    live_.resize(keep);
    imported_.resize(keep);
    if (!marks_.empty()) marks_.resize(keep);
}

void RecordPlaces::set_fingerprint(std::int64_t slot, std::uint64_t fingerprint) {
    // What the store named the record by moved with it (a category too).
    const bool was_linked = has_links_for(fingerprints_[static_cast<std::size_t>(slot)]);
    fingerprints_[static_cast<std::size_t>(slot)] = fingerprint;
    if (was_linked || imported(slot) || state(slot) != ClearState::kUncleared) linked_.insert(fingerprint);
}

void RecordPlaces::set_live(std::int64_t slot, bool live) { live_[static_cast<std::size_t>(slot)] = live; }

RecordPlace RecordPlaces::place_as(std::int64_t slot, std::uint64_t wanted) const {
    std::int64_t place = 0;
    for (std::int64_t other = 0; other < slot; ++other) {
        if (fingerprints_[static_cast<std::size_t>(other)] == wanted) ++place;
    }
    return {wanted, place};
}

std::vector<RecordPlace> RecordPlaces::places_of(const std::vector<std::int64_t>& slots) const {
    std::vector<RecordPlace> places;
    places.reserve(slots.size());
    if (slots.size() <= 4) {
        for (const std::int64_t slot : slots) places.push_back(place_of(slot));
        return places;
    }
    // Each wanted fingerprint's records counted off in file order; a wanted slot takes the count.
    std::unordered_map<std::uint64_t, std::int64_t> counts;
    std::unordered_map<std::int64_t, std::int64_t> place_at;
    counts.reserve(slots.size());
    place_at.reserve(slots.size());
    for (const std::int64_t slot : slots) {
        counts.emplace(fingerprint(slot), 0);
        place_at.emplace(slot, 0);
    }
    for (std::int64_t slot = 0; slot < slot_count(); ++slot) {
        const auto counted = counts.find(fingerprints_[static_cast<std::size_t>(slot)]);
        if (counted == counts.end()) continue;
        if (const auto wanted = place_at.find(slot); wanted != place_at.end())
            wanted->second = counted->second;
        ++counted->second;
    }
    for (const std::int64_t slot : slots) places.push_back({fingerprint(slot), place_at[slot]});
    return places;
}

std::vector<RecordPlace> RecordPlaces::places_after_end(
    const std::vector<std::uint64_t>& fingerprints) const {
    std::unordered_map<std::uint64_t, std::int64_t> counts;
    for (const std::uint64_t fingerprint : fingerprints) counts.emplace(fingerprint, 0);
    for (const std::uint64_t fingerprint : fingerprints_) {
        const auto found = counts.find(fingerprint);
        if (found != counts.end()) ++found->second;
    }
    std::vector<RecordPlace> places;
    places.reserve(fingerprints.size());
    for (const std::uint64_t fingerprint : fingerprints)
        places.push_back({fingerprint, counts[fingerprint]++});
    return places;
}

std::vector<std::int64_t> RecordPlaces::slots_at(const std::vector<RecordPlace>& places) const {
    if (places.empty()) return {};
    // Every slot by fingerprint, then by slot: a fingerprint's records stand together in file
    // order, and a place is an offset into them. Fewer places than slots need only their
    // fingerprints' slots.
    std::vector<std::pair<std::uint64_t, std::int64_t>> by_print;
    const bool few = places.size() * 4 < fingerprints_.size();
    std::unordered_set<std::uint64_t> wanted;
    if (few) {
        wanted.reserve(places.size());
        for (const RecordPlace& place : places) wanted.insert(place.fingerprint);
    }
    by_print.reserve(few ? places.size() : fingerprints_.size());
    for (std::int64_t slot = 0; slot < slot_count(); ++slot) {
        const std::uint64_t fingerprint = fingerprints_[static_cast<std::size_t>(slot)];
        if (!few || wanted.contains(fingerprint)) by_print.emplace_back(fingerprint, slot);
    }
    std::sort(by_print.begin(), by_print.end());
    std::vector<std::int64_t> result;
    result.reserve(places.size());
    for (const RecordPlace& place : places) {
        const auto first = std::lower_bound(by_print.begin(), by_print.end(),
                                            std::pair<std::uint64_t, std::int64_t>(place.fingerprint, -1));
        const bool there = place.place >= 0 && place.place < by_print.end() - first &&
                           first[place.place].first == place.fingerprint;
        result.push_back(there ? first[place.place].second : -1);
    }
    return result;
}

RecordPlaces::PrintedSlots RecordPlaces::slots_by_fingerprint() const {
    PrintedSlots slots;
    slots.reserve(fingerprints_.size());
    for (std::int64_t slot = 0; slot < slot_count(); ++slot)
        slots.emplace_back(static_cast<std::int64_t>(fingerprints_[static_cast<std::size_t>(slot)]), slot);
    std::sort(slots.begin(), slots.end());
    return slots;
}

template <typename Placed, typename Found>
void RecordPlaces::walk_places(const std::vector<Placed>& placed, const PrintedSlots& slots, Found found) {
    // Both in fingerprint order: one walk through the two, a fingerprint's records counted off
    // as its places.
    auto slot = slots.begin();
    std::int64_t current = 0;
    std::int64_t place = 0;
    bool started = false;
    // What earlier walks noted stays sorted: only this walk's fingerprints are sorted, then merged.
    const auto noted_before = static_cast<std::ptrdiff_t>(read_linked_.size());
    for (const Placed& each : placed) {
        const auto fingerprint = static_cast<std::int64_t>(each.record.fingerprint);
        if (read_linked_.empty() || read_linked_.back() != each.record.fingerprint)
            read_linked_.push_back(each.record.fingerprint);
        if (!started || fingerprint != current) {
            while (slot != slots.end() && slot->first < fingerprint) ++slot;
            current = fingerprint;
            place = 0;
            started = true;
        }
        while (place < each.record.place && slot != slots.end() && slot->first == fingerprint) {
            ++slot;
            ++place;
        }
        if (place == each.record.place && slot != slots.end() && slot->first == fingerprint)
            found(each, slot->second);
    }
    std::sort(read_linked_.begin() + noted_before, read_linked_.end());
    std::inplace_merge(read_linked_.begin(), read_linked_.begin() + noted_before, read_linked_.end());
    read_linked_.erase(std::unique(read_linked_.begin(), read_linked_.end()), read_linked_.end());
}

void RecordPlaces::mark_links(const std::vector<LinkedPlace>& links, const PrintedSlots& slots) {
    walk_places(links, slots, [&](const LinkedPlace&, std::int64_t slot) {
        imported_[static_cast<std::size_t>(slot)] = true;
    });
}

std::vector<std::int64_t> RecordPlaces::slots_of_sorted(const std::vector<RecordPlace>& places,
                                                        const PrintedSlots& slots) {
    struct Placed {
        RecordPlace record;
    };
    std::vector<Placed> placed;
    placed.reserve(places.size());
    for (const RecordPlace& place : places) placed.push_back({place});
    std::vector<std::int64_t> found(places.size(), -1);
    walk_places(placed, slots, [&](const Placed& each, std::int64_t slot) {
        found[static_cast<std::size_t>(&each - placed.data())] = slot;
    });
    return found;
}

void RecordPlaces::mark_states(const std::vector<StoredMark>& marks, const PrintedSlots& slots) {
    marks_.clear();
    if (marks.empty()) {
        marks_.shrink_to_fit();
        return;
    }
    marks_.assign(fingerprints_.size(), 0);
    walk_places(marks, slots, [&](const StoredMark& mark, std::int64_t slot) {
        set_state(slot, mark.state, mark.statement_id);
    });
}

std::vector<std::uint8_t> RecordPlaces::states_by_slot() const {
    std::vector<std::uint8_t> states(marks_.size());
    for (std::size_t slot = 0; slot < marks_.size(); ++slot)
        states[slot] = static_cast<std::uint8_t>(marks_[slot] & 3u);
    return states;
}

void RecordPlaces::set_state(std::int64_t slot, ClearState state, std::int64_t statement_id) {
    if (marks_.empty()) {
        if (state == ClearState::kUncleared) return;
        marks_.assign(fingerprints_.size(), 0);
    }
    const std::uint32_t statement =
        state == ClearState::kReconciled ? static_cast<std::uint32_t>(statement_id) : 0;
    marks_[static_cast<std::size_t>(slot)] = static_cast<std::uint32_t>(state) | statement << 2;
    if (state != ClearState::kUncleared) linked_.insert(fingerprint(slot));
}

bool RecordPlaces::has_links_for(std::uint64_t fingerprint) const {
    return linked_.contains(fingerprint) ||
           std::binary_search(read_linked_.begin(), read_linked_.end(), fingerprint);
}

void RecordPlaces::set_imported(std::int64_t slot, bool imported) {
    imported_[static_cast<std::size_t>(slot)] = imported;
    if (imported) linked_.insert(fingerprint(slot));
}

std::size_t RecordPlaces::memory_bytes() const {
    return fingerprints_.capacity() * sizeof(std::uint64_t) + (live_.capacity() + imported_.capacity()) / 8 +
           read_linked_.capacity() * sizeof(std::uint64_t) +
           linked_.size() * (sizeof(std::uint64_t) + 2 * sizeof(void*)) +
           marks_.capacity() * sizeof(std::uint32_t);
}

}  // namespace quillet
