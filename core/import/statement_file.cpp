#include "core/import/statement_file.h"

#include "core/import/qif_statement.h"
#include "core/import/statement_text.h"
#include "core/runtime/number_text.h"

namespace quillet {

namespace {

// What the text holds, from its first characters that are not blanks.
enum class Content { kCsv, kQif, kMarkup };

Content content_of(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return Content::kCsv;
    const std::string_view head = text.substr(start, 16);
    if (head.starts_with("!")) return Content::kQif;
    // OFX (SGML or XML) and CAMT statements: markup the import does not read.
    if (head.starts_with("<") || head.starts_with("OFXHEADER")) return Content::kMarkup;
    return Content::kCsv;
}

bool has_extension(const std::string& path, std::string_view extension) {
    return ends_with_ignoring_ascii_case(path, extension);
}

}  // namespace

const char* format_name(StatementFormat format) { return format == StatementFormat::kQif ? "QIF" : "CSV"; }

IoStatus read_statement_file(const std::string& path, StatementFile& file) {
    file = {};
    file.path = path;
    std::string text;
    if (const IoStatus read = read_statement_text(path, text); !read) return read;
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return IoStatus::failure(ENODATA);
    file.fingerprint = file_fingerprint(text);
    const Content content = content_of(text);
    const bool named_qif = has_extension(path, ".qif");
    if (content == Content::kMarkup || (named_qif && content != Content::kQif) ||
        (!named_qif && content == Content::kQif))
        return IoStatus::failure(ENOEXEC);
    if (content == Content::kQif) {
        file.format = StatementFormat::kQif;
        file.raw = read_qif(text);
        if (file.raw.lines.empty()) return IoStatus::failure(ENODATA);
        return {};
    }
    file.format = StatementFormat::kCsv;
    const char separator = guess_separator(text);
    std::optional<CsvTable> table = read_csv(text, separator);
    if (!table) return IoStatus::failure(EILSEQ);
    file.table = std::move(*table);
    if (file.table.rows.empty()) return IoStatus::failure(ENODATA);
    file.mapping = mapping_from_header(file.table);
    if (file.mapping) map_csv(file, *file.mapping);
    return {};
}

void map_csv(StatementFile& file, const CsvMapping& mapping) {
    file.mapping = mapping;
    file.raw = raw_statement_of(file.table, mapping);
}

}  // namespace quillet
