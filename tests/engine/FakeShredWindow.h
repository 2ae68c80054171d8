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
    std::function<void()> onYield = [] {};

    QString caption(Caption label) const override { return captions.value(label); }
    void setCaption(Caption label, const QString& text) override { captions[label] = text; }
    void setBarVisible(Bar bar, bool shown) override { visible[int(bar)] = shown; }
    void setBarMax(Bar bar, qint64 m) override { max[int(bar)] = m; }
    void setBarValue(Bar bar, qint64 v) override { highestValue = qMax(highestValue, value[int(bar)] = v); }
    bool expandVisible() const override { return expand; }
    void yield() override { onYield(); }
};

// 'A', 'B', 'C' ... 'Z', 'A' ...: every letter the engine draws is predictable.
class CyclingLetters : public LetterSource
{
public:
    char letter() override { return char('A' + (m_next++ % 26)); }

private:
    int m_next = 0;
};

// Records every block and each pattern's final length; forwards to the file unless told not to.
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

    // Recorded block by block, as the pattern lies over the file (an empty file's one block is empty).
    int writeBlocks(int fd, const QByteArray& block, qint64 length, qint64 offset, qint64* written) override
    {
        if (length == 0)
            record(offset, {});
        for (qint64 at = offset; at < offset + length;) {
            const qint64 piece = qMin(block.size() - at % block.size(), offset + length - at);
            record(at, block.mid(at % block.size(), piece));
            at += piece;
        }
        if (failWith != 0 || !forward) {
            *written = failWith != 0 ? 0 : length;
            return failWith;
        }
        return BlockWriter::writeBlocks(fd, block, length, offset, written);
    }
    void record(qint64 offset, const QByteArray& data)
    {
        ++count;
        lastOffset = offset;
        if (keepData)
            patterns.last().writes.append({offset, data});
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
        struct stat info = {};
        ::fstat(fd, &info);
        patterns.last().sizeAfter = info.st_size;
        patterns.append(PatternRecord());
        return forward ? BlockWriter::syncPattern(fd) : 0;
    }
};
