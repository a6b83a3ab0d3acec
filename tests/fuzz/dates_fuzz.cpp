// Date masks and date texts: any mask and text parse without harm, and every date value's display
// text reads back as its day.
#include <cstring>
#include <string_view>

#include "core/runtime/dates.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\n');
    const std::string_view mask = input.substr(0, split);
    const std::string_view text =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    const DateValue parsed = parse_date(mask, text);
    fuzz::require(parsed >= kNoDate);
    (void)format_date(mask, parsed);
    if (size >= 4) {
        DateValue value = 0;
        std::memcpy(&value, data, sizeof value);
        std::string fast;
        append_display_date(fast, value);
        fuzz::require(fast == format_date(kDisplayDateMask, value));
        if (value >= 0) fuzz::require(parse_date(kDisplayDateMask, fast) == value - value % 86400);
    }
    return 0;
}
