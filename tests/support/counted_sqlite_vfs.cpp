#include "tests/support/counted_sqlite_vfs.h"

#include <sqlite3.h>

#include "core/runtime/file_calls.h"

namespace quillet::testing {

namespace {

sqlite3_vfs* real_vfs = nullptr;
sqlite3_vfs counted_vfs;
sqlite3_io_methods counted_methods;

// Our file, with SQLite's real one right after it.
struct CountedFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* real_of(sqlite3_file* file) { return reinterpret_cast<CountedFile*>(file)->real; }

int counted_close(sqlite3_file* file) { return real_of(file)->pMethods->xClose(real_of(file)); }
int counted_read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return real_of(file)->pMethods->xRead(real_of(file), buffer, amount, offset);
}
int counted_write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    before_file_change(FileCall::kStorePage);
    return real_of(file)->pMethods->xWrite(real_of(file), buffer, amount, offset);
}
int counted_truncate(sqlite3_file* file, sqlite3_int64 size) {
    before_file_change(FileCall::kStoreStep);
    return real_of(file)->pMethods->xTruncate(real_of(file), size);
}
int counted_sync(sqlite3_file* file, int flags) {
    before_file_change(FileCall::kStoreStep);
    return real_of(file)->pMethods->xSync(real_of(file), flags);
}
int counted_file_size(sqlite3_file* file, sqlite3_int64* size) {
    return real_of(file)->pMethods->xFileSize(real_of(file), size);
}
int counted_lock(sqlite3_file* file, int level) {
    return real_of(file)->pMethods->xLock(real_of(file), level);
}
int counted_unlock(sqlite3_file* file, int level) {
    return real_of(file)->pMethods->xUnlock(real_of(file), level);
}
int counted_check_reserved(sqlite3_file* file, int* out) {
    return real_of(file)->pMethods->xCheckReservedLock(real_of(file), out);
}
int counted_file_control(sqlite3_file* file, int operation, void* argument) {
    return real_of(file)->pMethods->xFileControl(real_of(file), operation, argument);
}
int counted_sector_size(sqlite3_file* file) { return real_of(file)->pMethods->xSectorSize(real_of(file)); }
int counted_device(sqlite3_file* file) {
    return real_of(file)->pMethods->xDeviceCharacteristics(real_of(file));
}
int counted_shm_map(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
    return real_of(file)->pMethods->xShmMap(real_of(file), region, size, extend, out);
}
int counted_shm_lock(sqlite3_file* file, int offset, int count, int flags) {
    return real_of(file)->pMethods->xShmLock(real_of(file), offset, count, flags);
}
void counted_shm_barrier(sqlite3_file* file) { real_of(file)->pMethods->xShmBarrier(real_of(file)); }
int counted_shm_unmap(sqlite3_file* file, int remove) {
    return real_of(file)->pMethods->xShmUnmap(real_of(file), remove);
}
int counted_fetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
    return real_of(file)->pMethods->xFetch(real_of(file), offset, amount, out);
}
int counted_unfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return real_of(file)->pMethods->xUnfetch(real_of(file), offset, page);
}

int counted_open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* out_flags) {
    auto* counted = reinterpret_cast<CountedFile*>(file);
    counted->real = reinterpret_cast<sqlite3_file*>(counted + 1);
    if ((flags & SQLITE_OPEN_CREATE) != 0) before_file_change(FileCall::kStoreStep);
    const int code = real_vfs->xOpen(real_vfs, name, counted->real, flags, out_flags);
    counted->base.pMethods = counted->real->pMethods != nullptr ? &counted_methods : nullptr;
    return code;
}

int counted_delete(sqlite3_vfs*, const char* name, int sync_folder) {
    before_file_change(FileCall::kStoreStep);
    return real_vfs->xDelete(real_vfs, name, sync_folder);
}

}  // namespace

void count_sqlite_file_changes() {
    if (real_vfs != nullptr) return;
    sqlite3_initialize();
    real_vfs = sqlite3_vfs_find(nullptr);
    counted_vfs = *real_vfs;
    counted_vfs.zName = "quillet-counted";
    counted_vfs.szOsFile = static_cast<int>(sizeof(CountedFile)) + real_vfs->szOsFile;
    counted_vfs.xOpen = counted_open;
    counted_vfs.xDelete = counted_delete;
    counted_vfs.pNext = nullptr;
    counted_methods = sqlite3_io_methods{3,
                                         counted_close,
                                         counted_read,
                                         counted_write,
                                         counted_truncate,
                                         counted_sync,
                                         counted_file_size,
                                         counted_lock,
                                         counted_unlock,
                                         counted_check_reserved,
                                         counted_file_control,
                                         counted_sector_size,
                                         counted_device,
                                         counted_shm_map,
                                         counted_shm_lock,
                                         counted_shm_barrier,
                                         counted_shm_unmap,
                                         counted_fetch,
                                         counted_unfetch};
    sqlite3_vfs_register(&counted_vfs, 1);
}

}  // namespace quillet::testing
