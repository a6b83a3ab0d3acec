#include "core/import/statement_file.h"

#include <algorithm>

#include "core/import/camt_statement.h"
#include "core/import/ofx_statement.h"
#include "core/import/qif_statement.h"
#include "core/import/statement_text.h"
#include "core/runtime/number_text.h"

namespace quillet {

namespace {

enum class Content { kCsv, kQif, kOfx, kCamt, kOtherMarkup };

// What the text holds: QIF begins with "!", OFX has its header lines or markup and its element,
// CAMT is XML whose statement element says so; any other markup is nothing the import reads.
Content content_of(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return Content::kCsv;
    const std::string_view rest = text.substr(start);
    if (rest.starts_with("!")) return Content::kQif;
    if (rest.starts_with("OFXHEADER") || looks_like_ofx(rest)) return Content::kOfx;
    if (!rest.starts_with("<")) return Content::kCsv;
    const std::string_view head = rest.substr(0, 4096);
    if (head.find("<?OFX") != std::string_view::npos) return Content::kOfx;
    if (head.find("BkToCstmrStmt") != std::string_view::npos ||
        head.find("camt.053") != std::string_view::npos)
        return Content::kCamt;
    return Content::kOtherMarkup;
}

// The contents a name allows: a file named .qif must be QIF, .ofx or .qfx OFX, .xml OFX or CAMT,
// and any other name (.csv, .txt) anything but markup it does not promise.
bool name_allows(const std::string& path, Content content) {
    if (ends_with_ignoring_ascii_case(path, ".qif")) return content == Content::kQif;
    if (ends_with_ignoring_ascii_case(path, ".ofx") || ends_with_ignoring_ascii_case(path, ".qfx"))
        return content == Content::kOfx;
    if (ends_with_ignoring_ascii_case(path, ".xml"))
        return content == Content::kOfx || content == Content::kCamt;
    return content == Content::kCsv;
}

bool holds_anything(const std::vector<RawStatement>& accounts) {
    return std::any_of(accounts.begin(), accounts.end(), [](const RawStatement& statement) {
        return !statement.empty() || !statement.skipped.empty();
    });
}

IoStatus read_csv_file(std::string text, StatementFile& file) {
    file.format = StatementFormat::kCsv;
    std::optional<CsvTable> table = read_csv_guessing_separator(text);
    if (!table) return IoStatus::failure(EILSEQ);
    file.table = std::move(*table);
    file.text = std::move(text);
    if (file.table.empty()) return IoStatus::failure(ENODATA);
    file.mapping = mapping_from_header(file.table);
    if (file.mapping) map_csv(file, *file.mapping);
    return {};
}

}  // namespace

const char* format_name(StatementFormat format) {
    switch (format) {
        case StatementFormat::kQif: return "QIF";
        case StatementFormat::kOfx: return "OFX";
        case StatementFormat::kCamt: return "CAMT.053";
        case StatementFormat::kCsv: break;
    }
    return "CSV";
}

std::string recorded_format(const StatementFile& file) {
    std::string name = format_name(file.format);
    if (file.format == StatementFormat::kCamt && !file.version.empty()) name += "." + file.version;
    return name;
}

IoStatus read_statement_file(const std::string& path, StatementFile& file) {
    file = {};
    file.path = path;
    std::string text;
    if (const IoStatus read = read_statement_text(path, text); !read) return read;
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return IoStatus::failure(ENODATA);
    file.fingerprint = file_fingerprint(text);
    const Content content = content_of(text);
    if (!name_allows(path, content)) return IoStatus::failure(ENOEXEC);
    switch (content) {
        case Content::kCsv: return read_csv_file(std::move(text), file);
        case Content::kQif: {
            file.format = StatementFormat::kQif;
            if (const IoStatus read = read_qif(text, file.accounts); !read) return read;
            choose_account(file, 0);
            return {};
        }
        case Content::kOfx:
        case Content::kCamt: {
            file.format = content == Content::kOfx ? StatementFormat::kOfx : StatementFormat::kCamt;
            const IoStatus read = content == Content::kOfx ? read_ofx(path, text, file.accounts)
                                                           : read_camt(text, file.accounts, &file.version);
            if (!read) return read;
            if (!holds_anything(file.accounts)) return IoStatus::failure(ENODATA);
            choose_account(file, 0);
            return {};
        }
        case Content::kOtherMarkup: break;
    }
    return IoStatus::failure(ENOEXEC);
}

bool split_csv(StatementFile& file, char separator) {
    if (file.format != StatementFormat::kCsv) return false;
    std::optional<CsvTable> table = read_csv(file.text, separator);
    if (!table) return false;
    file.table = std::move(*table);
    file.mapping = mapping_from_header(file.table);
    file.raw = file.mapping ? raw_statement_of(file.table, *file.mapping) : RawStatement{};
    return true;
}

bool writes_amounts_one_way(StatementFormat format) {
    return format == StatementFormat::kOfx || format == StatementFormat::kCamt;
}

void map_csv(StatementFile& file, const CsvMapping& mapping) {
    file.mapping = mapping;
    file.raw = raw_statement_of(file.table, mapping);
}

void choose_account(StatementFile& file, std::size_t index) {
    if (index >= file.accounts.size()) return;
    file.account = index;
    file.raw = file.accounts[index];
}

}  // namespace quillet
