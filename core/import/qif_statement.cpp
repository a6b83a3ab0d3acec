#include "core/import/qif_statement.h"

#include "core/runtime/number_text.h"

namespace quillet {

namespace {

bool is_bank_section(std::string_view header) {
    std::string type;
    for (const char c : header) {
        if (c != ' ' && c != '\t' && c != '\r') type += lower_ascii(c);
    }
    return type == "!type:bank" || type == "!type:cash" || type == "!type:ccard";
}

bool has_content(const RawLine& line) {
    return !line.date.empty() || !line.amount.empty() || !line.payee.empty() || !line.description.empty() ||
           !line.number.empty();
}

}  // namespace

RawStatement read_qif(std::string_view utf8) {
    RawStatement raw;
    bool in_bank = false;
    RawLine current;
    std::int64_t number = 0;
    std::size_t start = 0;
    while (start < utf8.size()) {
        const std::size_t feed = utf8.find('\n', start);
        std::string_view line =
            utf8.substr(start, feed == std::string_view::npos ? std::string_view::npos : feed - start);
        start = feed == std::string_view::npos ? utf8.size() : feed + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.front() == '!') {
            // A new section; an "!Option" line leaves the section as it is.
            if (line.substr(0, 5) == "!Type" || line.substr(0, 5) == "!type" ||
                line.substr(0, 8) == "!Account") {
                in_bank = is_bank_section(line);
                current = {};
            }
            continue;
        }
        if (!in_bank) continue;
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
                if (has_content(current)) raw.lines.push_back(current);
                current = {};
                break;
            default: break;  // cleared marks, addresses, categories, splits
        }
    }
    // A last transaction without its "^" still counts.
    if (in_bank && has_content(current)) raw.lines.push_back(current);
    return raw;
}

}  // namespace quillet
