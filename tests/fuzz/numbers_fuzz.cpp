// Number texts: any text reads without harm, and every amount's text reads back as its cents.
#include <cstring>
#include <string_view>

#include "core/runtime/number_text.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)text_to_number(text);
    (void)text_to_integer(text);
    (void)amount_text_to_cents(text);
    (void)string_field(text, 2, "/");
    (void)trim(text);
    if (size >= 4) {
        float amount = 0.0f;
        std::memcpy(&amount, data, sizeof amount);
        fuzz::require(amount_text_to_cents(amount_text(amount)) == amount_cents(amount));
    }
    if (size >= 8) {
        std::int64_t cents = 0;
        std::memcpy(&cents, data, sizeof cents);
        if (cents > -9'000'000'000'000'000'000 && cents < 9'000'000'000'000'000'000) {
            fuzz::require(amount_text_to_cents(cents_text(cents)) == cents);
        }
    }
    return 0;
}
