// The preference engine and the settings file: any file loads without harm, and what was loaded,
// saved and loaded again is what was loaded the first time.
#include <cstdio>

#include "core/runtime/preference_store.h"
#include "core/settings/settings_file.h"
#include "tests/fuzz/fuzz_file.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::write_input("Quillet.ini", data, size);
    {
        PreferenceStore store;
        if (store.open(path, preference_output::kCompactKeys)) {
            store.select_group("Settings");
            (void)store.read_integer("ListFontSize", 9);
            (void)store.read_text("ListFontName");
            if (store.start_key_walk()) {
                while (store.next_key()) (void)store.current_key_value();
            }
            store.select_group("Type List");
            store.write_text("1", "Check");
            store.remove_group("Mask List");
            (void)store.close();
        }
    }
    fuzz::write_input("Quillet.ini", data, size);
    Settings first;
    if (!read_settings(path, first)) return 0;
    const std::string saved = fuzz::folder().file("saved.ini");
    std::remove(saved.c_str());
    if (!write_settings(saved, first)) return 0;
    Settings second;
    fuzz::require(read_settings(saved, second));
    fuzz::require(second.open_path == first.open_path && second.options == first.options &&
                  second.lists == first.lists);
    return 0;
}
