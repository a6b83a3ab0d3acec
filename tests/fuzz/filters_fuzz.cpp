// A saved filter's line, as another program may have left it in the store: read without harm, and
// what is read is written back to a line that reads the same.
#include <string_view>

#include "core/filter/filter_terms.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FilterTerms terms = terms_of_line(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::require(terms_of_line(terms_line(terms)) == terms);
    (void)period_days(terms, 1765000000, 1760000000);
    return 0;
}
