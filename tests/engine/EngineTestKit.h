#pragma once

// What the engine's tests share: fake windows, a recording disk, and an engine set up over them.
#include "TestFiles.h"
#include "common/SharedState.h"
#include "engine/ShredEngine.h"
#include "engine/ShredRunWindow.h"
#include "engine/modShred.h"
#include "platform/PathBytes.h"

#include <algorithm>

// A window that keeps its captions and bars, idle at first; the main window a run sees is one too.
template <class Window = ShredWindow> class FakeShredWindow : public Window
{
public:
    QHash<Caption, QString> captions{{Caption::lblstatus, RunCaption::Stopped},
                                     {Caption::lblstatus2, RunCaption::Done}};
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

// Records every block and each pattern's final length, forwarding unless told not to; its letters
// run 'A', 'B' ... 'Z', 'A' ..., so every letter the engine draws is predictable.
class RecordingWriter : public BlockWriter, public LetterSource
{
public:
    int nextLetter = 0;
    char letter() override { return char('A' + (nextLetter++ % 26)); }
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
    bool keepData = true; // else only where each block went
    qint64 count = 0;
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
        patterns.last().writes.append({offset, keepData ? data : QByteArray()});
    }
    // The result of every folder sync: a rename or removal that never reached the disk shows here.
    QList<int> folderSyncs;
    int syncFolder(int folderFd, int sameFileSystemFd) override
    {
        folderSyncs.append(BlockWriter::syncFolder(folderFd, sameFileSystemFd));
        return folderSyncs.last();
    }
    std::function<void()> onSync = [] {};
    int syncPattern(int fd) override
    {
        onSync();
        struct stat info = {};
        ::fstat(fd, &info);
        patterns.last().sizeAfter = info.st_size;
        patterns.append(PatternRecord());
        return forward ? BlockWriter::syncPattern(fd) : 0;
    }
};

// A fresh engine over a fresh window and folder, with default settings (one wipe) and an empty queue.
// Recorded, it writes through the RecordingWriter and draws its letters; else as a run does.
class EngineRig
{
protected:
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeShredWindow<> m_window;
    RecordingWriter m_writer;
    QList<ShredEvent> m_events;
    std::unique_ptr<ShredEngine> m_engine;

    bool resetEngine(bool recorded)
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_window = FakeShredWindow<>();
        // As a run leaves it to the engine: a run has started, no file in progress.
        m_window.captions.insert(
            {{Caption::lblstatus, RunCaption::Shredding}, {Caption::lblshred, RunCaption::Shredding}});
        m_writer = RecordingWriter();
        m_events.clear();
        m_engine = std::make_unique<ShredEngine>(m_window);
        if (recorded) {
            m_engine->setLetterSource(&m_writer);
            m_engine->setBlockWriter(&m_writer);
        }
        m_engine->setEventHandler([this](const ShredEvent& event) { m_events.append(event); });
        Shared() = SharedState();
        Shared().NumOverwrite = 1;
        return m_dir->isValid() && PendingDeletions::save({});
    }
    QString path(const QString& name) const { return m_dir->filePath(name); }
    int eventsOf(ShredEvent::Kind k) const { return int(std::ranges::count(m_events, k, &ShredEvent::kind)); }
};

// The main window as the run sees it: an in-memory list, captions, and the warnings it asked for.
class FakeRunWindow : public FakeShredWindow<ShredRunWindow>
{
public:
    QList<std::pair<QString, QString>> items; // each item's path and icon key, all checked
    QSet<RunControl> shown{RunControl::btnYes, RunControl::btnNo, RunControl::btnShow,
                           RunControl::btnOptions};
    QHash<RunTimer, int> timers;
    QStringList calls;
    bool modifyAnswer = false;

    int ListCount() const override { return int(items.size()); }
    QString ListText(int i) const override { return items[i].first; }
    QString ListSubItem(int i, int column) const override
    {
        return column == 1 ? items[i].second : items[i].first.section(QLatin1Char('/'), -1);
    }
    bool ListChecked(int) const override { return true; }
    void RemoveListItem(int i) override { items.removeAt(i); }
    qint16 ItemCount() const override { return qint16(m_count); }
    void SetScroll() override {}
    void FixDups() override { m_count = int(items.size()); }
    void ClearAll(bool hide) override
    {
        items.clear();
        calls << QStringLiteral("ClearAll(%1)").arg(QLatin1String(hide ? "true" : "false"));
    }
    bool ControlVisible(RunControl c) const override { return shown.contains(c); }
    void SetControlVisible(RunControl c, bool on) override
    {
        on ? void(shown.insert(c)) : void(shown.remove(c));
    }
    void SetShredColor(quint32) override {}
    void SetShredTip(const QString& text) override { calls << QStringLiteral("tip ") + text; }
    int TimerInterval(RunTimer t) const override { return timers.value(t); }
    void SetTimerInterval(RunTimer t, int ms) override { timers[t] = ms; }
    void ShrinkToHiddenSize() override { calls << QStringLiteral("shrink"); }
    void HideList() override { shown.insert(RunControl::btnShow); }
    bool DoNotShredWarning() override
    {
        calls << QStringLiteral("DoNotShredWarning");
        return modifyAnswer;
    }
    void LockedFilesWarning() override { calls << QStringLiteral("LockedFilesWarning"); }
    void CopyOnWriteWarning() override { calls << QStringLiteral("CopyOnWriteWarning"); }

    void add(const QStringList& paths, const QString& key = QStringLiteral("0/X"))
    {
        for (const QString& path : paths)
            items.append({path, key});
        m_count = int(items.size());
    }

private:
    int m_count = 0;
};
