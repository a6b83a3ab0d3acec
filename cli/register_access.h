// The register a subcommand works on: settled and checked as the program checks a register before
// it opens one, and opened into a session. A read-only file may be read, never written.
#pragma once

#include <optional>
#include <string>

#include "core/session/register_session.h"

namespace quillet::cli {

// The exit code when the register cannot be used (said on standard error), or none.
std::optional<int> register_refused(const std::string& path, bool for_writing);

// Opens the register in file order; the exit code when it cannot be read whole, or none.
std::optional<int> open_register(RegisterSession& session, const std::string& path);

// The session's failed change said (the file that failed, and why), with its exit code.
int say_session_failed(const SessionResult& result);

}  // namespace quillet::cli
