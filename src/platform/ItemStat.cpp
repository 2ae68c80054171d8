#include "ItemStat.h"

#include "ParentFolder.h"
#include "PathBytes.h"

#include <cerrno>

namespace {
// One call with the whole path answers nearly every item, and the Shred List asks for every path
// it is given; only a path the kernel refuses as too long pays for opening its folders one by one.
template <typename Call> int AtItem(const QString& path, Call call)
{
    const int result = call(AT_FDCWD, PathBytes::encode(path).constData());
    if (result >= 0 || errno != ENAMETOOLONG)
        return result;
    const ParentFolder parent = ParentFolder::open(path, true);
    if (!parent.isOpen()) {
        errno = parent.error();
        return -1;
    }
    return call(parent.fd(), parent.name().constData());
}
} // namespace

bool StatItem(const QString& path, struct stat* info, int flags)
{
    return AtItem(path, [&](int folder, const char* name) { return ::fstatat(folder, name, info, flags); }) ==
           0;
}

FileDescriptor OpenItem(const QString& path, int flags)
{
    return FileDescriptor(AtItem(
        path, [&](int folder, const char* name) { return ::openat(folder, name, flags | O_CLOEXEC); }));
}
