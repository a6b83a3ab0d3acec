#include "core/runtime/file_calls.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace quillet {

namespace {

// Process-wide on purpose: a test stops the whole process, whichever code makes the call.
std::atomic<std::int64_t> counted{0};
std::atomic<std::int64_t> stop_at{-1};  // -1: no test counts

std::string& noted() {
    static std::string calls;
    return calls;
}

}  // namespace

void before_file_change(FileCall call) {
    const std::int64_t now = ++counted;
    const std::int64_t stop = stop_at.load();
    if (stop < 0) return;  // the program itself: nothing is noted
    if (stop > 0 && now >= stop) ::kill(::getpid(), SIGKILL);
    noted() += static_cast<char>(call);
}

void stop_before_file_change(std::int64_t n) {
    counted = 0;
    stop_at = n;
    noted().clear();
}

const std::string& file_changes_noted() { return noted(); }

}  // namespace quillet
