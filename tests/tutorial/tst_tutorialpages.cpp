#include "TestEnvironment.h"
#include "tutorial/TutorialPages.h"

#include <QtTest>

using namespace TutorialPages;
using namespace Qt::StringLiterals;

class TestTutorialPages : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The product name is put in at run time wherever a text names the program, and nothing the
    // tutorial says is about a system this program does not run on.
    void textsNameTheProductAndThisSystem()
    {
        const QString product = u"Zyx"_s;
        QVERIFY(ChapterTitle(5, product).contains(product));
        for (const auto& [chapter, page] : {std::pair{0, 0}, {0, 1}, {0, 2}, {1, 0}, {5, 0}, {7, 0}})
            QVERIFY(PageAt(chapter, page, product).text.contains(product));
        for (int chapter = 0; chapter < ChapterCount; ++chapter)
            for (int page = 0; page < PageCount(chapter); ++page)
                for (const char* foreign : {"Vanisto", "Windows", "Recycle Bin", "unlimited"})
                    QVERIFY2(!PageAt(chapter, page, product).text.contains(QLatin1String(foreign)), foreign);
        for (const char* caveat : {"btrfs", "zfs", "snapshots", "SSD"})
            QVERIFY2(PageAt(2, 0, product).text.contains(QLatin1String(caveat)), caveat);
        // No page past a chapter's last, nor past the last chapter.
        QVERIFY(PageAt(3, 1, product).text.isEmpty() && PageAt(8, 0, product).text.isEmpty());
    }

    // No picture, a narrow one, one just narrower than wide, and a wide one.
    void textGoesBesideANarrowPictureAndBelowAWideOne()
    {
        QList<QRect> places;
        for (QSize picture : {QSize(), QSize(2100, 1800), QSize(3499, 1800), QSize(3500, 1950)})
            places << TextPlace(QPoint(600, 1080), picture);
        QCOMPARE(places, QList<QRect>({{720, 1080, 5535, 2775},
                                       {2800, 1080, 3335, 2775},
                                       {4199, 1080, 1936, 2775},
                                       {600, 3130, 5535, 725}}));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestTutorialPages)
#include "tst_tutorialpages.moc"
