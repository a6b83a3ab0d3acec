// Preloaded into quillet-cli by the CLI test: another program appends a record to the register just
// before the tool takes the register's lock for the Nth time (QUILLET_TEST_CHANGE_AT_LOCK), which is
// the moment between listing the register and writing it.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern "C" int flock(int descriptor, int operation) {
    using Flock = int (*)(int, int);
    static const auto real = reinterpret_cast<Flock>(dlsym(RTLD_NEXT, "flock"));
    static int exclusive = 0;
    const char* at = std::getenv("QUILLET_TEST_CHANGE_AT_LOCK");
    if ((operation & LOCK_EX) != 0 && at != nullptr && ++exclusive == std::atoi(at)) {
        char path[4096];
        const ssize_t length =
            readlink(("/proc/self/fd/" + std::to_string(descriptor)).c_str(), path, sizeof path - 1);
        if (length > 0) {
            path[length] = '\0';
            const int file = open(path, O_WRONLY | O_APPEND | O_CLOEXEC);
            const char record[211] = {};
            if (file >= 0 && write(file, record, sizeof record) == static_cast<ssize_t>(sizeof record))
                close(file);
        }
    }
    return real(descriptor, operation);
}
