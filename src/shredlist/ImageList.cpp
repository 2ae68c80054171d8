#include "ImageList.h"

int ImageList::Add(const QString& key, const QPixmap& picture)
{
    if (const int existing = IndexOf(key); existing >= 0)
        return existing;
    m_images.append({key, picture, QString()});
    m_index.insert(key, Count() - 1);
    return Count() - 1;
}

int ImageList::IndexOf(const QString& key) const
{
    return m_index.value(key, -1);
}

void ImageList::Clear()
{
    m_images.clear();
    m_index.clear();
}
