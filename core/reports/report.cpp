#include "core/reports/report.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "core/list/balance_book.h"
#include "core/list/row_text.h"
#include "core/register/format.h"
#include "core/register/record.h"
#include "core/register/register_file.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/number_text.h"
#include "core/runtime/windows1252.h"

namespace quillet {

using namespace record_format;

namespace {

// The document goes to the sink in pieces of about this size.
constexpr std::size_t kPieceSize = 256 * 1024;

// Appends a record's stored text as the list shows it (a control character as the pilcrow, so that
// no report carries one to a terminal, a page or a spreadsheet), in UTF-8. Plain ASCII, the common
// case, is shown straight into place.
void append_text(std::string& out, const std::uint8_t* field) {
    const std::size_t start = out.size();
    append_shown_text(out, field);
    if (std::all_of(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
                    [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; }))
        return;
    const std::string windows1252 = out.substr(start);
    out.resize(start);
    append_windows1252_as_utf8(out, windows1252);
}

// The display text of a date value; registers run in date order, so the last day's text is kept.
class DayText {
  public:
    void append(std::string& out, DateValue value) {
        const DateValue day = value < 0 ? kNoDate : value / kSecondsADay;
        if (day != day_ || text_.empty()) {
            day_ = day;
            text_.clear();
            append_display_date(text_, value);
        }
        out += text_;
    }

  private:
    DateValue day_ = kNoDate;
    std::string text_;
};

// A reported row's texts, made in one buffer that lives for the whole report.
class RowTexts {
  public:
    ReportRow make(const std::uint8_t* record, bool deposit, float amount, bool is_void,
                   std::optional<std::int64_t> balance) {
        buffer_.clear();
        const auto mark = [this] { return buffer_.size(); };
        std::size_t ends[9];
        date_.append(buffer_, get_i32(record + kDateOffset));
        ends[0] = mark();
        const std::size_t offsets[] = {kTypeOffset, kNumberOffset, kPayeeOffset, kDescriptionOffset};
        for (std::size_t i = 0; i < 4; ++i) {
            append_text(buffer_, record + offsets[i]);
            ends[i + 1] = mark();
        }
        append_amount_text(buffer_, amount);
        ends[5] = mark();
        if (balance) {
            append_cents_text(buffer_, *balance);
        } else {
            buffer_ += kOutOfRangeText;
        }
        ends[6] = mark();
        const DateValue second = get_i32(record + kSecondDateOffset);
        if (second >= 1) second_date_.append(buffer_, second);
        ends[7] = mark();

        // The views are taken once the buffer is complete (appending may move it).
        const std::string_view all = buffer_;
        const auto piece = [&](std::size_t index) {
            const std::size_t start = index == 0 ? 0 : ends[index - 1];
            return all.substr(start, ends[index] - start);
        };
        ReportRow row;
        row.date = piece(0);
        for (std::size_t i = 0; i < 4; ++i) row.texts[i] = piece(i + 1);
        row.deposit = deposit;
        row.amount = piece(5);
        row.is_void = is_void;
        row.balance = piece(6);
        row.second_date = piece(7);
        return row;
    }

  private:
    std::string buffer_;
    DayText date_;
    DayText second_date_;
};

}  // namespace

bool ReportRequest::has_states() const {
    return states != nullptr &&
           std::any_of(states->begin(), states->end(), [](std::uint8_t state) { return state != 0; });
}

bool slot_marked(const std::vector<std::uint8_t>* marks, std::int64_t slot) {
    return marks == nullptr || (slot >= 0 && static_cast<std::size_t>(slot) < marks->size() &&
                                (*marks)[static_cast<std::size_t>(slot)] != 0);
}

bool report_includes(const ReportRequest& request, DateValue date) {
    switch (request.range) {
        case ReportRange::kAll: return true;
        case ReportRange::kThisMonth:
            return month_of(date) == month_of(request.today) && year_of(date) == year_of(request.today);
        case ReportRange::kDates: {
            const DateValue day = day_of_value(date);
            return day != kNoDate && day >= day_of_value(request.first) && day <= day_of_value(request.last);
        }
    }
    return false;
}

IoStatus write_report(const std::string& register_path, const ReportRequest& request,
                      const ReportSink& sink) {
    const std::unique_ptr<ReportWriter> writer = report_writer(request.format);
    std::string out;
    out.reserve(kPieceSize + 4096);
    IoStatus written;
    const auto pass_on = [&] {
        if (written) written = sink(out);
        out.clear();
        return written.ok();
    };
    writer->header(out, request);

    RunningBalance balance;
    RowTexts texts;
    const std::vector<std::uint8_t>* states = request.has_states() ? request.states : nullptr;
    const IoStatus read = visit_records(register_path, [&](std::int64_t slot, const std::uint8_t* record) {
        if (record[kDeletedOffset] != kLive) return true;
        const float amount = get_f32(record + kAmountOffset);
        const bool deposit = record[kKindOffset] == kDeposit;
        const bool is_void = record[kVoidOffset] == kVoid;
        // Every transaction moves the balance, reported or not, so each row shows the true one.
        if (!is_void) {
            const RowFigures figures = record_figures(record);
            balance.add(figures.deposit_cents, figures.withdrawal_cents, figures.out_of_range);
        }
        if (!report_includes(request, get_i32(record + kDateOffset)) ||
            !slot_marked(request.only_slots, slot))
            return true;
        const Figure& now = balance.figure();
        ReportRow row = texts.make(record, deposit, amount, is_void,
                                   now.out_of_range ? std::nullopt : std::optional<std::int64_t>(now.cents));
        if (states != nullptr && slot < static_cast<std::int64_t>(states->size()))
            row.state = (*states)[static_cast<std::size_t>(slot)];
        writer->row(out, row);
        return out.size() < kPieceSize || pass_on();
    });
    if (!read) return read;
    writer->footer(out, request);
    pass_on();
    return written;
}

IoStatus write_report(const std::string& register_path, const ReportRequest& request, std::ostream& out) {
    return write_report(register_path, request, [&out](std::string_view piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        return out ? IoStatus() : IoStatus::failure(EIO);
    });
}

IoStatus write_report_file(const std::string& register_path, const ReportRequest& request,
                           const std::string& document_path) {
    AtomicReplace document(document_path);
    if (!document.ok()) return document.status();
    const IoStatus made = write_report(register_path, request,
                                       [&document](std::string_view piece) { return document.write(piece); });
    if (!made) return made;
    return document.commit();
}

}  // namespace quillet
