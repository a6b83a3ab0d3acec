// The preference store: an INI-style file (groups in square brackets, key=value lines, comment
// lines after ";") read whole into memory when opened, looked up and changed there, and written
// back whole when closed, only if something changed. Order, comments and unknown entries survive
// a rewrite; blank lines and spacing are normalised, and every line ends in CR LF.
//
// Texts passed in and out are the program's 8-bit texts. A file that starts with the UTF-8
// byte-order mark is held in UTF-8 and converted at the border; any other file is read as
// ISO 8859-1 bytes. Group and key names are compared without regard to the case of ASCII letters.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>

#include "core/runtime/io_status.h"

namespace quillet {

// Output options, given at open and used by the rewrite at close.
namespace preference_output {
inline constexpr int kCompactKeys = 1;            // "name=value" instead of "name = value"
inline constexpr int kBlankLineBeforeGroups = 2;  // an empty line before every group but the first
}  // namespace preference_output

class PreferenceStore {
  public:
    PreferenceStore() = default;
    // Discards the store without writing: changes reach the file through close() only.
    ~PreferenceStore() = default;
    PreferenceStore(const PreferenceStore&) = delete;
    PreferenceStore& operator=(const PreferenceStore&) = delete;

    // Closes the store that is open, then reads the file. False when the file cannot be read; the
    // path is kept all the same, so that writes and close() create the file.
    bool open(const std::string& path, int output_options);
    // Writes the file back if anything changed, then clears the store. The rewrite replaces the
    // file in one step; a file that exists but may not be written (EACCES) or could not be read
    // (EIO) is left alone and the changes are lost. Fails only when a rewrite was due and did not
    // happen.
    IoStatus close();

    // Makes the named group current. An empty name selects the part before the first group.
    // A name not found becomes the pending group: reads find nothing until a group is selected,
    // and the next write creates the group at the end of the file.
    bool select_group(std::string_view name);

    // The key's value in the current group, without surrounding spaces and tabs, or the default.
    std::string read_text(std::string_view key, std::string_view default_text = {}) const;
    // The key's value read as a decimal integer (digits after an optional sign, up to the first
    // non-digit; none gives 0), or the default when the key is absent.
    std::int32_t read_integer(std::string_view key, std::int32_t default_value) const;

    // A path: the operating system's bytes, stored and read as they are in 8-bit and UTF-8 files
    // alike (no conversion), with the reading rules of read_text.
    std::string read_path(std::string_view key, std::string_view default_path = {}) const;
    void write_path(std::string_view key, std::string_view path);

    // The key walk over the current group. next_key() moves to the group's next key (comments
    // are skipped) and is false at the group's end.
    bool start_key_walk();
    bool next_key();
    std::string current_key_name() const;
    std::string current_key_value() const;

    // Sets the key in the current group, creating a pending group first; a new key goes after the
    // last entry of its group. A found key takes the spelling of the name passed in.
    void write_text(std::string_view key, std::string_view value);
    void write_integer(std::string_view key, std::int32_t value);

    // Drops the first group of that name with all its keys and comments; false when there was none.
    bool remove_group(std::string_view name);

    // Whether a file was read by the last open (false after close()).
    bool is_open() const { return has_contents_; }
    bool opened_read_only() const { return read_only_; }
    bool is_utf8() const { return utf8_; }

  private:
    struct Entry {
        enum class Kind { kGroup, kComment, kKey };
        Kind kind;
        std::string name;   // the group name, the comment text or the key name
        std::string value;  // keys only
    };
    using Chain = std::list<Entry>;
    using Position = Chain::iterator;
    using ConstPosition = Chain::const_iterator;

    void parse(std::string_view text);
    void clear();
    std::string to_store(std::string_view text) const;
    std::string from_store(std::string_view text) const;
    std::string trimmed_from_store(std::string_view value) const;
    // The first entry of the current group, after its group line.
    ConstPosition group_start() const;
    // The group line that ends the group holding from, or the chain's end.
    ConstPosition group_end(ConstPosition from) const;
    std::optional<ConstPosition> find_key(std::string_view key) const;
    // Sets the key to the value, already in the file's encoding.
    void write_stored(std::string_view key, std::string stored_value);
    std::string render() const;

    bool has_store_ = false;     // a path is kept, even if the file could not be read
    bool has_contents_ = false;  // the file was read
    bool read_only_ = false;
    bool utf8_ = false;
    bool changed_ = false;
    int output_options_ = 0;
    std::string path_;
    Chain entries_;
    std::optional<Position> current_group_;  // none: the part before the first group
    std::optional<Position> walk_;           // entries_.end() stands for "before the first entry"
    std::optional<std::string> pending_group_;
};

// Conversions at the store's border. Every byte from 0x80 up becomes the two-byte UTF-8 form of
// the code point with that value. Back: two-byte forms of code points below 256 become that byte;
// longer forms, code points from 256 up and malformed sequences become "?"; a stray byte that
// cannot start a sequence is dropped.
std::string latin1_to_utf8(std::string_view text);
std::string utf8_to_latin1(std::string_view text);

}  // namespace quillet
