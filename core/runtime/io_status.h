// The outcome of a file operation: success, or the error number (errno) that made it fail, so
// that the user can be told why ("the disk is full", "permission denied") and not only that.
#pragma once

#include <cerrno>

namespace quillet {

class [[nodiscard]] IoStatus {
  public:
    // Success.
    IoStatus() = default;
    // A failure with its cause. A cause of 0 becomes EIO: a failure never reads as a success.
    static IoStatus failure(int error) { return IoStatus(error == 0 ? EIO : error); }
    // A failure caused by what the last system call left in errno.
    static IoStatus from_errno() { return failure(errno); }

    bool ok() const { return error_ == 0; }
    explicit operator bool() const { return ok(); }
    // The errno of the failure, 0 for success.
    int error() const { return error_; }

    // The first failure of the two: a later step's success never hides an earlier failure.
    IoStatus& operator&=(const IoStatus& later) {
        if (ok()) error_ = later.error_;
        return *this;
    }

  private:
    explicit IoStatus(int error) : error_(error) {}
    int error_ = 0;
};

}  // namespace quillet
