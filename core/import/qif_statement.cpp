#include "core/import/qif_statement.h"

#include <algorithm>

#include "core/runtime/number_text.h"

namespace quillet {

namespace {

// The section's type in lower case without blanks: "type:bank", "account", "option:autoswitch".
std::string section_of(std::string_view header) {
    std::string type;
    for (const char c : header.substr(1)) {
        if (c != ' ' && c != '\t' && c != '\r') type += lower_ascii(c);
    }
    return type;
}

bool has_content(const RawLine& line) {
    return !line.date.empty() || !line.amount.empty() || !line.payee.empty() || !line.description.empty() ||
           !line.number.empty();
}

}  // namespace

IoStatus read_qif(std::string_view utf8, std::vector<RawStatement>& accounts) {
    accounts.clear();
    enum class Section { kOther, kBank, kInvestment, kAccount };
    Section section = Section::kOther;
    bool investments = false;
    std::string account;          // the account the sections below belong to
    std::string defined_account;  // the name an "!Account" block is defining
    std::size_t current_account = SIZE_MAX;
    RawLine current;
    std::int64_t number = 0;
    std::size_t start = 0;
    const auto take = [&] {
        if (!has_content(current)) return;
        if (current_account == SIZE_MAX) {
            const auto found = std::find_if(accounts.begin(), accounts.end(), [&](const RawStatement& each) {
                return each.account == account;
            });
            current_account = static_cast<std::size_t>(found - accounts.begin());
            if (found == accounts.end()) accounts.emplace_back().account = account;
        }
        accounts[current_account].add(current);
    };
    while (start < utf8.size()) {
        const std::size_t feed = utf8.find('\n', start);
        std::string_view line =
            utf8.substr(start, feed == std::string_view::npos ? std::string_view::npos : feed - start);
        start = feed == std::string_view::npos ? utf8.size() : feed + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.front() == '!') {
            // A new section; an "!Option" or "!Clear" line leaves the section as it is.
            const std::string type = section_of(line);
            if (type.starts_with("type:") || type == "account") {
                take();
                current = {};
                if (type == "account") {
                    section = Section::kAccount;
                } else {
                    const bool bank = type == "type:bank" || type == "type:cash" || type == "type:ccard";
                    const bool investment = type == "type:invst" || type == "type:port";
                    investments = investments || investment;
                    section = bank ? Section::kBank : investment ? Section::kInvestment : Section::kOther;
                    if (bank && account != defined_account) {
                        account = defined_account;
                        current_account = SIZE_MAX;
                    }
                }
            }
            continue;
        }
        if (section == Section::kAccount) {
            if (line.front() == 'N') defined_account = std::string(line.substr(1));
            continue;
        }
        if (section != Section::kBank) continue;
        if (current.line == 0) current.line = number;
        const std::string value(line.substr(1));
        switch (line.front()) {
            case 'D': current.date = value; break;
            case 'T':
            case 'U':
                if (current.amount.empty()) current.amount = value;
                break;
            case 'N': current.number = value; break;
            case 'P': current.payee = value; break;
            case 'M': current.description = value; break;
            case '^':
                take();
                current = {};
                break;
            default: break;  // cleared marks, addresses, categories, splits
        }
    }
    // A last transaction without its "^" still counts.
    if (section == Section::kBank) take();
    if (accounts.empty()) return IoStatus::failure(investments ? ENOTSUP : ENODATA);
    return {};
}

}  // namespace quillet
