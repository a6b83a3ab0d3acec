#include "core/import/import_preview.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "core/import/conventions.h"
#include "core/import/duplicate_finder.h"
#include "core/import/import_records.h"
#include "core/import/line_identity.h"
#include "core/list/row_text.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"

namespace quillet {

using namespace record_format;

namespace {

// The amount's bytes as a record holds them.
std::array<std::uint8_t, 4> encode_amount(std::int64_t cents) {
    std::array<std::uint8_t, 4> bytes{};
    put_f32(bytes.data(), register_amount(cents));
    return bytes;
}

// What the earlier stages leave to the later ones.
struct Judged {
    std::map<std::int64_t, StoredImport> imports;  // by id
    std::unordered_set<std::int64_t> claimed;      // records a line of this file is known as
};

// Stage one: the lines the store knows, found by their identities.
IoStatus judge_by_identity(RegisterSession& session, ImportPreview& preview, Judged& judged) {
    // Looked up a slice at a time, the identities lent and given back: a million lines' identities
    // and findings at once took more room than the file.
    constexpr std::size_t kSlice = 1 << 16;
    std::vector<StoredImport> imports;
    std::vector<RecordPlace> places;
    std::vector<std::size_t> known;
    std::vector<DateValue> known_on;
    for (std::size_t first = 0; first < preview.lines.size(); first += kSlice) {
        const std::size_t end = std::min(preview.lines.size(), first + kSlice);
        std::vector<std::string> identities;
        identities.reserve(end - first);
        for (std::size_t at = first; at < end; ++at)
            identities.push_back(std::move(preview.lines[at].identity));
        std::vector<std::optional<FoundIdentity>> found;
        const IoStatus looked = session.look_up_imports(identities, found, imports);
        for (std::size_t at = first; at < end; ++at)
            preview.lines[at].identity = std::move(identities[at - first]);
        if (!looked) return looked;
        for (std::size_t at = 0; at < found.size(); ++at) {
            if (!found[at]) continue;
            places.push_back(found[at]->record);
            known.push_back(first + at);
            known_on.push_back(found[at]->imported_on);
        }
    }
    if (preview.lines.empty()) {
        std::vector<std::optional<FoundIdentity>> none;
        if (const IoStatus looked = session.look_up_imports({}, none, imports); !looked) return looked;
    }
    for (const StoredImport& entry : imports) {
        if (entry.fingerprint == preview.fingerprint && entry.account == preview.account)
            preview.earlier = entry;
        if (!entry.currency.empty()) preview.earlier_currency = entry.currency;
        judged.imports[entry.id] = entry;
    }
    const std::vector<std::int64_t> slots = session.places().slots_at(places);
    for (std::size_t at = 0; at < known.size(); ++at) {
        PreviewLine& line = preview.lines[known[at]];
        const bool there = slots[at] >= 0 && session.places().live(slots[at]);
        line.verdict = there ? Verdict::kImported : Verdict::kDeletedAfterImport;
        line.verdict_date = known_on[at];
        if (there) judged.claimed.insert(slots[at]);
    }
    return {};
}

bool is_bank_identity(std::string_view identity) { return identity.starts_with("id:"); }

// Stages two and three: the register's transactions with the amounts of the lines still new, those
// no import made and those imported from elsewhere apart; and the lines that match one of them.
IoStatus judge_by_register(RegisterSession& session, ImportPreview& preview, const Judged& judged) {
    std::vector<std::size_t> asked;
    // The days of the lines of each amount, to pass over imported records far from all of them.
    std::unordered_map<std::int64_t, std::vector<DateValue>> days_by_amount;
    // The register's amounts are floats made from their text as register_amount makes them: the
    // same bits are the same amount, and most records are passed over by their bits alone.
    std::unordered_set<std::uint32_t> amount_bits;
    for (std::size_t at = 0; at < preview.lines.size(); ++at) {
        const StatementLine& line = preview.lines[at].line;
        if (preview.lines[at].verdict != Verdict::kNew) continue;
        asked.push_back(at);
        days_by_amount[line.cents].push_back(line.date);
        amount_bits.insert(get_u32(encode_amount(line.cents).data()));
    }
    if (asked.empty()) return {};
    for (auto& [cents, days] : days_by_amount) std::sort(days.begin(), days.end());
    const auto near_a_line = [&](std::int64_t cents, DateValue date) {
        const auto found = days_by_amount.find(cents);
        if (found == days_by_amount.end()) return false;
        const auto next = std::lower_bound(found->second.begin(), found->second.end(),
                                           date - (kMatchDays + 1) * kSecondsADay);
        return next != found->second.end() && *next <= date + (kMatchDays + 1) * kSecondsADay;
    };
    std::vector<MatchCandidate> typed;
    std::vector<MatchCandidate> imported;
    std::vector<std::int64_t> imported_slots;
    const RecordPlaces& places = session.places();
    std::string number;
    const IoStatus read = visit_records(session.path(), [&](std::int64_t slot, const std::uint8_t* record) {
        if (record[kDeletedOffset] != kLive || record[kVoidOffset] == kVoid) return true;
        if (!amount_bits.contains(get_u32(record + kAmountOffset))) return true;
        const bool by_import = slot < places.slot_count() && places.imported(slot);
        if (by_import && judged.claimed.contains(slot)) return true;
        const std::optional<std::int64_t> cents = amount_cents(get_f32(record + kAmountOffset));
        if (!cents) return true;
        const std::int64_t signed_cents = record[kKindOffset] == kWithdrawal ? -*cents : *cents;
        const DateValue date = get_i32(record + kDateOffset);
        if (!by_import && !days_by_amount.contains(signed_cents)) return true;
        if (by_import && !near_a_line(signed_cents, date)) return true;
        number.clear();
        append_shown_text(number, record + kNumberOffset);
        if (!by_import) {
            typed.push_back({date, signed_cents, number, {}});
            return true;
        }
        std::string payee;
        append_shown_text(payee, record + kPayeeOffset);
        imported.push_back({date, signed_cents, number, windows1252_to_utf8(payee)});
        imported_slots.push_back(slot);
        return true;
    });
    if (!read) return read;
    // No transaction of the register has a line's amount near its day: nothing to weigh.
    if (typed.empty() && imported.empty()) return {};
    std::vector<MatchCandidate> lines;
    lines.reserve(asked.size());
    for (const std::size_t at : asked) {
        const StatementLine& line = preview.lines[at].line;
        lines.push_back({line.date, line.cents, std::string(line.number()), std::string(line.payee())});
    }
    const std::vector<std::int64_t> matched = match_candidates(lines, typed);
    std::vector<MatchCandidate> left;
    std::vector<std::size_t> left_asked;
    for (std::size_t at = 0; at < matched.size(); ++at) {
        if (matched[at] < 0) {
            left.push_back(std::move(lines[at]));
            left_asked.push_back(asked[at]);
            continue;
        }
        PreviewLine& line = preview.lines[asked[at]];
        line.verdict = Verdict::kTypedByHand;
        line.verdict_date = typed[static_cast<std::size_t>(matched[at])].date;
    }
    if (left.empty() || imported.empty()) return {};
    // Which import made each record, and by which identity.
    std::vector<std::optional<StoredLink>> links;
    if (const IoStatus looked = session.look_up_links(places.places_of(imported_slots), links); !looked)
        return looked;
    const auto import_of = [&](std::size_t candidate) -> const StoredImport* {
        if (!links[candidate]) return nullptr;
        const auto found = judged.imports.find(links[candidate]->import_id);
        return found == judged.imports.end() ? nullptr : &found->second;
    };
    const auto may_match = [&](std::size_t line, std::size_t candidate) {
        const StoredImport* entry = import_of(candidate);
        if (entry == nullptr) return false;
        // An identity that could have matched did not: the same format's bank IDs (or line
        // fingerprints) tell two transactions apart, however alike they look.
        const bool could_have_matched =
            entry->format == preview.format && is_bank_identity(links[candidate]->identity) ==
                                                   is_bank_identity(preview.lines[left_asked[line]].identity);
        return !could_have_matched && payees_alike(left[line].payee, imported[candidate].payee);
    };
    const std::vector<std::int64_t> elsewhere = match_candidates(left, imported, may_match);
    std::map<std::int64_t, std::shared_ptr<const std::string>> files;
    for (std::size_t at = 0; at < elsewhere.size(); ++at) {
        if (elsewhere[at] < 0) continue;
        const StoredImport* entry = import_of(static_cast<std::size_t>(elsewhere[at]));
        PreviewLine& line = preview.lines[left_asked[at]];
        line.verdict = Verdict::kImportedElsewhere;
        line.verdict_date = entry->imported_on;
        std::shared_ptr<const std::string>& file = files[entry->id];
        if (!file) file = std::make_shared<const std::string>(entry->file_name);
        line.verdict_file = file;
    }
    return {};
}

}  // namespace

std::int64_t ImportPreview::new_count() const {
    return std::count_if(lines.begin(), lines.end(),
                         [](const PreviewLine& line) { return line.verdict == Verdict::kNew; });
}

std::int64_t ImportPreview::duplicate_count() const {
    return static_cast<std::int64_t>(lines.size()) - new_count();
}

std::int64_t ImportPreview::ticked_count() const {
    return std::count_if(lines.begin(), lines.end(), [](const PreviewLine& line) { return line.ticked; });
}

IoStatus preview_import(RegisterSession& session, Statement statement, ImportPreview& preview) {
    preview.lines.clear();
    preview.lines.reserve(statement.lines.size());
    for (StatementLine& line : statement.lines)
        preview.lines.push_back({std::move(line), {}, Verdict::kNew, true, kNoDate, {}});
    statement.lines = {};
    return preview_lines(session, std::move(statement), preview);
}

IoStatus preview_lines(RegisterSession& session, Statement statement, ImportPreview& preview) {
    preview.skipped = std::move(statement.skipped);
    preview.closing_cents = statement.closing_cents;
    preview.closing_date = statement.closing_date;
    preview.opening_cents = statement.opening_cents;
    preview.account = statement.account;
    preview.currency = statement.currency;
    preview.cleaned_lines = statement.cleaned_lines;
    preview.earlier_currency.clear();
    std::vector<std::string> identities = line_identities(
        preview.lines.size(), [&](std::size_t at) -> const StatementLine& { return preview.lines[at].line; });
    for (std::size_t at = 0; at < identities.size(); ++at)
        preview.lines[at].identity = std::move(identities[at]);
    identities = {};
    Judged judged;
    if (const IoStatus known = judge_by_identity(session, preview, judged); !known) return known;
    if (const IoStatus typed = judge_by_register(session, preview, judged); !typed) return typed;
    for (PreviewLine& line : preview.lines) line.ticked = line.verdict == Verdict::kNew;
    return {};
}

std::string verdict_text(const PreviewLine& line) {
    const std::string day =
        line.verdict_date == kNoDate ? std::string() : format_date(kDisplayDateMask, line.verdict_date);
    switch (line.verdict) {
        case Verdict::kNew: return {};
        case Verdict::kImported: return "imported on " + day;
        case Verdict::kDeletedAfterImport: return "deleted after import";
        case Verdict::kTypedByHand: return "probably typed by hand on " + day;
        case Verdict::kImportedElsewhere:
            return "probably imported from " + file_part(line.verdict_file_name()) + " on " + day;
    }
    return {};
}

ImportBatch batch_of(const ImportPreview& preview) {
    std::vector<const PreviewLine*> ticked;
    for (const PreviewLine& line : preview.lines) {
        if (line.ticked) ticked.push_back(&line);
    }
    std::stable_sort(ticked.begin(), ticked.end(),
                     [](const PreviewLine* a, const PreviewLine* b) { return a->line.date < b->line.date; });
    ImportBatch batch;
    batch.records.reserve(ticked.size());
    batch.identities.reserve(ticked.size());
    for (const PreviewLine* line : ticked) {
        batch.records.push_back(record_of(line->line));
        batch.categories.push_back(line->category);
        batch.identities.push_back(line->identity);
    }
    batch.entry.file_name = preview.file_name;
    batch.entry.fingerprint = preview.fingerprint;
    batch.entry.format = preview.format;
    batch.entry.imported_on = current_date();
    batch.entry.closing_cents = preview.closing_cents;
    batch.entry.closing_date = preview.closing_date;
    batch.entry.opening_cents = preview.opening_cents;
    // The statement's first day, duplicates and all: where its opening balance stands.
    for (const PreviewLine& line : preview.lines) {
        if (!batch.entry.first_date || line.line.date < *batch.entry.first_date)
            batch.entry.first_date = line.line.date;
    }
    batch.entry.account = preview.account;
    batch.entry.currency = preview.currency;
    return batch;
}

}  // namespace quillet
