#pragma once

#include "engine/BlockWriter.h"
#include "engine/LetterSource.h"
#include "engine/ShredWindow.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <functional>
#include <sys/stat.h>

// The window as a shred run leaves it: a run has started, no file in progress.
class FakeShredWindow : public ShredWindow
{
public:
    QHash<Caption, QString> captions{{Caption::lblstatus, RunCaption::Shredding},
                                     {Caption::lblstatus2, RunCaption::Done},
                                     {Caption::lblshred, RunCaption::Shredding}};
    qint64 max[2] = {0, 0};
    qint64 value[2] = {0, 0};
    qint64 highestValue = 0;
    bool visible[2] = {false, false};
    bool expand = false;
    std::function<void()> onYield;

    QString caption(Caption label) const override { return captions.value(label); }
    void setCaption(Caption label, const QString& text) override { captions[label] = text; }
    void setBarVisible(Bar bar, bool shown) override { visible[int(bar)] = shown; }
    void setBarMax(Bar bar, qint64 m) override { max[int(bar)] = m; }
    void setBarValue(Bar bar, qint64 v) override
    {
        value[int(bar)] = v;
        highestValue = qMax(highestValue, v);
    }
    bool expandVisible() const override { return expand; }
    void yield() override
    {
        if (onYield)
            onYield();
    }
};

// 'A', 'B', 'C' ... 'Z', 'A' ...: every letter the engine draws is predictable.
class CyclingLetters : public LetterSource
{
public:
    char letter() override { return char('A' + (m_next++ % 26)); }

private:
    int m_next = 0;
};

// Records every block and the file's length at the end of each pattern; forwards to the real
// file unless told not to (a sparse file of several GiB is then only counted).
class RecordingWriter : public BlockWriter
{
public:
    struct Write
    {
        qint64 offset;
        QByteArray data;
    };
    struct PatternRecord
    {
        QList<Write> writes;
        qint64 sizeAfter = -1;
    };
    QList<PatternRecord> patterns{PatternRecord()};
    bool forward = true;
    bool keepData = true;
    qint64 count = 0;
    qint64 lastOffset = -1;
    int failWith = 0;

    int writeBlock(int fd, const char* data, qint64 length, qint64 offset, qint64* written) override
    {
        ++count;
        lastOffset = offset;
        if (keepData)
            patterns.last().writes.append({offset, QByteArray(data, length)});
        if (failWith != 0) {
            *written = 0;
            return failWith;
        }
        if (!forward) {
            *written = length;
            return 0;
        }
        return BlockWriter::writeBlock(fd, data, length, offset, written);
    }
    // The result of every folder sync: a rename or removal that never reached the disk shows here.
    QList<int> folderSyncs;
    int syncFolder(int folderFd, int sameFileSystemFd) override
    {
        folderSyncs.append(BlockWriter::syncFolder(folderFd, sameFileSystemFd));
        return folderSyncs.last();
    }
    int syncPattern(int fd) override
    {
        struct stat info
        {
        };
        ::fstat(fd, &info);
        patterns.last().sizeAfter = info.st_size;
        patterns.append(PatternRecord());
        return forward ? BlockWriter::syncPattern(fd) : 0;
    }
};
