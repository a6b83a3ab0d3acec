#include "core/list/row_search.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>

#include "core/list/row_text.h"
#include "core/register/format.h"
#include "core/runtime/number_text.h"
#include "core/runtime/pieces.h"

namespace quillet {

using namespace record_format;

namespace {

// Records read at a time by each piece of the search.
constexpr std::int64_t kRecordsPerRead = 4096;

// Searches the records of slots first..end, marking the rows they are listed in. The piece has a
// file of its own: the program's numbered files are not to be shared between threads.
void search_piece(const RegisterList& list, const std::vector<std::int32_t>& row_of_slot, std::int64_t first,
                  std::int64_t end, const std::string& wanted, bool inverse,
                  std::vector<std::uint8_t>& marks) {
    const int file = ::open(list.path().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) return;
    const std::string void_mark = case_folded(kVoidMark);
    const std::string out_of_range = case_folded(kOutOfRangeText);
    const std::boyer_moore_horspool_searcher searcher(wanted.begin(), wanted.end());
    std::vector<std::uint8_t> block(static_cast<std::size_t>(kRecordsPerRead * kRecordSize));
    std::string text;
    for (std::int64_t start = first; start < end; start += kRecordsPerRead) {
        const std::int64_t records = std::min(kRecordsPerRead, end - start);
        const auto bytes = static_cast<std::size_t>(records) * kRecordSize;
        if (::pread(file, block.data(), bytes, static_cast<off_t>(start) * static_cast<off_t>(kRecordSize)) !=
            static_cast<ssize_t>(bytes)) {
            break;
        }
        for (std::int64_t at = 0; at < records; ++at) {
            const std::int32_t row = row_of_slot[static_cast<std::size_t>(start + at)];
            if (row < 0) continue;
            text.clear();
            append_folded_row_text(text, block.data() + at * static_cast<std::int64_t>(kRecordSize),
                                   void_mark);
            // The balance cell shows the running balance, which the row's texts leave to the list.
            if (const std::optional<Figure> balance = list.balances().running(row)) {
                std::size_t cell = 0;
                for (int column = 0; column < kBalanceColumn; ++column) cell = text.find('\n', cell) + 1;
                text.insert(
                    cell, balance->out_of_range ? std::string(kOutOfRangeText) : cents_text(balance->cents));
            }
            // The cells are joined by line feeds, which the wanted text never holds: a match never
            // runs from one cell into the next. Both texts folded, the search is a plain one.
            const bool holds = std::search(text.begin(), text.end(), searcher) != text.end();
            marks[static_cast<std::size_t>(row)] = holds != inverse ? 1 : 0;
        }
    }
    ::close(file);
}

}  // namespace

bool contains_ignoring_case(std::string_view text, std::string_view wanted) {
    return case_folded(text).find(case_folded(wanted)) != std::string::npos;
}

std::vector<std::uint8_t> rows_holding(const RegisterList& list, std::string_view wanted_text, bool inverse) {
    const std::string wanted = case_folded(wanted_text);
    const std::int64_t rows = list.row_count();
    std::vector<std::uint8_t> marks(static_cast<std::size_t>(rows), 0);
    std::int64_t slots = 0;
    for (std::int64_t row = 0; row < rows; ++row) slots = std::max(slots, list.slot_of(row) + 1);
    std::vector<std::int32_t> row_of_slot(static_cast<std::size_t>(slots), -1);
    for (std::int64_t row = 0; row < rows; ++row)
        row_of_slot[static_cast<std::size_t>(list.slot_of(row))] = static_cast<std::int32_t>(row);
    // Each piece marks rows of its own slots only: the pieces never write the same mark.
    in_pieces(slots, piece_count(slots, kRecordsPerRead),
              [&](std::int64_t, std::int64_t first, std::int64_t end) {
                  search_piece(list, row_of_slot, first, end, wanted, inverse, marks);
              });
    return marks;
}

}  // namespace quillet
