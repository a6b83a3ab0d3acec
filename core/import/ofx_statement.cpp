#include "core/import/ofx_statement.h"

#include <libofx/libofx.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <deque>
#include <map>

#include "core/import/statement_text.h"
#include "core/runtime/number_text.h"
#include "core/runtime/utf8.h"

namespace quillet {

namespace {

// Where the ASCII text (in any letter case) stands in the text from at on, or npos.
std::size_t find_folded(std::string_view text, std::string_view wanted, std::size_t at = 0) {
    for (; at + wanted.size() <= text.size(); ++at) {
        if (equals_ignoring_ascii_case(text.substr(at, wanted.size()), wanted)) return at;
    }
    return std::string_view::npos;
}

// A character reference or one of XML's five named ones, as UTF-8; the text as it is otherwise.
void append_reference(std::string& out, std::string_view reference) {
    static const std::map<std::string_view, std::string_view> kNamed = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}};
    if (const auto named = kNamed.find(reference); named != kNamed.end()) {
        out += named->second;
        return;
    }
    char32_t code = 0;
    const bool hex =
        reference.size() > 2 && reference[0] == '#' && (reference[1] == 'x' || reference[1] == 'X');
    bool digits = reference.size() > (hex ? 2u : 1u) && reference[0] == '#';
    // Only a reference that begins with "#" and holds more has digits to read ("&;" has none).
    const std::string_view number = digits ? reference.substr(hex ? 2 : 1) : std::string_view();
    for (const char c : number) {
        const int value = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (value < 0 || code > 0x10FFFF) digits = false;
        if (!digits) break;
        code = code * (hex ? 16 : 10) + static_cast<char32_t>(value);
    }
    if (!digits || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        out += '&';
        out += reference;
        out += ';';
        return;
    }
    append_utf8(out, code);
}

std::string decoded(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::size_t end = text[at] == '&' ? text.find(';', at) : std::string_view::npos;
        if (end == std::string_view::npos || end - at > 10) {
            out += text[at];
            continue;
        }
        append_reference(out, text.substr(at + 1, end - at - 1));
        at = end;
    }
    return out;
}

// The value of the first element of the name in the block: SGML leaves elements open, so a value
// ends at the next tag or line end.
std::string value_of(std::string_view block, std::string_view name) {
    const std::string tag = "<" + std::string(name) + ">";
    const std::size_t at = find_folded(block, tag);
    if (at == std::string_view::npos) return {};
    const std::size_t start = at + tag.size();
    const std::size_t end = block.find_first_of("<\r\n", start);
    std::string_view value =
        block.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    return decoded(value);
}

// The blocks that begin with the element (not one whose name only begins alike), each up to the
// next one or the element's end.
std::vector<std::string_view> blocks_of(std::string_view text, std::string_view name) {
    std::vector<std::string_view> blocks;
    const std::string open = "<" + std::string(name) + ">";
    const std::string close = "</" + std::string(name) + ">";
    for (std::size_t at = find_folded(text, open); at != std::string_view::npos;) {
        const std::size_t next = find_folded(text, open, at + open.size());
        std::size_t end = find_folded(text, close, at + open.size());
        if (end == std::string_view::npos || (next != std::string_view::npos && next < end)) end = next;
        blocks.push_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = next;
    }
    return blocks;
}

// "20241231..." as "2024-12-31"; empty when it does not begin with eight digits.
std::string day_text(std::string_view posted) {
    if (posted.size() < 8 || posted.substr(0, 8).find_first_not_of("0123456789") != std::string_view::npos)
        return {};
    return std::string(posted.substr(0, 4)) + "-" + std::string(posted.substr(4, 2)) + "-" +
           std::string(posted.substr(6, 2));
}

// The day libofx made of a moment, for a posting the file's text did not give.
std::string day_of_moment(std::time_t moment) {
    std::tm parts{};
    if (localtime_r(&moment, &parts) == nullptr) return {};
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
    return text;
}

