// make_register PATH COUNT [SEED] [--linked]: writes a realistic register of COUNT records to PATH;
// with --linked, also a companion store that links every record to an import.
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
    const bool linked = argc >= 4 && std::string_view(argv[argc - 1]) == "--linked";
    const int given = linked ? argc - 1 : argc;
    if (given < 3 || given > 4 || !parse(argv[2], count) || count < 0 ||
        (given == 4 && !parse(argv[3], seed))) {
        std::fprintf(stderr, "usage: make_register PATH COUNT [SEED] [--linked]\n");
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
    return 0;
}
