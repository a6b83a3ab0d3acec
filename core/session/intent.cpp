#include "core/session/intent.h"

#include <xxhash.h>

#include <optional>
#include <random>

#include "core/register/record.h"
#include "core/register/register_lock.h"
#include "core/runtime/atomic_replace.h"
#include "core/runtime/file_access.h"
#include "core/store/companion_store.h"

namespace quillet {

namespace {

constexpr std::string_view kIntentSuffix = ".qintent";
constexpr std::string_view kMagic = "QLINTENT";
constexpr std::uint32_t kFormat = 1;

void put_u64(std::string& out, std::uint64_t value) {
    std::uint8_t bytes[8];
    put_u32(bytes, static_cast<std::uint32_t>(value));
    put_u32(bytes + 4, static_cast<std::uint32_t>(value >> 32));
    out.append(reinterpret_cast<const char*>(bytes), 8);
}

void put_text(std::string& out, std::string_view text) {
    std::uint8_t size[4];
    put_u32(size, static_cast<std::uint32_t>(text.size()));
    out.append(reinterpret_cast<const char*>(size), 4);
    out.append(text);
}

// Reads the intent's fields in order; any read past the end fails the whole reading.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    std::uint64_t u64() {
        const std::string_view piece = take(8);
        if (!ok_) return 0;
        const auto* at = reinterpret_cast<const std::uint8_t*>(piece.data());
        return get_u32(at) | (std::uint64_t{get_u32(at + 4)} << 32);
    }
    std::uint32_t u32() {
        const std::string_view piece = take(4);
        return ok_ ? get_u32(reinterpret_cast<const std::uint8_t*>(piece.data())) : 0;
    }
    std::string text() { return std::string(take(u32())); }
    std::string_view take(std::size_t count) {
        if (!ok_ || bytes_.size() - at_ < count) {
            ok_ = false;
            return {};
        }
        const std::string_view piece = bytes_.substr(at_, count);
        at_ += count;
        return piece;
    }
    bool at_end() const { return at_ == bytes_.size(); }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::string encoded(const Intent& intent) {
    std::string out(kMagic);
    std::uint8_t format[4];
    put_u32(format, kFormat);
    out.append(reinterpret_cast<const char*>(format), 4);
    put_u64(out, intent.number);
    out += intent.has_store_part ? '\1' : '\0';
    put_u64(out, static_cast<std::uint64_t>(intent.old_length));
    put_u64(out, intent.pieces.size());
    for (const Intent::Piece& piece : intent.pieces) {
        put_u64(out, static_cast<std::uint64_t>(piece.offset));
        put_text(out, piece.bytes);
    }
    put_u64(out, intent.kept.size());
    for (const Intent::Kept& kept : intent.kept) {
        put_text(out, kept.file);
        put_text(out, kept.kept);
    }
    put_u64(out, XXH3_64bits(out.data(), out.size()));
    return out;
}

bool decoded(std::string_view bytes, Intent& intent) {
    if (bytes.size() < kMagic.size() + 12) return false;
    const std::string_view body = bytes.substr(0, bytes.size() - 8);
    Reader check(bytes.substr(body.size()));
    if (check.u64() != XXH3_64bits(body.data(), body.size())) return false;
    Reader in(body);
    if (in.take(kMagic.size()) != kMagic || in.u32() != kFormat) return false;
    intent = {};
    intent.number = in.u64();
    intent.has_store_part = in.take(1) == std::string_view("\1", 1);
    intent.old_length = static_cast<std::int64_t>(in.u64());
    for (std::uint64_t count = in.u64(); in.ok() && count > 0; --count) {
        Intent::Piece piece;
        piece.offset = static_cast<std::int64_t>(in.u64());
        piece.bytes = in.text();
        intent.pieces.push_back(std::move(piece));
    }
    for (std::uint64_t count = in.u64(); in.ok() && count > 0; --count) {
        Intent::Kept kept;
        kept.file = in.text();
        kept.kept = in.text();
        intent.kept.push_back(std::move(kept));
    }
    return in.ok() && in.at_end();
}

// The register's own file: where a link at the path leads.
std::string register_file_of(const std::string& path) {
    std::string file;
    return link_target(path, file) ? file : path;
}

// Writes the pieces back and gives the register its old length, synced.
IoStatus put_back_register(const std::string& path, const Intent& intent) {
    if (intent.pieces.empty() && intent.old_length < 0) return {};
    IoStatus opened;
    const int file = open_existing_file(kAnyFileNumber, path, file_flags::kNoBuffering, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    for (const Intent::Piece& piece : intent.pieces) {
        if (!seek_file(file, piece.offset)) return IoStatus::failure(EINVAL);
        if (const IoStatus written =
                write_bytes(file, piece.bytes.data(), static_cast<std::int64_t>(piece.bytes.size()));
            !written)
            return written;
    }
    if (intent.old_length >= 0 && file_length(file) != intent.old_length) {
        if (const IoStatus cut = truncate_file(file, intent.old_length); !cut) return cut;
    }
    if (const IoStatus flushed = flush_file(file); !flushed) return flushed;
    return closer.close();
}

}  // namespace

std::string intent_path_of(const std::string& register_path) {
    return register_file_of(register_path) + std::string(kIntentSuffix);
}

std::string kept_path_of(const std::string& register_path, int which) {
    return intent_path_of(register_path) + "-kept" + std::to_string(which);
}

std::uint64_t new_change_number() {
    static thread_local std::mt19937_64 numbers{std::random_device{}()};
    std::uint64_t number = 0;
    while (number == 0) number = numbers();
    return number;
}

IoStatus write_intent(const std::string& register_path, const Intent& intent) {
    return replace_file_contents(intent_path_of(register_path), encoded(intent));
}

IoStatus read_intent(const std::string& register_path, Intent& intent) {
    IoStatus opened;
    const int file = read_open_file(kAnyFileNumber, intent_path_of(register_path), 0, &opened);
    if (file < 0) return opened;
    FileCloser closer(file);
    const std::int64_t length = file_length(file);
    std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(length, 0)), '\0');
    if (length < 0 || read_bytes(file, bytes.data(), length) != length) return IoStatus::failure(EIO);
    return decoded(bytes, intent) ? IoStatus() : IoStatus::failure(EBADMSG);
}

