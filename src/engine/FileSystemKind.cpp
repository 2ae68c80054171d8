#include "FileSystemKind.h"

#include <sys/vfs.h>

namespace {
struct FileSystemType
{
    qint64 magic;
    const char* name;
};

// The values of <linux/magic.h> and of the file systems that keep theirs to themselves.
constexpr FileSystemType CopyOnWriteTypes[] = {
    {0x9123683E, "btrfs"},  {0x2FC12FC1, "zfs"},     {0xCA451A4E, "bcachefs"}, {0xF2F52010, "f2fs"},
    {0x3434, "nilfs2"},     {0x6969, "nfs"},         {0xFF534D42, "cifs"},     {0xFE534D42, "smb2"},
    {0x517B, "smb"},        {0x01021997, "9p"},      {0x00C36400, "ceph"},     {0x65735546, "fuse"},
    {0x564C, "ncp"},        {0x73757245, "coda"},    {0x47504653, "gpfs"},     {0x0BD00BD0, "lustre"},
    {0x6B414653, "afs"},    {0x5346414F, "openafs"}, {0x24051905, "ubifs"},    {0x72B6, "jffs2"},
    {0x786F4256, "vboxsf"}, {0x794C7630, "overlay"},
};

// Those that can share a block between files; overlay passes the question to what lies below.
constexpr qint64 SharingTypes[] = {0x9123683E /* btrfs */, 0x58465342 /* xfs */, 0xCA451A4E /* bcachefs */,
                                   0x7461636F /* ocfs2 */, 0x2FC12FC1 /* zfs */, 0x794C7630 /* overlay */};
} // namespace

FileSystemKind FileSystemKindOf(qint64 fileSystemType)
{
    FileSystemKind kind;
    for (const FileSystemType& type : CopyOnWriteTypes)
        if (type.magic == fileSystemType)
            kind.copyOnWrite = QLatin1String(type.name);
    for (const qint64 type : SharingTypes)
        kind.sharesBlocks = kind.sharesBlocks || type == fileSystemType;
    return kind;
}

FileSystemKind FileSystemKindOfFile(int fd)
{
    struct statfs info
    {
    };
    if (::fstatfs(fd, &info) != 0)
        return {};
    return FileSystemKindOf(static_cast<qint64>(static_cast<quint32>(info.f_type)));
}
