// The import subcommand: the import's reading, conventions and duplicate stages, as the import
// dialog uses them. A dry run prints what would be added and the duplicates with their reasons.
#pragma once

#include <string>

namespace quillet::cli {

struct ImportOptions {
    std::string path;
    std::string statement;
    bool dry_run = false;
    bool yes = false;     // takes the first reading when the file's dates or amounts fit several
    std::string profile;  // a CSV profile saved by the import dialog, by name
    std::string account;  // of a file with several accounts
};
int run_import(const ImportOptions& options);

}  // namespace quillet::cli