IoStatus keep_file(const std::string& file, const std::string& kept) {
    if (names_anything(kept)) (void)delete_file(kept, kDeleteReadOnly);
    if (link_file(file, kept)) return {};
    return copy_file(file, kept);
}

IoStatus finish_intent(const std::string& register_path, const Intent& intent) {
    // The intent goes first: for a change without a store part, that is what makes it made. A kept
    // file a kill leaves after it is no longer named by anything, and goes at the next settling.
    if (names_anything(intent_path_of(register_path))) {
        if (const IoStatus gone = delete_file(intent_path_of(register_path)); !gone) return gone;
    }
    for (const Intent::Kept& kept : intent.kept) {
        if (!kept.kept.empty() && names_anything(kept.kept)) {
            if (const IoStatus gone = delete_file(kept.kept, kDeleteReadOnly); !gone) return gone;
        }
    }
    return {};
}

IoStatus roll_back(const std::string& register_path, const Intent& intent) {
    for (auto kept = intent.kept.rbegin(); kept != intent.kept.rend(); ++kept) {
        IoStatus back;
        if (kept->kept.empty()) {
            // The change made this file: it goes again.
            if (names_anything(kept->file)) back = delete_file(kept->file, kDeleteReadOnly);
        } else if (names_anything(kept->kept)) {
            // Still the same file (the change stopped before it replaced it): a rename of a file
            // over another name of itself does nothing, so the kept name simply goes.
            back = file_stamp(kept->kept) == file_stamp(kept->file) ? delete_file(kept->kept, kDeleteReadOnly)
                                                                    : rename_file(kept->kept, kept->file);
        }
        // No kept file: the change stopped before it kept one, and the file is untouched.
        if (!back) return back;
    }
    if (const IoStatus put = put_back_register(register_file_of(register_path), intent); !put) return put;
    return delete_file(intent_path_of(register_path));
}

// Removes the kept files no intent names (a kill came between removing an intent and them), under
// the register's lock, so that a change of another program that is keeping them keeps them.
IoStatus remove_unnamed_kept_files(const std::string& register_path) {
    const std::string kept[] = {kept_path_of(register_path, 0), kept_path_of(register_path, 1)};
    if (!names_anything(kept[0]) && !names_anything(kept[1])) return {};
    std::optional<RegisterLock> lock;
    if (file_size(register_path) >= 0) {
        lock.emplace(register_path);
        if (!lock->held()) return lock->status();
    }
    if (names_anything(intent_path_of(register_path))) return {};
    for (const std::string& file : kept) {
        if (names_anything(file)) {
            if (const IoStatus gone = delete_file(file, kDeleteReadOnly); !gone) return gone;
        }
    }
    return {};
}

IoStatus settle_register(const std::string& register_path) {
    if (!names_anything(intent_path_of(register_path))) return remove_unnamed_kept_files(register_path);
    std::optional<RegisterLock> lock;
    if (file_size(register_path) >= 0) {
        lock.emplace(register_path);
        if (!lock->held()) return lock->status();
    }
    Intent intent;
    const IoStatus read = read_intent(register_path, intent);
    if (read.error() == ENOENT) return {};  // another program settled it meanwhile
    // Intents are written whole and renamed into place: one that does not read is damage from
    // elsewhere, and names nothing this program could trust. The register is then checked as it is.
    if (read.error() == EBADMSG) return delete_file(intent_path_of(register_path));
    if (!read) return read;
    bool made = false;
    if (intent.has_store_part) {
        CompanionStore store;
        const IoStatus opened = store.open_to_settle(store_path_of(register_path));
        if (opened) {
            std::uint64_t last = 0;
            if (const IoStatus asked = store.last_change(last); !asked) return asked;
            made = last == intent.number;
        } else if (opened.error() != ENOENT && opened.error() != EBADMSG && opened.error() != EPROTO) {
            // Busy, or where a link leads is not there now: nothing can tell yet; tried again later.
            return opened;
        }
    }
    return made ? finish_intent(register_path, intent) : roll_back(register_path, intent);
}

}  // namespace quillet
