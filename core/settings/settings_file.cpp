#include "core/settings/settings_file.h"

#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/preference_store.h"

namespace quillet {
namespace {

constexpr std::string_view kFiles = "Files";
constexpr std::string_view kOpen = "Open";
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kListSections[kSettingsListCount] = {"Type List", "Payee List", "Description List",
                                                                "Mask List", "Reminder List"};

constexpr std::string_view kDefaultSettings =
    "[Files]\r\nOpen=Example.qlt~\r\n\r\n[Settings]\r\n\r\n"
    "[Type List]\r\n1=Check\r\n2=ATM\r\n3=Deposit\r\n4=Withdrawal\r\n5=Cash\r\n6=Savings\r\n7=Debit Card\r\n"
    "8=Credit Card\r\n9=PayPal\r\n\r\n"
    "[Payee List]\r\n1=Water Bill\r\n2=Electric Bill\r\n3=Groceries\r\n4=Car "
    "Insurance\r\n5=Mortgage\r\n6=Rent\r\n"
    "7=Visa\r\n8=Mastercard\r\n9=Myself\r\n\r\n"
    "[Description List]\r\n1=Income\r\n2=Expense\r\n3=Paycheck\r\n4=Monthly Bill\r\n5=Food\r\n6=Gas\r\n"
    "7=Online Purchase\r\n8=Repairs\r\n9=Non Taxable\r\n\r\n"
    "[Mask "
    "List]\r\n1=Deposit\r\n2=Withdrawal\r\n3=Cash\r\n4=Bill\r\n5=ATM\r\n6=Debit\r\n7=Credit\r\n8=Visa\r\n"
    "9=Mastercard\r\n";

void read_option(const PreferenceStore& store, const OptionField& field, Options& options) {
    switch (field.kind) {
        case OptionField::Kind::kPath: {
            // The tool program stays as it was unless the file names an existing non-empty file.
            const std::string path = store.read_path(field.key);
            if (!path.empty() && file_size(path) > 0) options.*field.text = path;
            break;
        }
        case OptionField::Kind::kText:
            options.*field.text = store.read_text(field.key, options.*field.text);
            break;
        case OptionField::Kind::kByte:
            options.*field.byte =
                static_cast<std::uint8_t>(store.read_integer(field.key, field.default_value));
            break;
        case OptionField::Kind::kInteger:
            options.*field.integer = store.read_integer(field.key, field.default_value);
            break;
    }
}

void write_option(PreferenceStore& store, const OptionField& field, const Options& options) {
    switch (field.kind) {
        case OptionField::Kind::kPath: store.write_path(field.key, options.*field.text); break;
        case OptionField::Kind::kText: store.write_text(field.key, options.*field.text); break;
        case OptionField::Kind::kByte:
            // Byte options are written as their signed 8-bit values.
            store.write_integer(field.key, static_cast<std::int8_t>(options.*field.byte));
            break;
        case OptionField::Kind::kInteger: store.write_integer(field.key, options.*field.integer); break;
    }
}

}  // namespace

IoStatus write_default_settings(const std::string& path) {
    return replace_file_contents(path, kDefaultSettings);
}

bool read_settings(const std::string& path, Settings& settings) {
    PreferenceStore store;
    if (!store.open(path, 0)) return false;
    store.select_group(kFiles);
    settings.open_path = store.read_path(kOpen);
    store.select_group(kSettingsSection);
    for (const OptionField& field : kOptionFields) read_option(store, field, settings.options);

    // Entries in file order, whatever their keys are called.
    for (int list = 0; list < kSettingsListCount; ++list) {
        PickList& entries = settings.lists[static_cast<std::size_t>(list)];
        entries.clear();
        if (!store.select_group(kListSections[list]) || !store.start_key_walk()) continue;
        while (entries.size() < kListEntriesRead && store.next_key())
            entries.push_back(store.current_key_value());
    }
    (void)store.close();  // nothing was changed, so nothing is written
    return true;
}

IoStatus write_settings(const std::string& path, const Settings& settings) {
    PreferenceStore store;
    store.open(path, preference_output::kCompactKeys | preference_output::kBlankLineBeforeGroups);
    store.select_group(kFiles);
    store.write_path(kOpen, settings.open_path);
    store.select_group(kSettingsSection);
    for (const OptionField& field : kOptionFields) write_option(store, field, settings.options);

    for (int list = 0; list < kSettingsListCount; ++list) {
        // Every section of the name goes: a hand-edited file may hold one twice.
        while (store.remove_group(kListSections[list])) {
        }
        store.select_group(kListSections[list]);
        std::int64_t number = 1;
        for (const std::string& entry : settings.lists[static_cast<std::size_t>(list)]) {
            store.write_text(integer_text(number++), entry);
        }
    }
    return store.close();
}

}  // namespace quillet
