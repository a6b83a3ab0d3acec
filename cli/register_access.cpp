#include "cli/register_access.h"

#include "cli/cli_text.h"
#include "cli/exit_codes.h"
#include "core/register/register_file.h"

namespace quillet::cli {

std::optional<int> register_refused(const std::string& path, bool for_writing) {
    IoStatus cause;
    const char* why = nullptr;
    switch (settle_and_check(path, &cause)) {
        case RegisterCheck::kAccepted: return std::nullopt;
        case RegisterCheck::kReadOnly:
            if (!for_writing) return std::nullopt;
            why = "it is read-only";
            break;
        case RegisterCheck::kMissing: why = "it does not exist"; break;
        case RegisterCheck::kFolder: why = "it is a folder, not a register"; break;
        case RegisterCheck::kNotAFile: why = "it is not a file"; break;
        case RegisterCheck::kUnreadable: return say_failed(path, cause);
        case RegisterCheck::kWrongLength:
            why = "it is not a register: its size is not a whole number of transactions";
            break;
        case RegisterCheck::kDamagedFirstRecord:
            why = "it is not a register: its first transaction is damaged";
            break;
    }
    return say_refused(path + ": " + why, kFileTrouble);
}

std::optional<int> open_register(RegisterSession& session, const std::string& path) {
    const RegisterSession::Opened opened = session.open(path, kListFileOrder);
    if (!opened.read) return say_failed(path, opened.read);
    return std::nullopt;
}

int say_session_failed(const SessionResult& result) { return say_failed(result.file(), result.cause()); }

}  // namespace quillet::cli
