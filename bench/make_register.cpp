// make_register PATH COUNT [SEED] [--linked] [--scheduled] [--categorised]: writes a realistic
// register of COUNT records to PATH; with --linked, also a companion store that links every record to
// an import; with --scheduled, 1,000 schedules in the store that begin in 2037 (none due yet); with
// --categorised, ten categories and every record given one.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "bench/register_generator.h"

namespace {

template <typename Number>
bool parse(std::string_view text, Number& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    std::int64_t count = 0;
    std::uint64_t seed = 1;
    int given = argc;
    bool linked = false;
    bool scheduled = false;
    bool categorised = false;
    while (given >= 4) {
        const std::string_view last = argv[given - 1];
        if (last != "--linked" && last != "--scheduled" && last != "--categorised") break;
        (last == "--linked" ? linked : last == "--scheduled" ? scheduled : categorised) = true;
        --given;
    }
    if (given < 3 || given > 4 || !parse(argv[2], count) || count < 0 ||
        (given == 4 && !parse(argv[3], seed))) {
        std::fprintf(stderr,
                     "usage: make_register PATH COUNT [SEED] [--linked] [--scheduled] [--categorised]\n");
        return 2;
    }
    if (!quillet::bench::write_generated_register(argv[1], count, seed)) {
        std::fprintf(stderr, "make_register: cannot write %s\n", argv[1]);
        return 1;
    }
    if (linked && !quillet::bench::link_every_record(argv[1])) {
        std::fprintf(stderr, "make_register: cannot write the store beside %s\n", argv[1]);
        return 1;
    }
    if (scheduled &&
        !quillet::bench::add_generated_schedules(argv[1], 1000, quillet::make_date(2037, 1, 1))) {
        std::fprintf(stderr, "make_register: cannot write the schedules beside %s\n", argv[1]);
        return 1;
    }
    if (categorised && !quillet::bench::add_generated_categories(argv[1])) {
        std::fprintf(stderr, "make_register: cannot write the categories beside %s\n", argv[1]);
        return 1;
    }
    return 0;
}
