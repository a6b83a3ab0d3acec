#include "core/runtime/file_calls.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace quillet {

namespace {

// Process-wide on purpose: a test stops the whole process, whichever code makes the call.
std::atomic<std::int64_t> counted{0};
std::atomic<std::int64_t> stop_at{0};

}  // namespace

void before_file_change() {
    const std::int64_t now = ++counted;
    if (stop_at.load() > 0 && now >= stop_at.load()) ::kill(::getpid(), SIGKILL);
}

void stop_before_file_change(std::int64_t n) {
    counted = 0;
    stop_at = n;
}

std::int64_t file_changes_counted() { return counted.load(); }

void reset_file_change_count() { counted = 0; }

}  // namespace quillet
