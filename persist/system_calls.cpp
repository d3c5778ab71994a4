#include "persist/system_calls.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rpn {

int SystemCalls::Open(const char* path, int flags, mode_t mode)
{
    return ::open(path, flags, mode);
}

int SystemCalls::OpenAt(int directory, const char* path, int flags, mode_t mode)
{
    return ::openat(directory, path, flags, mode);
}

ssize_t SystemCalls::Read(int descriptor, void* buffer, std::size_t size)
{
    return ::read(descriptor, buffer, size);
}

ssize_t SystemCalls::Write(int descriptor, const void* data, std::size_t size)
{
    return ::write(descriptor, data, size);
}

int SystemCalls::Fstat(int descriptor, struct stat* info)
{
    return ::fstat(descriptor, info);
}

int SystemCalls::Stat(const char* path, struct stat* info)
{
    return ::stat(path, info);
}

int SystemCalls::Lstat(const char* path, struct stat* info)
{
    return ::lstat(path, info);
}

ssize_t SystemCalls::ReadLink(const char* path, char* buffer, std::size_t size)
{
    return ::readlink(path, buffer, size);
}

int SystemCalls::Ftruncate(int descriptor, off_t length)
{
    return ::ftruncate(descriptor, length);
}

int SystemCalls::Fchmod(int descriptor, mode_t mode)
{
    return ::fchmod(descriptor, mode);
}

int SystemCalls::Fchown(int descriptor, uid_t owner, gid_t group)
{
    return ::fchown(descriptor, owner, group);
}

int SystemCalls::Fsync(int descriptor)
{
    return ::fsync(descriptor);
}

int SystemCalls::Close(int descriptor)
{
    return ::close(descriptor);
}

int SystemCalls::Flock(int descriptor, int operation)
{
    return ::flock(descriptor, operation);
}

int SystemCalls::RenameAt(int fromDirectory, const char* from, int toDirectory, const char* to)
{
    return ::renameat(fromDirectory, from, toDirectory, to);
}

int SystemCalls::UnlinkAt(int directory, const char* path, int flags)
{
    return ::unlinkat(directory, path, flags);
}

int SystemCalls::AccessAt(int directory, const char* path, int mode, int flags)
{
    return ::faccessat(directory, path, mode, flags);
}

}  // namespace rpn