// An amount libofx read, as decimal text: to the cent when it is a whole number of cents, with
// its further decimals otherwise (its line is then refused), never rounded to a cent it is not.
std::string amount_text_of(double amount) {
    if (!std::isfinite(amount)) return "not a number";
    const double hundredfold = amount * 100.0;
    const double cents = std::nearbyint(hundredfold);
    if (std::fabs(hundredfold - cents) <= 1e-6 * std::max(1.0, std::fabs(hundredfold)) &&
        std::fabs(cents) < 9e17)
        return cents_text(static_cast<std::int64_t>(cents));
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", amount);
    std::string written = text;
    while (written.back() == '0') written.pop_back();
    return written;
}

// What the callbacks gather.
struct Gathered {
    std::vector<RawStatement>* accounts = nullptr;
    std::map<std::string, std::size_t> by_account;  // libofx's account ID -> index in accounts
    std::map<std::string, std::deque<OfxTextFields>> text_by_fitid;
    std::vector<std::string> balance_days;
    std::size_t statements = 0;
    std::int64_t line = 0;

    RawStatement& account(const char* id, const char* shown) {
        const auto [found, added] = by_account.emplace(id, accounts->size());
        if (added) {
            accounts->emplace_back();
            accounts->back().account = statement_text_as_utf8(shown);
        }
        return (*accounts)[found->second];
    }
};

int take_account(const OfxAccountData data, void* gathered) {
    auto& g = *static_cast<Gathered*>(gathered);
    if (data.account_id_valid != 0)
        g.account(data.account_id, data.account_number_valid != 0 ? data.account_number : data.account_id);
    return 0;
}

int take_statement(const OfxStatementData data, void* gathered) {
    auto& g = *static_cast<Gathered*>(gathered);
    if (data.account_id_valid == 0) return 0;
    RawStatement& statement = g.account(data.account_id, data.account_id);
    if (data.currency_valid != 0) statement.currency = data.currency;
    if (data.ledger_balance_valid != 0) {
        statement.closing_amount = amount_text_of(data.ledger_balance);
        // The balance's day as the file writes it; the n-th statement has the n-th balance.
        std::string day = g.statements < g.balance_days.size() ? day_text(g.balance_days[g.statements]) : "";
        if (day.empty() && data.ledger_balance_date_valid != 0) day = day_of_moment(data.ledger_balance_date);
        if (!day.empty()) statement.closing_date = day;
    }
    ++g.statements;
    return 0;
}

int take_transaction(const OfxTransactionData data, void* gathered) {
    auto& g = *static_cast<Gathered*>(gathered);
    RawStatement& statement = g.account(data.account_id_valid != 0 ? data.account_id : "",
                                        data.account_id_valid != 0 ? data.account_id : "");
    RawLine line;
    line.line = ++g.line;  // the transaction's number in the file: OFX has no lines to speak of
    OfxTextFields text;
    if (data.fi_id_valid != 0) line.bank_id = statement_text_as_utf8(data.fi_id);
    // Transactions without a FITID are matched to their text by their order.
    auto& waiting = g.text_by_fitid[data.fi_id_valid != 0 ? data.fi_id : ""];
    if (!waiting.empty()) {
        text = std::move(waiting.front());
        text.found = true;
        waiting.pop_front();
    }
    // The day is the file's own: a transaction whose text gives none has none (libofx would make
    // one of the epoch), and its line is left out.
    line.date = day_text(text.posted);
    if (!text.found && data.date_posted_valid != 0) line.date = day_of_moment(data.date_posted);
    line.amount = data.amount_valid != 0 ? amount_text_of(data.amount) : std::string();
    // A check number of 0 names no check.
    if (data.check_number_valid != 0 &&
        std::string_view(data.check_number).find_first_not_of("0 ") != std::string_view::npos)
        line.number = statement_text_as_utf8(data.check_number);
    line.payee = !text.name.empty()     ? text.name
                 : data.name_valid != 0 ? statement_text_as_utf8(data.name)
                                        : "";
    line.description = !text.memo.empty()     ? text.memo
                       : data.memo_valid != 0 ? statement_text_as_utf8(data.memo)
                                              : "";
    statement.add(line);
    return 0;
}

}  // namespace

