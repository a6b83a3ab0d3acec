// Statement files as banks and converters write them, each imported through the core into a
// register of its own and compared with what it must give, to the cent: tests/data/statements,
// where each file's ".expected" beside it says how it is read ("read:"), which files are imported
// into the register first ("after:"), and what comes of it: the refusal's cause, the choices the
// file leaves open, its accounts, every transaction with its verdict, the balances it states, every
// line left out and why.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/import/import_draft.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/session/import_statement.h"
#include "core/session/register_session.h"
#include "tests/support/temp_folder.h"

namespace quillet {
namespace {

using testing::read_file;
using testing::TempFolder;

const std::string kCorpus = std::string(QUILLET_TEST_DATA) + "statements/";

std::string cause_name(int error) {
    static const std::pair<int, const char*> kNames[] = {
        {ENOTSUP, "ENOTSUP"}, {ENOMSG, "ENOMSG"},   {EREMOTEIO, "EREMOTEIO"}, {ENODATA, "ENODATA"},
        {EBADMSG, "EBADMSG"}, {ENOEXEC, "ENOEXEC"}, {EILSEQ, "EILSEQ"}};
    for (const auto& [number, name] : kNames) {
        if (number == error) return name;
    }
    return integer_text(error);
}

// "key=value" words of a "read:" line.
std::string option(const std::string& read, const std::string& key) {
    std::istringstream words(read);
    for (std::string word; words >> word;) {
        if (word.starts_with(key + "=")) return word.substr(key.size() + 1);
    }
    return {};
}

// Takes the readings and the account the "read:" line gives.
void take_readings(const std::string& read, ImportDraft& draft) {
    if (const std::string separator = option(read, "separator"); !separator.empty()) {
        EXPECT_TRUE(choose_separator(draft, separator == "tab" ? '\t' : separator[0]));
    }
    if (const std::string account = option(read, "account"); !account.empty()) {
        const auto& accounts = draft.file.accounts;
        const auto found = std::find_if(accounts.begin(), accounts.end(),
                                        [&](const RawStatement& each) { return each.account == account; });
        ASSERT_NE(found, accounts.end()) << account;
        choose_statement_account(draft, static_cast<std::size_t>(found - accounts.begin()));
    }
    const std::string dates = option(read, "dates");
    if (!dates.empty()) {
        EXPECT_TRUE(choose_date_order(draft, dates == "dmy"   ? DateOrder::kDayMonthYear
                                             : dates == "mdy" ? DateOrder::kMonthDayYear
                                                              : DateOrder::kYearMonthDay));
    }
    if (const std::string decimal = option(read, "decimal"); !decimal.empty()) {
        EXPECT_TRUE(
            choose_decimal_mark(draft, decimal == "comma" ? DecimalMark::kComma : DecimalMark::kPoint));
    }
    if (const std::string sign = option(read, "sign"); !sign.empty())
        draft.plain = sign == "out" ? PlainAmounts::kMoneyOut : PlainAmounts::kMoneyIn;
}

// What is left open before the readings are taken.
std::string open_choices(const ImportDraft& draft) {
    std::string open;
    if (!draft.order) open += " dates";
    if (!draft.mark) open += " decimal";
    if (draft.signs_unsaid && !draft.plain) open += " sign";
    return open;
}

std::string verdict_of(const PreviewLine& line) {
    switch (line.verdict) {
        case Verdict::kNew: return "";
        case Verdict::kImported: return " | imported before";
        case Verdict::kDeletedAfterImport: return " | deleted after import";
        case Verdict::kTypedByHand: return " | typed by hand";
        case Verdict::kImportedElsewhere:
            return " | probably imported from " + file_part(line.verdict_file_name());
    }
    return {};
}

// The file imported into the session as the expectation's lines say, and what came of it.
std::string imported(RegisterSession& session, const std::string& name, const std::string& read, bool keep) {
    ImportDraft draft;
    const IoStatus begun = begin_import(kCorpus + name, kCorpus + "no profiles.ini", "", draft);
    if (!begun) return "refused: " + cause_name(begun.error()) + "\n";
    std::string out;
    if (const std::string open = open_choices(draft); !open.empty()) out += "asks:" + open + "\n";
    if (draft.file.accounts.size() > 1) {
        out += "accounts:";
        for (const RawStatement& account : draft.file.accounts) out += " " + account.account;
        out += "\n";
    }
    take_readings(read, draft);
    if (!draft.conventions_chosen()) return out + "left open\n";
    EXPECT_TRUE(build_preview(session, draft));
    for (const PreviewLine& line : draft.preview.lines) {
        const StatementLine& s = line.line;
        out += format_date("%yyyy-%mm-%dd", s.date) + " | " + cents_text(s.cents) + " | " +
               std::string(s.number()) + " | " + std::string(s.payee()) + " | " +
               std::string(s.description()) + verdict_of(line) + "\n";
    }
    const ImportPreview& preview = draft.preview;
    if (preview.opening_cents) out += "opening balance " + cents_text(*preview.opening_cents) + "\n";
    if (preview.closing_cents) {
        out += "closing balance " + cents_text(*preview.closing_cents) + " on " +
               (preview.closing_date ? format_date("%yyyy-%mm-%dd", *preview.closing_date) : "no day") + "\n";
    }
    if (draft.preview.cleaned_lines > 0)
        out += "control characters taken out of " + integer_text(draft.preview.cleaned_lines) + " lines\n";
    for (const SkippedLine& skipped : draft.preview.skipped) {
        out += "left out " + integer_text(skipped.line) + ": " +
               std::string(skip_reason_text(skipped.reason)) + " | " + skipped.detail + "\n";
    }
    if (keep) {
        RowChange change;
        EXPECT_TRUE(session.apply(std::make_shared<ImportStatement>(batch_of(draft.preview)), change).done())
            << name;
    }
    return out;
}

std::vector<std::string> corpus_files() {
    std::vector<std::string> names;
    DIR* folder = ::opendir(kCorpus.c_str());
    if (folder == nullptr) return names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.ends_with(".expected")) names.push_back(name.substr(0, name.size() - 9));
    }
    ::closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(StatementCorpus, EveryFileImportsAsExpectedOrIsRefusedForItsCause) {
    const std::vector<std::string> names = corpus_files();
    ASSERT_GE(names.size(), 20u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string expected_path = kCorpus + name + ".expected";
        const std::string expected = read_file(expected_path);
        std::string read;
        std::vector<std::string> after;
        std::istringstream lines(expected);
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("read:")) read = line.substr(5);
            if (line.starts_with("after:")) {
                std::istringstream files(line.substr(6));
                for (std::string file; files >> file;) after.push_back(file);
            }
        }
        TempFolder folder;
        RegisterSession session;
        session.open(folder.write("Register.qlt", ""), kListFileOrder);
        std::string made;
        if (!read.empty()) made += "read:" + read + "\n";
        if (!after.empty()) {
            made += "after:";
            for (const std::string& file : after) {
                made += " " + file;
                // Each earlier file as its own expectation reads it.
                const std::string earlier = read_file(kCorpus + file + ".expected");
                const std::size_t at = earlier.find("read:");
                const std::string earlier_read =
                    at == std::string::npos ? "" : earlier.substr(at + 5, earlier.find('\n', at) - at - 5);
                (void)imported(session, file, earlier_read, true);
            }
            made += "\n";
        }
        made += imported(session, name, read, false);
        if (std::getenv("QUILLET_UPDATE_GOLDEN") != nullptr) {
            EXPECT_TRUE(replace_file_contents(expected_path, made));
        }
        EXPECT_EQ(made, expected);
    }
}

}  // namespace
}  // namespace quillet
