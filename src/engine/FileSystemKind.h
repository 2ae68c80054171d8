#pragma once

#include <QString>
#include <QtGlobal>

// What the engine must know of the file system that holds a file.
struct FileSystemKind
{
    // The name of a file system where writing over a file in place does not reach the blocks
    // that held its old content: copy-on-write and log-structured ones write elsewhere,
    // network ones hand the bytes to a server whose disk we cannot see. Empty where
    // overwriting in place does reach the old blocks.
    QString copyOnWrite;
    // True where two files may share blocks (reflink copies, snapshots, block cloning), so that
    // a file's extents must be asked whether they are its own.
    bool sharesBlocks = false;
};

// The kind of a statfs f_type.
FileSystemKind FileSystemKindOf(qint64 fileSystemType);
// The kind of the file system that holds an open file; an empty kind when fstatfs fails.
FileSystemKind FileSystemKindOfFile(int fd);
