// The subcommands that change a register, each through the register session's checked writes:
// add, void, delete and compact.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::cli {

struct AddOptions {
    std::string path;
    std::string date, type, number, payee, description, amount;
    bool deposit = false;
    bool withdrawal = false;
    bool is_void = false;
    std::string category;
    std::vector<std::string> splits;  // CATEGORY=AMOUNT
};
int run_add(const AddOptions& options);

// N as `list` numbers the rows (from 1, in file order). A reconciled transaction, and the last row
// (which takes the register file with it), only with yes.
int run_void(const std::string& path, std::int64_t row, bool yes);
int run_delete(const std::string& path, std::int64_t row, bool yes);
int run_compact(const std::string& path);

}  // namespace quillet::cli
