#include "desktop/views/report_export.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "core/category/spending_report.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/runtime/number_text.h"
#include "core/runtime/program_start.h"
#include "core/runtime/windows1252.h"
#include "desktop/program/app_state.h"
#include "desktop/program/message_box.h"
#include "desktop/program/texts.h"
#include "ui/requesters.h"

namespace quillet {
namespace {

// The extensions of a format, from the patterns of its filter ("*.htm;*.html").
std::vector<std::string> extensions_of(ReportFormat format) {
    const std::string_view filter = report_format_info(format).filter;
    const std::string_view patterns = filter.substr(filter.find('|') + 1);
    std::vector<std::string> extensions;
    std::size_t start = 0;
    while (start < patterns.size()) {
        const std::size_t end = std::min(patterns.find(';', start), patterns.size());
        const std::string_view pattern = patterns.substr(start, end - start);
        if (pattern.size() > 1 && pattern.front() == '*') extensions.emplace_back(pattern.substr(1));
        start = end + 1;
    }
    return extensions;
}

// Makes the report into the work file. On failure the user has been told why.
bool make_report(const ReportRequest& request, bool by_category, const std::string& work, int owner_window) {
    RegisterSession& session = app().session;
    const std::string& register_path = session.path();
    AtomicReplace document(work);
    IoStatus made = document.status();
    const ReportSink into_work = [&document](std::string_view piece) { return document.write(piece); };
    if (made && by_category) {
        const CategoryBook& book = session.categories();
        // Categories that cannot be read make no report: a page of only "uncategorised" would mislead.
        if (session.store_state() == StoreState::kUnusable) {
            show_message(
                kMessageReportNotMade, owner_window,
                failure_text(SessionResult::of_store(session.store_problem(), session.store_path())));
            return false;
        }
        made = write_spending_report(register_path, book, request, into_work);
    } else if (made) {
        made = write_report(register_path, request, into_work);
    }
    // A failure that the work file did not cause is the register's.
    const std::string& failed = made || !document.ok() ? work : register_path;
    if (made) made = document.commit();
    if (!made) show_message(kMessageReportNotMade, owner_window, file_and_cause(failed, made));
    return made.ok();
}

// Opens the saved report with the program the desktop associates with its type; a CSV file that
// the desktop names no program for goes to the first spreadsheet program found. When nothing opens
// it, the user is told where it is.
void open_saved_report(const std::string& path, ReportFormat format) {
    ProgramStarter& starter = program_starter();
    if (format == ReportFormat::kCsv && !starter.has_default_program(path)) {
        for (const auto& candidate : texts().spreadsheet_programs) {
            if (candidate.empty() || find_program(path_from_text(candidate.front())).empty()) continue;
            std::vector<std::string> arguments;
            for (const std::string& argument : candidate) arguments.push_back(path_from_text(argument));
            arguments.push_back(path);
            if (starter.start(arguments, folder_part(path)) != 0) return;
        }
    }
    if (starter.open(path) == 0) say_not_opened(path);
}

}  // namespace

std::string report_path_with_extension(const std::string& chosen, ReportFormat format) {
    for (const std::string& extension : extensions_of(format)) {
        if (ends_with_ignoring_ascii_case(chosen, extension)) return chosen;
    }
    return chosen + std::string(report_format_info(format).extension);
}

std::string report_work_path() {
    const std::string name = path_from_text(texts().report_work_file_name);
    const std::string& program_folder = app().program_folder;
    if (!program_folder.empty() && ::access(program_folder.c_str(), W_OK) == 0) return program_folder + name;
    const char* temporary = std::getenv("TMPDIR");
    std::string folder = temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder + name;
}

void export_report(ReportFormat format, ReportRange range, DateValue first, DateValue last, bool open_after,
                   bool state_column, bool by_category, bool only_filtered, int owner_window) {
    AppState& state = app();
    // Each record's state, by slot, from the marks the session read.
    const std::vector<std::uint8_t> states = state.session.states_by_slot();
    ReportRequest request;
    request.states = &states;
    // The filter's rows, marked by slot.
    std::vector<std::uint8_t> shown;
    if (only_filtered && state.shown_rows.on()) {
        for (const std::int32_t row : state.shown_rows.rows()) {
            const auto slot = static_cast<std::size_t>(state.session.slot_of(row));
            if (slot >= shown.size()) shown.resize(slot + 1, 0);
            shown[slot] = 1;
        }
        request.only_slots = &shown;
    }
    request.state_column = state_column;
    request.format = format;
    request.range = range;
    request.first = first;
    request.last = last;
    request.today = current_date();
    request.title = file_part(state.session.path(), kCutExtension);
    const std::string work = report_work_path();
    if (!make_report(request, by_category, work, owner_window)) return;

    const ReportFormatInfo info = report_format_info(format);
    const std::string chosen = ui::requesters().save_file(
        texts().save_report_title, state.program_folder + request.title + std::string(info.extension),
        std::string(info.filter), 0);
    // The extension comes first, so that the question is asked about the file that is written.
    const std::string path =
        trim(chosen).empty() ? std::string() : report_path_with_extension(chosen, format);
    const bool replace =
        path.empty() || file_size(path) < 0 ||
        show_message(kMessageConfirmReplace, owner_window, ShownText::of_path(path)) == ui::kAnswerYes;
    if (!path.empty() && replace) {
        if (const IoStatus saved = copy_file(work, path); !saved) {
            show_message(kMessageReportNotSaved, owner_window, file_and_cause(path, saved));
        } else if (open_after) {
            open_saved_report(path, format);
        }
    }
    (void)delete_file(work, kDeleteReadOnly);
}

}  // namespace quillet
