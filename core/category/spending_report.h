// The spending report: months across, categories down (a parent with its children indented and
// summed), deposits and payments apart, what has no category on its own line and a total row that
// is the register's own for the months; as an HTML page, a text listing or CSV (formulas guarded).
#pragma once

#include <string>

#include "core/category/spending.h"
#include "core/reports/report.h"
#include "core/session/category_book.h"

namespace quillet {

// The register's live transactions dated first through last (kNoDate: from its first, through its
// last) as the spending figures count them, split ones in each part's category; with marks, only
// the marked slots' (slot_marked).
IoStatus read_spending(const std::string& register_path, const CategoryBook& book, DateValue first,
                       DateValue last, SpendingTable& table,
                       const std::vector<std::uint8_t>* only_slots = nullptr);

// The document; the title is the register's name, today is dated under it.
std::string spending_document(const SpendingTable& table, const CategoryLists& lists, ReportFormat format,
                              const std::string& title, DateValue today);

// The payments of each category of the top level in the table's months (a parent's with its
// children's), what has no category last: the full name (UTF-8) and the cents, only those paid.
std::vector<std::pair<std::string, std::int64_t>> category_payments(const SpendingTable& table,
                                                                    const CategoryLists& lists);

// The spending report of the request's range (all, this month, or its days) in its format, titled
// and dated as the request says, into the sink.
IoStatus write_spending_report(const std::string& register_path, const CategoryBook& book,
                               const ReportRequest& request, const ReportSink& sink);

}  // namespace quillet
