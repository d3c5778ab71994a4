#include "testsupport/faulty_system_calls.h"

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace rpn::test {

void FaultyCalls::Fail(Call call, int nth, int error)
{
    m_counts.clear();
    m_call = call;
    m_nth = nth;
    m_error = error;
    m_kill = false;
}

void FaultyCalls::Kill(Call call, int nth)
{
    Fail(call, nth, 0);
    m_kill = true;
}

bool FaultyCalls::Fails(Call call)
{
    if (++m_counts[call] != m_nth || call != m_call)
        return false;
    if (m_kill)
        std::raise(SIGKILL);
    errno = m_error;
    return true;
}

int FaultyCalls::Lstat(const char* path, struct stat* info)
{
    return Fails(Call::Lstat) ? -1 : SystemCalls::Lstat(path, info);
}

int FaultyCalls::Open(const char* path, int flags, mode_t mode)
{
    return Fails(Call::Open) ? -1 : SystemCalls::Open(path, flags, mode);
}

int FaultyCalls::OpenAt(int directory, const char* path, int flags, mode_t mode)
{
    return Fails(Call::OpenAt) ? -1 : SystemCalls::OpenAt(directory, path, flags, mode);
}

int FaultyCalls::Flock(int descriptor, int operation)
{
    return Fails(Call::Flock) ? -1 : SystemCalls::Flock(descriptor, operation);
}

int FaultyCalls::Fstat(int descriptor, struct stat* info)
{
    return Fails(Call::Fstat) ? -1 : SystemCalls::Fstat(descriptor, info);
}

int FaultyCalls::Ftruncate(int descriptor, off_t length)
{
    return Fails(Call::Ftruncate) ? -1 : SystemCalls::Ftruncate(descriptor, length);
}

int FaultyCalls::Fchmod(int descriptor, mode_t mode)
{
    return Fails(Call::Fchmod) ? -1 : SystemCalls::Fchmod(descriptor, mode);
}

ssize_t FaultyCalls::Write(int descriptor, const void* data, std::size_t size)
{
    if (Fails(Call::Write))
        return -1;
    return SystemCalls::Write(descriptor, data, m_piece != 0 ? std::min(size, m_piece) : size);
}

int FaultyCalls::Fsync(int descriptor)
{
    return Fails(Call::Fsync) ? -1 : SystemCalls::Fsync(descriptor);
}

int FaultyCalls::RenameAt(int fromDirectory, const char* from, int toDirectory, const char* to)
{
    return Fails(Call::RenameAt) ? -1 : SystemCalls::RenameAt(fromDirectory, from, toDirectory, to);
}

int FaultyCalls::Close(int descriptor)
{
    if (Fails(Call::Close)) {
        // As Linux does: the descriptor is gone all the same.
        const int error = errno;
        SystemCalls::Close(descriptor);
        errno = error;
        return -1;
    }
    return SystemCalls::Close(descriptor);
}

}  // namespace rpn::test
