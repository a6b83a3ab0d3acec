// The encoding borders: every conversion from UTF-8 takes any bytes without harm, and every
// Windows-1252 or Latin-1 text comes back whole from UTF-8.
#include <string_view>

#include "core/runtime/preference_store.h"
#include "core/runtime/windows1252.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)utf8_to_windows1252(bytes);
    (void)utf8_to_latin1(bytes);
    fuzz::require(utf8_to_windows1252(windows1252_to_utf8(bytes)) == bytes);
    fuzz::require(utf8_to_latin1(latin1_to_utf8(bytes)) == bytes);
    return 0;
}
