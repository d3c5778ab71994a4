#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <map>
#include <optional>

#include "persist/system_calls.h"

namespace rpn::test {

enum class Call { Lstat, Open, OpenAt, Flock, Fstat, Ftruncate, Fchmod, Write, Fsync, RenameAt, Close };

// The real calls, except that the nth call of one kind (counted from the last
// Fail or Kill) fails with an error, or ends the process with SIGKILL just
// before it is made, as a kill at that very moment would.
class FaultyCalls final : public SystemCalls {
public:
    void Fail(Call call, int nth, int error);
    void Kill(Call call, int nth);
    // Short writes: at most this many bytes a call.
    void WritePieces(std::size_t size) { m_piece = size; }
    int Count(Call call) const { return m_counts.contains(call) ? m_counts.at(call) : 0; }

    int Lstat(const char* path, struct stat* info) override;
    int Open(const char* path, int flags, mode_t mode) override;
    int OpenAt(int directory, const char* path, int flags, mode_t mode) override;
    int Flock(int descriptor, int operation) override;
    int Fstat(int descriptor, struct stat* info) override;
    int Ftruncate(int descriptor, off_t length) override;
    int Fchmod(int descriptor, mode_t mode) override;
    ssize_t Write(int descriptor, const void* data, std::size_t size) override;
    int Fsync(int descriptor) override;
    int RenameAt(int fromDirectory, const char* from, int toDirectory, const char* to) override;
    int Close(int descriptor) override;

private:
    // Counts the call; true when it is the one to fail (errno is then set).
    bool Fails(Call call);

    std::map<Call, int> m_counts;
    std::optional<Call> m_call;
    int m_nth = 0;
    int m_error = 0;
    bool m_kill = false;
    std::size_t m_piece = 0;
};

// The steps of a save that can fail, in the order a save replacing an
// existing file makes them (a new file skips the permission bits).
struct SaveStep {
    const char* what;
    Call call;
    int nth;
    int error;
    // Failing after the rename is reported, but the new file is in place.
    bool afterRename = false;
    // The save cannot tell that the temporary file is its own and leaves it
    // for the next save.
    bool leavesTemporary = false;
};

inline constexpr SaveStep kSaveSteps[] = {
    {"looking at the target", Call::Lstat, 1, EIO, false},
    {"opening the directory", Call::Open, 1, EACCES, false},
    {"making the temporary file", Call::OpenAt, 1, ENOSPC, false},
    {"locking it", Call::Flock, 1, EWOULDBLOCK, false, true},
    {"checking what was locked", Call::Fstat, 1, EIO, false, true},
    {"checking its name", Call::Lstat, 2, EIO, false, true},
    {"emptying it", Call::Ftruncate, 1, EIO, false},
    {"permission bits", Call::Fchmod, 1, EPERM, false},
    {"first write", Call::Write, 1, ENOSPC, false},
    {"write after a short one", Call::Write, 2, ENOSPC, false},
    {"file sync", Call::Fsync, 1, EIO, false},
    {"rename", Call::RenameAt, 1, EIO, false},
    {"file close", Call::Close, 1, EIO, true},
    {"directory sync", Call::Fsync, 2, EIO, true},
};

}  // namespace rpn::test
