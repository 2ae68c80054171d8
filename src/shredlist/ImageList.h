#pragma once

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QString>

// Pictures under unique keys, in the order they were added, so that an index names the
// same picture for as long as the list is not cleared. The large-icon list also keeps the
// file type's name of each key in the picture's Tag.
class ImageList
{
public:
    // The index of the new picture, or of the one already stored under the key.
    int Add(const QString& key, const QPixmap& picture);
    // -1 when no picture has the key.
    int IndexOf(const QString& key) const;

    int Count() const { return int(m_images.size()); }
    QString Key(int index) const { return m_images.at(index).key; }
    QPixmap Picture(int index) const { return m_images.at(index).picture; }
    QString Tag(int index) const { return m_images.at(index).tag; }
    void SetTag(int index, const QString& tag) { m_images[index].tag = tag; }

    void Clear();

private:
    struct Image
    {
        QString key;
        QPixmap picture;
        QString tag;
    };
    QList<Image> m_images;
    QHash<QString, int> m_index;
};
