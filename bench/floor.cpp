// The floor of opening a register, for the whole-process benchmark: read the file's bytes and
// decode every live record's date (its year and month, as the list's figures take them) and amount
// (to the cent) once, and nothing else: the work no list of the register can do without. What the
// program does beyond this, at the same time, is what opening costs beyond the work itself.
#include <cstdio>

#include "core/register/register_file.h"
#include "core/runtime/dates.h"
#include "core/runtime/number_text.h"

int main(int argc, char** argv) {
    using namespace quillet;
    if (argc < 2) {
        std::fprintf(stderr, "usage: floor REGISTER\n");
        return 1;
    }
    std::int64_t rows = 0;
    std::int64_t cents = 0;
    std::int64_t months = 0;
    const IoStatus read = visit_records(argv[1], [&](std::int64_t, const std::uint8_t* record) {
        using namespace record_format;
        if (record[kDeletedOffset] != kLive) return true;
        ++rows;
        const DateValue date = get_i32(record + kDateOffset);
        months += year_of(date) * 12 + month_of(date);
        cents += amount_cents(get_f32(record + kAmountOffset)).value_or(0);
        return true;
    });
    std::printf("%lld rows, %lld cents, %lld months\n", static_cast<long long>(rows),
                static_cast<long long>(cents), static_cast<long long>(months));
    return read ? 0 : 2;
}
