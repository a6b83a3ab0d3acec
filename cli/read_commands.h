// The subcommands that only read: check, list, balance and report. None of them writes anything.
#pragma once

#include <string>

namespace quillet::cli {

int run_check(const std::string& path);

struct ListOptions {
    std::string path;
    std::string from, to;          // days, as parse_day reads them; empty for no bound
    std::string payee;             // a part of the payee, letter case aside; empty for every payee
    std::string format = "table";  // table, csv or json
    std::string category;          // a category's full name (its children too); empty for all
    std::string text;              // in the payee, memo, number or type, letter case aside
    std::string least, most;       // amounts, deposits and payments alike; empty for no bound
    std::string state;             // not-cleared, cleared or reconciled; empty for every state
};
int run_list(const ListOptions& options);

int run_balance(const std::string& path, bool cleared_only, bool json);

struct ReportOptions {
    std::string path;
    std::string format;         // html, txt or csv
    std::string range = "all";  // all, month or FROM..TO
    std::string output;         // a file, replaced in one step; empty: standard output
    bool state = false;         // CSV: a State column, as the report dialog's box gives it
    std::string by;             // "category": the spending report
};
int run_report(const ReportOptions& options);

}  // namespace quillet::cli
