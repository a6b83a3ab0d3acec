#include "files/settings_file.h"

#include "runtime/atomic_replace.h"
#include "runtime/file_access.h"
#include "runtime/number_text.h"
#include "runtime/preference_store.h"

namespace quillet {
namespace {

constexpr std::string_view kFiles = "Files";
constexpr std::string_view kOpen = "Open";
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kListSections[kSettingsListCount] = {"Type List", "Payee List", "Description List",
                                                                "Mask List", "Reminder List"};

// The keys of the Settings section, in the order they are written.
namespace key {
constexpr std::string_view kToolProgram = "ToolProgram";
constexpr std::string_view kRightAlignAmounts = "RightAlignAmounts";
constexpr std::string_view kTooltipsOff = "TooltipsOff";
constexpr std::string_view kHideToolBar = "HideToolBar";
constexpr std::string_view kHideStatusBar = "HideStatusBar";
constexpr std::string_view kCompactAtExit = "CompactAtExit";
constexpr std::string_view kBackupAtExit = "BackupAtExit";
constexpr std::string_view kProfileShortcut = "ProfileShortcut";
constexpr std::string_view kListFontName = "ListFontName";
constexpr std::string_view kListFontSize = "ListFontSize";
constexpr std::string_view kListFontStyle = "ListFontStyle";
constexpr std::string_view kListTextColour = "ListTextColour";
constexpr std::string_view kListBackground = "ListBackgroundColour";
constexpr std::string_view kFindHighlight = "FindHighlightColour";
constexpr std::string_view kListOrder = "ListOrder";
}  // namespace key

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

std::uint8_t read_byte(const PreferenceStore& store, std::string_view name) {
    return static_cast<std::uint8_t>(store.read_integer(name, 0));
}

}  // namespace

std::string_view default_settings_text() { return kDefaultSettings; }

bool write_default_settings(const std::string& path) { return replace_file_contents(path, kDefaultSettings); }

bool read_settings(const std::string& path, Settings& settings) {
    PreferenceStore store;
    if (!store.open(path, 0)) return false;
    store.select_group(kFiles);
    settings.open_path = store.read_text(kOpen);

    Options& options = settings.options;
    store.select_group(kSettingsSection);
    const std::string tool = store.read_text(key::kToolProgram);
    if (!tool.empty() && file_size(tool) > 0) options.tool_program = tool;
    options.right_align_amounts = read_byte(store, key::kRightAlignAmounts);
    options.tooltips_off = read_byte(store, key::kTooltipsOff);
    options.hide_tool_bar = read_byte(store, key::kHideToolBar);
    options.hide_status_bar = read_byte(store, key::kHideStatusBar);
    options.compact_at_exit = read_byte(store, key::kCompactAtExit);
    options.backup_at_exit = read_byte(store, key::kBackupAtExit);
    options.profile_shortcut = read_byte(store, key::kProfileShortcut);
    options.list_font_name = store.read_text(key::kListFontName, options.list_font_name);
    options.list_font_size = store.read_integer(key::kListFontSize, 9);
    options.list_font_style = store.read_integer(key::kListFontStyle, 0);
    options.list_text_colour = store.read_integer(key::kListTextColour, 0);
    options.list_background = store.read_integer(key::kListBackground, 0xFFFFFF);
    options.find_highlight = store.read_integer(key::kFindHighlight, 0xFAFAFA);
    options.list_order = read_byte(store, key::kListOrder);

    // Entries in file order, whatever their keys are called.
    for (int list = 0; list < kSettingsListCount; ++list) {
        PickList& entries = settings.lists[static_cast<std::size_t>(list)];
        entries.clear();
        if (!store.select_group(kListSections[list]) || !store.start_key_walk()) continue;
        while (entries.size() < kListEntriesRead && store.next_key())
            entries.push_back(store.current_key_value());
    }
    store.close();
    return true;
}

bool write_settings(const std::string& path, const Settings& settings) {
    PreferenceStore store;
    store.open(path, preference_output::kCompactKeys | preference_output::kBlankLineBeforeGroups);
    store.select_group(kFiles);
    store.write_text(kOpen, settings.open_path);

    const Options& options = settings.options;
    store.select_group(kSettingsSection);
    store.write_text(key::kToolProgram, options.tool_program);
    // Byte options are written as their signed 8-bit values.
    const auto byte = [](std::uint8_t value) {
        return static_cast<std::int32_t>(static_cast<std::int8_t>(value));
    };
    store.write_integer(key::kRightAlignAmounts, byte(options.right_align_amounts));
    store.write_integer(key::kTooltipsOff, byte(options.tooltips_off));
    store.write_integer(key::kHideToolBar, byte(options.hide_tool_bar));
    store.write_integer(key::kHideStatusBar, byte(options.hide_status_bar));
    store.write_integer(key::kCompactAtExit, byte(options.compact_at_exit));
    store.write_integer(key::kBackupAtExit, byte(options.backup_at_exit));
    store.write_integer(key::kProfileShortcut, byte(options.profile_shortcut));
    store.write_text(key::kListFontName, options.list_font_name);
    store.write_integer(key::kListFontSize, options.list_font_size);
    store.write_integer(key::kListFontStyle, options.list_font_style);
    store.write_integer(key::kListTextColour, options.list_text_colour);
    store.write_integer(key::kListBackground, options.list_background);
    store.write_integer(key::kFindHighlight, options.find_highlight);
    store.write_integer(key::kListOrder, byte(options.list_order));

    for (int list = 0; list < kSettingsListCount; ++list) {
        store.remove_group(kListSections[list]);
        store.select_group(kListSections[list]);
        std::int64_t number = 1;
        for (const std::string& entry : settings.lists[static_cast<std::size_t>(list)]) {
            store.write_text(integer_text(number++), entry);
        }
    }
    return store.close();
}

}  // namespace quillet
