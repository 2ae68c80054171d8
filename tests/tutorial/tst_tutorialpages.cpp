#include "TestEnvironment.h"
#include "tutorial/TutorialPages.h"

#include <QtTest>

using namespace TutorialPages;

class TestTutorialPages : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The product name is put in at run time wherever a text names the program.
    void productNameIsPutIn()
    {
        const QString product = QStringLiteral("Zyx");
        QVERIFY(ChapterTitle(5, product).contains(product));
        for (const auto& [chapter, page] : {std::pair{0, 0}, {0, 1}, {0, 2}, {1, 0}, {5, 0}, {7, 0}})
            QVERIFY2(PageAt(chapter, page, product).text.contains(product),
                     qPrintable(QString::number(chapter)));
        for (int chapter = 0; chapter < ChapterCount; ++chapter)
            for (int page = 0; page < PageCount(chapter); ++page)
                QVERIFY(!PageAt(chapter, page, product).text.contains(QStringLiteral("Vanisto")));
    }

    // Nothing the tutorial says is about a system this program does not run on.
    void textsSpeakOfThisSystem()
    {
        for (int chapter = 0; chapter < ChapterCount; ++chapter) {
            QVERIFY(!ChapterTitle(chapter, QStringLiteral("V")).contains(QStringLiteral("Windows")));
            for (int page = 0; page < PageCount(chapter); ++page) {
                const QString text = PageAt(chapter, page, QStringLiteral("V")).text;
                for (const char* foreign : {"Windows", "Recycle Bin", "unlimited"})
                    QVERIFY2(!text.contains(QLatin1String(foreign)), foreign);
            }
        }
        const QString whatItDoes = PageAt(2, 0, QStringLiteral("V")).text;
        for (const char* caveat : {"btrfs", "zfs", "snapshots", "SSD"})
            QVERIFY2(whatItDoes.contains(QLatin1String(caveat)), caveat);
    }

    void onlyChaptersZeroAndSevenHaveThreePages()
    {
        QCOMPARE(PageAt(7, 0, {}).next, 1);
        QCOMPARE(PageAt(7, 0, {}).back, -1);
        QCOMPARE(PageAt(7, 1, {}).back, 0);
        QCOMPARE(PageAt(0, 2, {}).next, -1);
        QCOMPARE(PageAt(0, 1, {}).picture, QStringLiteral("ImgIcon"));
        QCOMPARE(PageAt(3, 0, {}).next, -1);
        QVERIFY(PageAt(3, 1, {}).text.isEmpty());
        QVERIFY(PageAt(8, 0, {}).text.isEmpty());
        QVERIFY(PageAt(2, 0, {}).picture.isEmpty());
    }

    void textGoesBesideANarrowPictureAndBelowAWideOne_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("text");
        QTest::newRow("none") << QSize() << QRect(720, 1080, 5535, 2775);
        QTest::newRow("narrow") << QSize(2100, 1800) << QRect(2800, 1080, 3335, 2775);
        QTest::newRow("just narrower than wide") << QSize(3499, 1800) << QRect(4199, 1080, 1936, 2775);
        QTest::newRow("wide") << QSize(3500, 1950) << QRect(600, 3130, 5535, 725);
    }
    void textGoesBesideANarrowPictureAndBelowAWideOne()
    {
        QFETCH(QSize, picture);
        QFETCH(QRect, text);
        QCOMPARE(TextPlace(QPoint(600, 1080), picture), text);
    }
};

VANISTO_TEST_GUILESS_MAIN(TestTutorialPages)
#include "tst_tutorialpages.moc"
