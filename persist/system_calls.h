#pragma once

#include <sys/types.h>

#include <cstddef>

struct stat;

namespace rpn {

// The system calls the file layer makes, each one virtual so that a test can
// make any single step of a save or a load fail. The base class makes the
// real calls; every function returns what the system call returns and leaves
// errno as it left it.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    virtual int Open(const char* path, int flags, mode_t mode);
    virtual int OpenAt(int directory, const char* path, int flags, mode_t mode);
    // mkostemp: the template's XXXXXX become the name of the file created.
    virtual int MakeTemporary(char* pathTemplate, int flags);
    virtual ssize_t Read(int descriptor, void* buffer, std::size_t size);
    virtual ssize_t Write(int descriptor, const void* data, std::size_t size);
    virtual int Fstat(int descriptor, struct stat* info);
    virtual int Stat(const char* path, struct stat* info);
    virtual int Lstat(const char* path, struct stat* info);
    virtual int Fchmod(int descriptor, mode_t mode);
    virtual int Fchown(int descriptor, uid_t owner, gid_t group);
    virtual int Fsync(int descriptor);
    virtual int Close(int descriptor);
    virtual int LinkAt(int fromDirectory, const char* from, int toDirectory, const char* to, int flags);
    // renameat2; flags 0 is a plain rename.
    virtual int RenameAt(int fromDirectory, const char* from, int toDirectory, const char* to, unsigned flags);
    virtual int UnlinkAt(int directory, const char* path, int flags);
    virtual int AccessAt(int directory, const char* path, int mode, int flags);
};

}  // namespace rpn
