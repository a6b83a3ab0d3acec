// What a change did to the register list's rows, for a view to show.
#pragma once

#include <cstdint>

namespace quillet {

struct RowChange {
    enum class Kind {
        kNone,
        kInserted,     // a row at row
        kReplaced,     // the row's record was rewritten
        kRemoved,      // the row at row is gone
        kReloaded,     // the rows must be read again: open the register anew
        kRowsChanged,  // many rows came or went: show the list's rows anew (nothing to read)
        kClosed,       // the register file is gone: no register is open
    };
    Kind kind = Kind::kNone;
    std::int64_t row = -1;
};

// Row orders: the file's, or newest first.
inline constexpr int kListFileOrder = 0;
inline constexpr int kListNewestFirst = 1;

}  // namespace quillet
