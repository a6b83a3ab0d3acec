#include "core/import/camt_statement.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <memory>
#include <string>

namespace quillet {

namespace {

using Document = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

// Elements are matched by their local names: each version of the schema has its own namespace.
bool named(const xmlNode* node, std::string_view name) {
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           std::string_view(reinterpret_cast<const char*>(node->name)) == name;
}

const xmlNode* child(const xmlNode* node, std::string_view name) {
    if (node == nullptr) return nullptr;
    for (const xmlNode* each = node->children; each != nullptr; each = each->next) {
        if (named(each, name)) return each;
    }
    return nullptr;
}

std::vector<const xmlNode*> children(const xmlNode* node, std::string_view name) {
    std::vector<const xmlNode*> found;
    if (node == nullptr) return found;
    for (const xmlNode* each = node->children; each != nullptr; each = each->next) {
        if (named(each, name)) found.push_back(each);
    }
    return found;
}

// The child at the path ("Acct/Id/IBAN"), or none.
const xmlNode* at_path(const xmlNode* node, std::string_view path) {
    while (node != nullptr && !path.empty()) {
        const std::size_t slash = path.find('/');
        node = child(node, path.substr(0, slash));
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return node;
}

std::string text_of(const xmlNode* node) {
    if (node == nullptr) return {};
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content != nullptr ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

std::string text_at(const xmlNode* node, std::string_view path) { return text_of(at_path(node, path)); }

// The first of the paths that holds a text.
std::string first_text(const xmlNode* node, std::initializer_list<std::string_view> paths) {
    for (const std::string_view path : paths) {
        std::string text = text_at(node, path);
        if (!text.empty()) return text;
    }
    return {};
}

// A date or a date and time, as the calendar day it writes ("2024-12-31T23:30:00+01:00" is the
// 31st).
std::string day_at(const xmlNode* node) {
    std::string day = first_text(node, {"Dt", "DtTm"});
    if (day.size() > 10) day.resize(10);
    return day;
}

// The name of a party in either version's form (Nm, or Pty/Nm).
std::string party_name(const xmlNode* party) { return first_text(party, {"Nm", "Pty/Nm"}); }

RawLine line_of(const xmlNode* entry) {
    RawLine line;
    line.line = xmlGetLineNo(entry);
    line.amount = text_at(entry, "Amt");
    line.indicator = text_at(entry, "CdtDbtInd");
    line.date = day_at(child(entry, "BookgDt"));
    if (line.date.empty()) line.date = day_at(child(entry, "ValDt"));
    line.bank_id = first_text(entry, {"NtryRef", "AcctSvcrRef"});
    const xmlNode* details = at_path(entry, "NtryDtls/TxDtls");
    // The other side: who was paid for money out, who paid for money in.
    const bool out = line.indicator == "DBIT";
    const xmlNode* parties = child(details, "RltdPties");
    line.payee = party_name(child(parties, out ? "Cdtr" : "Dbtr"));
    if (line.payee.empty()) line.payee = party_name(child(parties, out ? "UltmtCdtr" : "UltmtDbtr"));
    for (const xmlNode* unstructured : children(child(details, "RmtInf"), "Ustrd")) {
        if (!line.description.empty()) line.description += ' ';
        line.description += text_of(unstructured);
    }
    if (line.description.empty()) line.description = first_text(details, {"AddtlTxInf"});
    if (line.description.empty()) line.description = text_at(entry, "AddtlNtryInf");
    if (line.payee.empty()) std::swap(line.payee, line.description);
    line.number = text_at(details, "Refs/ChqNb");
    return line;
}

// Booked entries only: a pending one may still change or go.
bool booked(const xmlNode* entry) {
    const std::string status = first_text(entry, {"Sts/Cd", "Sts"});
    return status.empty() || status == "BOOK";
}

RawStatement statement_of(const xmlNode* stmt) {
    RawStatement statement;
    statement.account = first_text(stmt, {"Acct/Id/IBAN", "Acct/Id/Othr/Id"});
    statement.currency = text_at(stmt, "Acct/Ccy");
    for (const xmlNode* balance : children(stmt, "Bal")) {
        const std::string kind = first_text(balance, {"Tp/CdOrPrtry/Cd", "Tp/CdOrPrtry/Prtry"});
        const std::string amount = text_at(balance, "Amt");
        if (kind == "OPBD") {
            statement.opening_amount = (text_at(balance, "CdtDbtInd") == "DBIT" ? "-" : "") + amount;
            continue;
        }
        if (kind != "CLBD") continue;
        statement.closing_amount = (text_at(balance, "CdtDbtInd") == "DBIT" ? "-" : "") + amount;
        statement.closing_date = day_at(child(balance, "Dt"));
        if (statement.currency.empty()) {
            xmlChar* currency = xmlGetProp(child(balance, "Amt"), reinterpret_cast<const xmlChar*>("Ccy"));
            if (currency != nullptr) statement.currency = reinterpret_cast<const char*>(currency);
            xmlFree(currency);
        }
    }
    for (const xmlNode* entry : children(stmt, "Ntry")) {
        RawLine line = line_of(entry);
        if (!booked(entry)) {
            statement.skipped.push_back({line.line, SkipReason::kPending, line.payee});
            continue;
        }
        statement.add(line);
    }
    return statement;
}

}  // namespace

IoStatus read_camt(std::string_view utf8, std::vector<RawStatement>& accounts, std::string* version) {
    accounts.clear();
    // Nothing is fetched and no external entity is read: the file is read as the text it is.
    const Document document(xmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), "statement.xml",
                                          "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                            xmlFreeDoc);
    if (!document) return IoStatus::failure(EBADMSG);
    const xmlNode* root = xmlDocGetRootElement(document.get());
    const xmlNode* statements = named(root, "Document") ? child(root, "BkToCstmrStmt") : nullptr;
    if (statements == nullptr) return IoStatus::failure(ENOEXEC);
    if (version != nullptr) {
        const std::string_view space = root->ns != nullptr && root->ns->href != nullptr
                                           ? reinterpret_cast<const char*>(root->ns->href)
                                           : "";
        const std::size_t at = space.find("camt.053.");
        *version = at == std::string_view::npos ? std::string() : std::string(space.substr(at + 9));
    }
    for (const xmlNode* stmt : children(statements, "Stmt")) {
        RawStatement statement = statement_of(stmt);
        // Statements of one account (a month's, and the next) are imported together; the closing
        // balance is the latest of them.
        const auto same = std::find_if(accounts.begin(), accounts.end(), [&](const RawStatement& each) {
            return each.account == statement.account && each.currency == statement.currency;
        });
        if (same == accounts.end()) {
            accounts.push_back(std::move(statement));
            continue;
        }
        same->append(statement);
        same->skipped.insert(same->skipped.end(), statement.skipped.begin(), statement.skipped.end());
        // ... and the opening balance the earliest's.
        if (statement.closing_amount &&
            (!same->closing_date || statement.closing_date >= same->closing_date)) {
            same->closing_amount = statement.closing_amount;
            same->closing_date = statement.closing_date;
        } else if (statement.opening_amount) {
            same->opening_amount = statement.opening_amount;
        }
    }
    if (accounts.empty()) return IoStatus::failure(ENODATA);
    return {};
}

}  // namespace quillet
