#include "cli/cli_text.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/exit_codes.h"
#include "core/import/conventions.h"
#include "core/runtime/utf8.h"

namespace quillet::cli {

std::string day_refusal(std::string_view option, std::string_view text) {
    const std::string_view day =
        text.size() > 10 && (text[10] == 'T' || text[10] == ' ') ? text.substr(0, 10) : text;
    const bool shaped = day.size() == 10 && (day[4] == '/' || day[4] == '-') && day[7] == day[4] &&
                        std::all_of(day.begin(), day.end(),
                                    [](char c) { return (c >= '0' && c <= '9') || c == '/' || c == '-'; });
    return std::string(option) + ' ' + std::string(text) +
           (shaped ? ": no such date" : ": a date is written yyyy/mm/dd or yyyy-mm-dd");
}

std::string display_day(DateValue date) {
    return date == kNoDate || date <= 0 ? std::string() : format_date(kDisplayDateMask, date);
}

std::string iso_day(DateValue date) {
    return date == kNoDate || date <= 0 ? std::string() : format_date("%yyyy-%mm-%dd", date);
}

std::optional<std::int64_t> parse_cents(std::string_view text) {
    // The program's own form: a point before at most two decimals, no thousands separators.
    if (text.empty() || text.find(',') != std::string_view::npos) return std::nullopt;
    const AmountReading reading = read_amount(text, DecimalMark::kPoint);
    if (reading.status != AmountReading::Status::kOk) return std::nullopt;
    return reading.cents;
}

void append_json_string(std::string& out, std::string_view utf8) {
    // Most texts need no escape at all: those go as they are; the rest through the JSON library.
    const bool plain = std::all_of(utf8.begin(), utf8.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != '\\' && c != 0x7F;
    });
    if (plain && is_valid_utf8(utf8)) {
        out += '"';
        out += utf8;
        out += '"';
        return;
    }
    out += nlohmann::json(std::string(utf8)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string cause_of(const IoStatus& status) {
    switch (status.error()) {
        case ESTALE: return "another program changed it meanwhile; nothing was written";
        case EWOULDBLOCK: return "another program is writing it; try again in a moment";
        case EBADMSG: return "it is damaged, or not what it should be";
        case EPROTO: return "a newer version of Quillet wrote it";
        case ENOLINK: return "it is a link to a file that is not there now (is the disk it is on mounted?)";
        case ENODATA: return "it holds no transactions";
        case ENOEXEC: return "it is not a statement this import reads";
        case EFBIG: return "it is far larger than a bank statement can be";
        case EILSEQ: return "it is not a text file";
        case ENOTSUP:
            return "it is an investment account's statement; the import reads bank, cash and card accounts";
        case ENOMSG: return "it holds no statement, only the bank's sign-on or nothing at all";
        case EREMOTEIO: return "it holds an error from the bank's server instead of a statement";
        default: break;
    }
    char buffer[256];
    return ::strerror_r(status.error(), buffer, sizeof buffer);
}

int say_failed(const std::string& file, const IoStatus& status) {
    std::cerr << "quillet-cli: " << file << ": " << cause_of(status) << '\n';
    return exit_code_of(status);
}

int say_refused(const std::string& message, int code) {
    std::cerr << "quillet-cli: " << message << '\n';
    return code;
}

}  // namespace quillet::cli
