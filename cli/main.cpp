// quillet-cli: the register from scripts, on the core library and the register session alone.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "cli/category_commands.h"
#include "cli/exit_codes.h"
#include "cli/import_command.h"
#include "cli/read_commands.h"
#include "cli/schedule_commands.h"
#include "cli/write_commands.h"

using namespace quillet::cli;

namespace {

constexpr const char* kExitCodes =
    "Exit codes: 0 done; 1 refused input (bad arguments, a value out of range, an answer wanted); 2 file "
    "trouble (missing, unreadable, damaged, read-only, locked too long); 3 changed by another program while "
    "working (nothing written). Errors go to standard error, naming the file and the cause.";

}  // namespace

int main(int argc, char** argv) {
    // A write past the file-size limit fails with EFBIG instead of killing the tool.
    std::signal(SIGXFSZ, SIG_IGN);
    CLI::App app{"Reads and changes Quillet registers from scripts.", "quillet-cli"};
    app.footer(kExitCodes);
    app.set_version_flag("--version", std::string("quillet-cli ") + QUILLET_VERSION);
    app.require_subcommand(1);
    int result = kDone;

    std::string path;
    auto* check = app.add_subcommand("check", "Checks that a file is a register Quillet can open.");
    check->add_option("REGISTER", path, "The register file")->required();
    check->callback([&] { result = run_check(path); });

    ListOptions list_options;
    auto* list = app.add_subcommand("list", "Lists the transactions in file order with the running balance.");
    list->add_option("REGISTER", list_options.path, "The register file")->required();
    list->add_option("--from", list_options.from, "The first day (yyyy/mm/dd or yyyy-mm-dd)");
    list->add_option("--to", list_options.to, "The last day");
    list->add_option("--payee", list_options.payee,
                     "Only payees holding this text (letter case aside, accented letters too)");
    list->add_option("--category", list_options.category,
                     "Only this category's transactions (a parent's include its children's)");
    list->add_option(
        "--text", list_options.text,
        "Only transactions whose payee, memo, number or type holds this text (letter case aside)");
    list->add_option("--min", list_options.least,
                     "Only amounts of at least this much (deposits and payments alike)");
    list->add_option("--max", list_options.most, "Only amounts of at most this much");
    list->add_option("--state", list_options.state, "Only transactions in this state against the bank")
        ->check(CLI::IsMember({"not-cleared", "cleared", "reconciled"}));
    list->add_option("--format", list_options.format, "table, csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}));
    list->callback([&] { result = run_list(list_options); });

    bool cleared = false;
    bool json = false;
    auto* balance = app.add_subcommand("balance", "Prints the balance and this month's figures.");
    balance->add_option("REGISTER", path, "The register file")->required();
    balance->add_flag("--cleared", cleared, "Only the cleared balance (cleared and reconciled transactions)");
    balance->add_flag("--json", json, "As JSON, amounts as strings of exact cents");
    balance->callback([&] { result = run_balance(path, cleared, json); });

    ReportOptions report_options;
    auto* report = app.add_subcommand("report", "Makes a report as the report dialog does.");
    report->add_option("REGISTER", report_options.path, "The register file")->required();
    report->add_option("--format", report_options.format, "html, txt or csv")
        ->required()
        ->check(CLI::IsMember({"html", "txt", "csv"}));
    report->add_option("--range", report_options.range, "all, month, or FROM..TO");
    report->add_option("-o,--output", report_options.output, "The file to write (else standard output)");
    report->add_flag("--state", report_options.state,
                     "CSV: a State column (cleared, reconciled), as the report dialog's box gives");
    report
        ->add_option("--by", report_options.by,
                     "category: spending by category and month instead of the transactions")
        ->check(CLI::IsMember({"category"}));
    report->callback([&] { result = run_report(report_options); });

    AddOptions add_options;
    auto* add = app.add_subcommand("add", "Adds a transaction, checked as the transaction dialog adds one.");
    add->add_option("REGISTER", add_options.path, "The register file")->required();
    add->add_option("--date", add_options.date, "The day (yyyy/mm/dd or yyyy-mm-dd)")->required();
    add->add_option("--type", add_options.type, "The type (Check, Deposit...)")->required();
    add->add_option("--number", add_options.number, "The number")->required();
    add->add_option("--payee", add_options.payee, "The payee")->required();
    add->add_option("--memo,--description", add_options.description, "The memo (--description is the same)")
        ->required();
    add->add_option("--amount", add_options.amount, "The amount, with a point before the cents")->required();
    auto* deposit = add->add_flag("--deposit", add_options.deposit, "Money in");
    auto* withdrawal = add->add_flag("--withdrawal", add_options.withdrawal, "Money out");
    deposit->excludes(withdrawal);
    add->add_flag("--void", add_options.is_void, "Added void");
    add->add_option("--category", add_options.category, "Its category (\"Car:Fuel\"), made when new");
    add->add_option(
        "--split", add_options.splits,
        "A part of a split, CATEGORY=AMOUNT (again for each part; the parts add up to the amount)");
    add->callback([&] { result = run_add(add_options); });

    std::int64_t row = 0;
    bool yes = false;
    auto* void_command = app.add_subcommand("void", "Voids a transaction.");
    void_command->add_option("REGISTER", path, "The register file")->required();
    void_command->add_option("--row", row, "The row as list numbers it")->required();
    void_command->add_flag("--yes", yes, "Also a transaction reconciled with a statement");
    void_command->callback([&] { result = run_void(path, row, yes); });

    auto* delete_command =
        app.add_subcommand("delete", "Deletes a transaction (the last one deletes the file).");
    delete_command->add_option("REGISTER", path, "The register file")->required();
    delete_command->add_option("--row", row, "The row as list numbers it")->required();
    delete_command->add_flag("--yes", yes, "Also the last transaction, or a reconciled one");
    delete_command->callback([&] { result = run_delete(path, row, yes); });

    auto* compact = app.add_subcommand("compact", "Removes the deleted transactions from the file for good.");
    compact->add_option("REGISTER", path, "The register file")->required();
    compact->callback([&] { result = run_compact(path); });

    ImportOptions import_options;
    auto* import = app.add_subcommand(
        "import",
        "Imports a bank statement (CSV, QIF, OFX, QFX, CAMT.053). A transaction imported before is known "
        "again, whichever file it comes in; a file whose dates, amounts or separator could be read more "
        "than one way is refused until --dates, --decimal, --separator or --sign (or a --profile) says how.");
    import->add_option("REGISTER", import_options.path, "The register file")->required();
    import->add_option("FILE", import_options.statement, "The statement")->required();
    import->add_flag("--dry-run", import_options.dry_run,
                     "Prints what would be added and the duplicates; writes nothing");
    import->add_flag(
        "--uncleared", import_options.uncleared,
        "Adds the transactions uncleared (else they are marked cleared: they are the bank's own)");
    import->add_flag("--yes", import_options.yes,
                     "Accepted for older scripts; it chooses no reading of the file's values");
    import->add_option("--profile", import_options.profile,
                       "A CSV profile the import dialog saved, by its name: its columns, separator and "
                       "readings");
    import->add_option("--account", import_options.account,
                       "The account, in a file that holds several (OFX, CAMT.053, QIF)");
    import->add_option("--dates", import_options.dates, "How the file writes its dates")
        ->check(CLI::IsMember({"dmy", "mdy", "ymd"}));
    import->add_option("--decimal", import_options.decimal, "The file's decimal mark (CSV, QIF)")
        ->check(CLI::IsMember({"point", "comma"}));
    import->add_option("--separator", import_options.separator, "The separator of a CSV file's fields")
        ->check(CLI::IsMember({"comma", "semicolon", "tab", "pipe"}));
    import
        ->add_option("--sign", import_options.sign,
                     "What a CSV amount without a sign is, where no column says: money in or out")
        ->check(CLI::IsMember({"in", "out"}));
    import->callback([&] { result = run_import(import_options);
});

ScheduleOptions schedule_options;
auto* schedule = app.add_subcommand("schedule", "Scheduled transactions: add, list and delete them.");
schedule->require_subcommand(1);
auto* schedule_add = schedule->add_subcommand("add", "Adds a scheduled transaction.");
schedule_add->add_option("REGISTER", schedule_options.path, "The register file")->required();
schedule_add->add_option("--payee", schedule_options.payee, "The payee")->required();
schedule_add->add_option("--amount", schedule_options.amount, "The amount, with a point before the cents")
    ->required();
auto* schedule_deposit = schedule_add->add_flag("--deposit", schedule_options.deposit, "Money in");
auto* schedule_withdrawal = schedule_add->add_flag("--withdrawal", schedule_options.withdrawal, "Money out");
schedule_deposit->excludes(schedule_withdrawal);
schedule_add->add_option("--type", schedule_options.type, "The type (Check, Deposit...)");
schedule_add->add_option("--number", schedule_options.number, "The number");
schedule_add->add_option("--memo", schedule_options.memo, "The memo");
schedule_add->add_option("--first", schedule_options.first, "The first due day (yyyy-mm-dd)")->required();
schedule_add->add_option("--every", schedule_options.every, "once, day, week, month or year (month)")
    ->check(CLI::IsMember({"once", "day", "week", "month", "year"}));
schedule_add->add_option("--interval", schedule_options.interval, "Every N days, weeks, months or years (1)");
schedule_add->add_option("--day", schedule_options.day,
                         "The month's day (1 to 31; a shorter month's last day); the first day's without it");
schedule_add->add_flag("--last-day", schedule_options.last_day, "The month's last day");
schedule_add->add_option("--before-end", schedule_options.before_end,
                         "Days before the month's last day (0 to 27)");
schedule_add->add_option("--until", schedule_options.until, "The last day it may fall due");
schedule_add->add_option("--count", schedule_options.count, "How many times it falls due");
schedule_add
    ->add_option("--weekend", schedule_options.weekend,
                 "A Saturday or Sunday falls on the Friday before or the Monday after")
    ->check(CLI::IsMember({"before", "after"}));
schedule_add->add_flag("--enter-itself", schedule_options.enters_itself,
                       "Quillet enters it without asking when it falls due");
schedule_add->add_flag("--varies", schedule_options.amount_varies, "Its amount varies: always asked");
schedule_add->callback([&] { result = run_schedule_add(schedule_options); });
auto* schedule_list = schedule->add_subcommand("list", "Lists the schedules, each with its next due day.");
schedule_list->add_option("REGISTER", path, "The register file")->required();
schedule_list->add_flag("--json", json, "As JSON");
schedule_list->callback([&] { result = run_schedule_list(path, json); });
std::int64_t schedule_id = 0;
auto* schedule_delete =
    schedule->add_subcommand("delete", "Deletes a schedule and what became of its occurrences.");
schedule_delete->add_option("REGISTER", path, "The register file")->required();
schedule_delete->add_option("--id", schedule_id, "The schedule, as list numbers it")->required();
schedule_delete->callback([&] { result = run_schedule_delete(path, schedule_id); });

std::string through;
bool enter = false;
auto* due =
    app.add_subcommand("due", "Lists what fell due and was neither entered nor skipped, oldest first.");
due->add_option("REGISTER", path, "The register file")->required();
due->add_option("--through", through, "The last day (today without it)");
due->add_flag("--enter", enter,
              "Enters all of it in one step; none twice, even with Quillet or another quillet-cli at work");
due->add_flag("--json", json, "As JSON");
due->callback([&] { result = run_due(path, through, enter, json); });

std::int32_t days = 30;
auto* forecast = app.add_subcommand("forecast", "The balance ahead: each day's, as the schedules make it.");
forecast->add_option("REGISTER", path, "The register file")->required();
forecast->add_option("--days", days, "How many days ahead (30)");
forecast->add_flag("--json", json, "As JSON, amounts as strings of exact cents");
forecast->callback([&] { result = run_forecast(path, days, json); });

std::string category_name;
std::string new_name;
std::string into;
bool uncategorise = false;
auto* category = app.add_subcommand("category", "Categories: list, add, rename, merge and delete them.");
category->require_subcommand(1);
auto* category_list =
    category->add_subcommand("list", "Lists the categories, each with how many transactions use it.");
category_list->add_option("REGISTER", path, "The register file")->required();
category_list->add_flag("--json", json, "As JSON");
category_list->callback([&] { result = run_category_list(path, json); });
auto* category_add = category->add_subcommand("add", "Adds a category (\"Car:Fuel\" adds Car too when new).");
category_add->add_option("REGISTER", path, "The register file")->required();
category_add->add_option("NAME", category_name, "The category")->required();
category_add->callback([&] { result = run_category_add(path, category_name); });
auto* category_rename =
    category->add_subcommand("rename", "Renames a category: every transaction that uses it goes with it.");
category_rename->add_option("REGISTER", path, "The register file")->required();
category_rename->add_option("NAME", category_name, "The category")->required();
category_rename->add_option("NEW", new_name, "Its new name")->required();
category_rename->callback([&] { result = run_category_rename(path, category_name, new_name); });
auto* category_merge = category->add_subcommand(
    "merge", "Merges a category into another: its transactions and rules go there, and it goes.");
category_merge->add_option("REGISTER", path, "The register file")->required();
category_merge->add_option("NAME", category_name, "The category that goes")->required();
category_merge->add_option("INTO", into, "The category that takes its transactions")->required();
category_merge->callback([&] { result = run_category_merge(path, category_name, into); });
auto* category_delete =
    category->add_subcommand("delete", "Deletes a category; one in use only with --into or --uncategorise.");
category_delete->add_option("REGISTER", path, "The register file")->required();
category_delete->add_option("NAME", category_name, "The category")->required();
auto* delete_into = category_delete->add_option("--into", into, "Where its transactions go");
category_delete->add_flag("--uncategorise", uncategorise, "Its transactions are left without a category")
    ->excludes(delete_into);
category_delete->callback([&] { result = run_category_delete(path, category_name, into, uncategorise); });

RuleOptions rule_options;
std::int64_t rule_id = 0;
auto* rule =
    app.add_subcommand("rule", "Payee rules: list, add and delete them. The first that matches decides.");
rule->require_subcommand(1);
auto* rule_list = rule->add_subcommand("list", "Lists the rules in the order they are tried.");
rule_list->add_option("REGISTER", path, "The register file")->required();
rule_list->callback([&] { result = run_rule_list(path); });
auto* rule_add = rule->add_subcommand("add", "Adds a rule after the others.");
rule_add->add_option("REGISTER", rule_options.path, "The register file")->required();
rule_add->add_option("--equals", rule_options.equals,
                     "The payee is this text (letter case, spaces and a trailing number aside)");
rule_add->add_option("--contains", rule_options.contains, "The payee holds this text");
rule_add->add_option("--starts-with", rule_options.starts_with, "The payee begins with this text");
rule_add->add_option("--category", rule_options.category, "The category it gives")->required();
rule_add->callback([&] { result = run_rule_add(rule_options); });
auto* rule_delete = rule->add_subcommand("delete", "Deletes a rule (a learned one is never learned again).");
rule_delete->add_option("REGISTER", path, "The register file")->required();
rule_delete->add_option("ID", rule_id, "The rule, as rule list numbers it")->required();
rule_delete->callback([&] { result = run_rule_delete(path, rule_id); });

bool dry_run = false;
auto* categorize = app.add_subcommand(
    "categorize",
    "Applies the rules to the transactions without a category; never changes one that has one.");
categorize->add_option("REGISTER", path, "The register file")->required();
categorize->add_flag("--dry-run", dry_run, "Prints what would be categorised; writes nothing");
categorize->callback([&] { result = run_categorize(path, dry_run); });

// The exit codes are told once, below the overview, not under every subcommand.
for (CLI::App* subcommand : app.get_subcommands({})) subcommand->footer("");
try {
    app.parse(argc, argv);
} catch (const CLI::ParseError& error) {
    // --help and --version are "errors" that exit 0; a bad argument is refused input.
    const int code = app.exit(error);
    return code == 0 ? kDone : kRefused;
}
return result;
}
