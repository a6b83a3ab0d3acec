// The floor of opening a register, for the whole-process benchmark: read the file and build the
// nine column texts of every live row, the exact running balance among them, into one arena. What
// the program does beyond this, at the same time, is what opening costs beyond the work itself.
#include <cstdio>
#include <string>

#include "core/list/row_text.h"
#include "core/register/register_file.h"
#include "core/runtime/number_text.h"

int main(int argc, char** argv) {
    using namespace quillet;
    if (argc < 2) {
        std::fprintf(stderr, "usage: floor REGISTER\n");
        return 1;
    }
    std::string arena;
    std::int64_t rows = 0;
    std::int64_t balance = 0;
    const IoStatus read = visit_records(argv[1], [&](std::int64_t, const std::uint8_t* record) {
        using namespace record_format;
        if (record[kDeletedOffset] != kLive) return true;
        ++rows;
        const std::size_t start = arena.size();
        append_row_text(arena, record, kVoidMark);
        if (record[kVoidOffset] != kVoid) {
            const std::int64_t cents = amount_cents(get_f32(record + kAmountOffset)).value_or(0);
            balance += record[kKindOffset] == kDeposit ? cents : -cents;
            // The balance in its column, as the list shows it.
            std::size_t cell = start;
            for (int column = 0; column < kBalanceColumn; ++column) cell = arena.find('\n', cell) + 1;
            arena.insert(cell, cents_text(balance));
        }
        return true;
    });
    std::printf("%lld rows, %zu bytes of texts\n", static_cast<long long>(rows), arena.size());
    return read ? 0 : 2;
}
