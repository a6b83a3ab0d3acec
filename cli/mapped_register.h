// A register mapped into memory for a read-only subcommand: the kernel copies nothing, so reading a
// million records costs little more than touching them. Should another program shorten the file
// while it is mapped (an undone append), reading past its new end would fault: the tool then says
// the register changed and ends with exit code 3, having written nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/runtime/io_status.h"

namespace quillet::cli {

class MappedRegister {
  public:
    MappedRegister() = default;
    ~MappedRegister();
    MappedRegister(const MappedRegister&) = delete;
    MappedRegister& operator=(const MappedRegister&) = delete;

    IoStatus open(const std::string& path);
    std::int64_t count() const { return count_; }
    const std::uint8_t* record(std::int64_t slot) const;

  private:
    const std::uint8_t* bytes_ = nullptr;
    std::size_t length_ = 0;
    std::int64_t count_ = 0;
};

}  // namespace quillet::cli
