// The import subcommand: the import's reading, conventions and duplicate stages, as the import
// dialog uses them. A dry run prints what would be added and the duplicates with their reasons.
#pragma once

#include <string>

namespace quillet::cli {

struct ImportOptions {
    std::string path;
    std::string statement;
    bool dry_run = false;
    bool uncleared = false;  // the transactions arrive uncleared, not as the bank's own
    bool yes = false;        // kept for older scripts: it chooses no reading of a file's values
    std::string profile;     // a CSV profile saved by the import dialog, by name
    std::string account;     // of a file with several accounts
    // The readings a file's values may leave open, as the options give them ("" when not given).
    std::string dates;      // dmy, mdy, ymd
    std::string decimal;    // point, comma
    std::string separator;  // comma, semicolon, tab, pipe
    std::string sign;       // in, out: what an amount without a sign is
};
int run_import(const ImportOptions& options);

}  // namespace quillet::cli
