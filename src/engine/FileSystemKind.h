#pragma once

#include <QString>
#include <QtGlobal>

// File systems where writing over a file in place does not reach the blocks that held its old
// content: copy-on-write and log-structured ones write elsewhere, network ones hand the bytes
// to a server whose disk we cannot see. Returns the file system's name for such a statfs
// f_type, or an empty string where overwriting in place does reach the old blocks.
QString CopyOnWriteFileSystemName(qint64 fileSystemType);

// The same test for the file system that holds an open file; empty when fstatfs fails.
QString CopyOnWriteFileSystemOf(int fd);