bool looks_like_ofx(std::string_view text) {
    const std::size_t element = find_folded(text.substr(0, 8192), "<OFX>");
    if (element == std::string_view::npos) return false;
    // Only header lines, XML declarations and comments stand before it.
    std::string_view before = text.substr(0, element);
    while (!before.empty()) {
        const std::size_t end = before.find('\n');
        std::string_view line = before.substr(0, end);
        before = end == std::string_view::npos ? std::string_view() : before.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t' || line.front() == '\xEF' ||
                                 line.front() == '\xBB' || line.front() == '\xBF'))
            line.remove_prefix(1);
        if (line.empty() || line.starts_with("<?") || line.starts_with("<!--")) continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0 ||
            line.substr(0, colon).find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string_view::npos)
            return false;
    }
    return true;
}

OfxText scan_ofx_text(std::string_view utf8) {
    OfxText text;
    for (const std::string_view block : blocks_of(utf8, "STMTTRN")) {
        text.transactions.push_back({value_of(block, "FITID"), value_of(block, "DTPOSTED"),
                                     value_of(block, "NAME"), value_of(block, "MEMO")});
    }
    for (const std::string_view block : blocks_of(utf8, "LEDGERBAL"))
        text.balance_days.push_back(value_of(block, "DTASOF"));
    return text;
}

IoStatus read_ofx(const std::string& path, std::string_view utf8, std::vector<RawStatement>& accounts) {
    accounts.clear();
    // Trades, holdings and prices are no register's transactions: refused whole, never in part.
    for (const std::string_view investment : {"<INVSTMTRS>", "<INVSTMTMSGSRSV1>", "<INVTRANLIST>"}) {
        if (find_folded(utf8, investment) != std::string_view::npos) return IoStatus::failure(ENOTSUP);
    }
    // libofx's messages go to the console: nothing of them belongs to the user's.
    ofx_PARSER_msg = ofx_DEBUG_msg = ofx_DEBUG1_msg = ofx_DEBUG2_msg = ofx_DEBUG3_msg = ofx_DEBUG4_msg =
        ofx_DEBUG5_msg = ofx_STATUS_msg = ofx_INFO_msg = ofx_WARNING_msg = ofx_ERROR_msg = 0;
    Gathered gathered;
    gathered.accounts = &accounts;
    OfxText text = scan_ofx_text(utf8);
    for (OfxTextFields& fields : text.transactions)
        gathered.text_by_fitid[fields.fitid].push_back(std::move(fields));
    gathered.balance_days = std::move(text.balance_days);
    LibofxContextPtr context = libofx_get_new_context();
    ofx_set_account_cb(context, take_account, &gathered);
    ofx_set_statement_cb(context, take_statement, &gathered);
    ofx_set_transaction_cb(context, take_transaction, &gathered);
    // libofx says little of what it could not read; what it could is what counts.
    (void)libofx_proc_file(context, path.c_str(), AUTODETECT);
    libofx_free_context(context);
    if (!accounts.empty()) return {};
    // Nothing read: a file cut short, or one that holds no statement at all.
    if (find_folded(utf8, "</OFX>") == std::string_view::npos) return IoStatus::failure(EBADMSG);
    if (find_folded(utf8, "<STMTRS>") != std::string_view::npos ||
        find_folded(utf8, "<CCSTMTRS>") != std::string_view::npos)
        return IoStatus::failure(EBADMSG);
    if (find_folded(utf8, "<SEVERITY>ERROR") != std::string_view::npos) return IoStatus::failure(EREMOTEIO);
    return IoStatus::failure(ENOMSG);
}

}  // namespace quillet
