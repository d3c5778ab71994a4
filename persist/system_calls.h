#pragma once

#include <sys/types.h>

#include <cstddef>

struct stat;

namespace rpn {

// The errno of a refused directory, device, FIFO or socket (never a system's).
inline constexpr int kNotRegularFile = -1;

// The system calls the file layer makes, each one virtual so that a test can
// make any single step of a save or a load fail. The base class makes the
// real calls; every function returns what the system call returns and leaves
// errno as it left it.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    virtual int Open(const char* path, int flags, mode_t mode);
    virtual int OpenAt(int directory, const char* path, int flags, mode_t mode);
    virtual ssize_t Read(int descriptor, void* buffer, std::size_t size);
    virtual ssize_t Write(int descriptor, const void* data, std::size_t size);
    virtual int Fstat(int descriptor, struct stat* info);
    virtual int Stat(const char* path, struct stat* info);
    virtual int Lstat(const char* path, struct stat* info);
    virtual ssize_t ReadLink(const char* path, char* buffer, std::size_t size);
    virtual int Ftruncate(int descriptor, off_t length);
    virtual int Fchmod(int descriptor, mode_t mode);
    virtual int Fchown(int descriptor, uid_t owner, gid_t group);
    virtual int Fsync(int descriptor);
    virtual int Close(int descriptor);
    virtual int Flock(int descriptor, int operation);
    virtual int RenameAt(int fromDirectory, const char* from, int toDirectory, const char* to);
    virtual int UnlinkAt(int directory, const char* path, int flags);
    virtual int AccessAt(int directory, const char* path, int mode, int flags);
};

}  // namespace rpn
