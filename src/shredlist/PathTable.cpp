#include "PathTable.h"

PathTable::PathTable()
{
    Clear();
}

bool PathTable::CheckDup(const QString& path) const
{
    return m_inUse.contains(path);
}

bool PathTable::Append(const QString& path)
{
    if (m_itemCount == MaxItems)
        return false;
    m_fileArray.resize(m_itemCount + 1);
    m_fileArray[m_itemCount] = path;
    m_inUse.insert(path);
    ++m_itemCount;
    return true;
}

void PathTable::Rebuild(const QStringList& paths)
{
    const QStringList kept = paths.first(qMin<qsizetype>(paths.size(), MaxItems));
    m_itemCount = qint16(kept.size());
    m_fileArray = kept;
    m_fileArray.append(QString());
    m_inUse = QSet<QString>(kept.cbegin(), kept.cend());
}

void PathTable::Clear()
{
    m_itemCount = 0;
    m_fileArray = QStringList{QString()};
    m_inUse.clear();
}
