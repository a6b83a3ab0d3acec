#include "core/filter/shown_rows.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "core/register/format.h"
#include "core/runtime/pieces.h"

namespace quillet {

using namespace record_format;

namespace {

// Slots read at a time: small enough that a read's records are still in the cache when matched.
constexpr std::int64_t kSlotsPerRead = 512;

// Matches the rows at positions first..end of the candidates (rows, or every row when null) and
// gives those that meet the filter. The piece has a file of its own: the program's numbered files
// are not to be shared between threads.
std::vector<std::int32_t> match_piece(const RegisterList& list, const RecordFilter& filter,
                                      const RecordFacts& facts, const std::vector<std::int32_t>* among,
                                      std::int64_t first, std::int64_t end) {
    // Kept in a vector of the piece's own: pieces that pushed onto vectors side by side would fight
    // over the cache line that holds their ends.
    std::vector<std::int32_t> kept;
    const int file = ::open(list.path().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) return kept;
    const auto row_at = [among](std::int64_t at) {
        return among != nullptr ? static_cast<std::int64_t>((*among)[static_cast<std::size_t>(at)]) : at;
    };
    const std::vector<std::int32_t>& slots = list.slots();
    const auto slot_at = [&](std::int64_t at) {
        return static_cast<std::int64_t>(slots[static_cast<std::size_t>(row_at(at))]);
    };
    kept.reserve(static_cast<std::size_t>(end - first));
    std::vector<std::uint8_t> block(static_cast<std::size_t>(kSlotsPerRead) * kRecordSize);
    for (std::int64_t at = first; at < end;) {
        // The rows whose slots fall within one read: the list runs through the file forwards or
        // backwards, so that the slots of following rows only ever grow or only ever shrink.
        const std::int64_t first_slot = slot_at(at);
        std::int64_t stop = at + 1;
        while (stop < end && std::abs(slot_at(stop) - first_slot) < kSlotsPerRead) ++stop;
        const std::int64_t low = std::min(first_slot, slot_at(stop - 1));
        const std::int64_t high = std::max(first_slot, slot_at(stop - 1));
        const auto bytes = static_cast<std::size_t>(high - low + 1) * kRecordSize;
        if (::pread(file, block.data(), bytes, static_cast<off_t>(low) * static_cast<off_t>(kRecordSize)) ==
            static_cast<ssize_t>(bytes)) {
            for (; at < stop; ++at) {
                const std::int64_t slot = slot_at(at);
                if (slot >= low && slot <= high &&
                    filter.matches(block.data() + (slot - low) * static_cast<std::int64_t>(kRecordSize), slot,
                                   facts))
                    kept.push_back(static_cast<std::int32_t>(row_at(at)));
            }
        }
        at = stop;
    }
    ::close(file);
    return kept;
}

}  // namespace

std::vector<std::int32_t> rows_matching(const RegisterList& list, const RecordFilter& filter,
                                        const RecordFacts& facts, const std::vector<std::int32_t>* among) {
    if (filter.matches_nothing()) return {};
    const std::int64_t candidates =
        among != nullptr ? static_cast<std::int64_t>(among->size()) : list.row_count();
    const std::int64_t pieces = piece_count(candidates, kSlotsPerRead);
    std::vector<std::vector<std::int32_t>> kept(static_cast<std::size_t>(pieces));
    in_pieces(candidates, pieces, [&](std::int64_t piece, std::int64_t first, std::int64_t end) {
        kept[static_cast<std::size_t>(piece)] = match_piece(list, filter, facts, among, first, end);
    });
    std::size_t total = 0;
    for (const auto& each : kept) total += each.size();
    std::vector<std::int32_t> rows;
    rows.reserve(total);
    for (const auto& each : kept) rows.insert(rows.end(), each.begin(), each.end());
    return rows;
}

void ShownRows::show(std::vector<std::int32_t> rows) {
    on_ = true;
    rows_ = std::move(rows);
}

void ShownRows::clear() {
    on_ = false;
    rows_ = {};
}

std::int64_t ShownRows::list_row(std::int64_t shown_row) const {
    if (!on_) return shown_row;
    return shown_row >= 0 && shown_row < static_cast<std::int64_t>(rows_.size())
               ? rows_[static_cast<std::size_t>(shown_row)]
               : -1;
}

std::int64_t ShownRows::shown_row(std::int64_t list_row) const {
    if (!on_) return list_row;
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), list_row);
    return at != rows_.end() && *at == list_row ? at - rows_.begin() : -1;
}

std::int64_t ShownRows::nearest_shown_row(std::int64_t list_row) const {
    if (!on_) return list_row;
    if (rows_.empty()) return -1;
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), list_row);
    return at != rows_.end() ? at - rows_.begin() : static_cast<std::int64_t>(rows_.size()) - 1;
}

void ShownRows::inserted(std::int64_t list_row, bool shown) {
    if (!on_) return;
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), list_row);
    for (auto later = at; later != rows_.end(); ++later) ++*later;
    if (shown) rows_.insert(at, static_cast<std::int32_t>(list_row));
}

void ShownRows::removed(std::int64_t list_row) {
    if (!on_) return;
    auto at = std::lower_bound(rows_.begin(), rows_.end(), list_row);
    if (at != rows_.end() && *at == list_row) at = rows_.erase(at);
    for (; at != rows_.end(); ++at) --*at;
}

void ShownRows::replaced(std::int64_t list_row, bool shown) {
    if (!on_) return;
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), list_row);
    const bool there = at != rows_.end() && *at == list_row;
    if (shown && !there) rows_.insert(at, static_cast<std::int32_t>(list_row));
    if (!shown && there) rows_.erase(at);
}

ShownSums ShownRows::sums(const BalanceBook& book) const {
    ShownSums sums;
    if (!on_) {
        for (std::int64_t row = 0; row < book.size(); ++row)
            book.add_amounts(row, sums.deposits, sums.payments);
        sums.rows = book.size();
        return sums;
    }
    for (const std::int32_t row : rows_) book.add_amounts(row, sums.deposits, sums.payments);
    sums.rows = static_cast<std::int64_t>(rows_.size());
    return sums;
}

}  // namespace quillet
