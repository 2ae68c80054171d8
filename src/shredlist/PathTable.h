#pragma once

#include <QSet>
#include <QStringList>

// The Shred List's bookkeeping: ItemCount and FileArray, the paths in the order they were
// added, which the duplicate test searches. Slots 0 to ItemCount - 1 are in use; after a
// rebuild or a clear one empty spare slot follows them. A hash of the slots in use keeps
// the duplicate test at one look-up however long the list grows.
//
// The table describes the list as it was last added to or rebuilt: items a run removes
// stay here (and count as duplicates) until Rebuild.
class PathTable
{
public:
    // ItemCount is a 16-bit number.
    static constexpr int MaxItems = 32767;

    PathTable();

    qint16 ItemCount() const { return m_itemCount; }
    const QStringList& FileArray() const { return m_fileArray; }

    // True when a slot in use holds exactly this path (letter case counts).
    bool CheckDup(const QString& path) const;

    // Stores the path in the next slot. False, with nothing stored, when ItemCount would
    // overflow.
    bool Append(const QString& path);

    // Slots 0 to n - 1 := paths, plus the spare slot.
    void Rebuild(const QStringList& paths);

    // No items: the single spare slot 0.
    void Clear();

private:
    QStringList m_fileArray;
    QSet<QString> m_inUse;
    qint16 m_itemCount = 0;
};
