#include "TestEnvironment.h"

#include "../engine/TestFiles.h"
#include "platform/PathBytes.h"
#include "shredlist/FileIcons.h"
#include "shredlist/IconKey.h"
#include "shredlist/LstArray.h"
#include "shredlist/PathTable.h"
#include "shredlist/ShredList.h"
#include "shredlist/ShredListWindow.h"

#include <QApplication>

#include <functional>
#include <sys/stat.h>

namespace {
class FakeWindow : public ShredListWindow
{
public:
    void ShowForm() override
    {
        ++shown;
        if (onShow)
            onShow();
    }
    void HideForm() override {}
    void SetCountCaptions(const CountCaptions& c) override
    {
        captions = c;
        ++captionChanges;
    }
    void SetScroller(int min, int max, int value) override { scroller = {min, max, value}; }

    std::function<void()> onShow;
    int shown = 0;
    int captionChanges = 0;
    CountCaptions captions;
    QList<int> scroller;
};

QString TypeName(const char* mimeType)
{
    return QMimeDatabase().mimeTypeForName(QLatin1String(mimeType)).comment();
}
} // namespace

class TestShredList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    FakeWindow* m_window = nullptr;
    LstArray* m_view = nullptr;
    ShredList* m_list = nullptr;

    QString file(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path, "content");
        return path;
    }

    // Added one by one from the shell; a name ending in "/" is a folder.
    QStringList add(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names) {
            const bool folder = name.endsWith(QLatin1Char('/'));
            paths << (folder ? m_dir.filePath(name.chopped(1)) : file(name));
            QDir().mkpath(m_dir.filePath(folder ? name : QString()));
            m_list->AddPathFromShell(paths.last());
        }
        return paths;
    }

    QStringList viewTexts() const
    {
        QStringList texts;
        for (int i = 0; i < m_view->Count(); ++i)
            texts.append(m_view->Text(i));
        return texts;
    }

    void verifyBookkeeping(int count)
    {
        QCOMPARE(m_list->ItemCount(), count);
        QCOMPARE(m_list->FileArray().mid(0, count), viewTexts());
        QCOMPARE(m_window->captions, CountCaptionsFor(count));
    }

    void verifyPictures()
    {
        for (int i = 0; i < m_view->Count(); ++i) {
            const int icon = m_view->IconIndex(i);
            QCOMPARE(m_list->ilsIcons32().Key(icon), m_view->SubItem(i, 1));
            QCOMPARE(m_list->ilsIcons16().Key(icon), m_view->SubItem(i, 1));
        }
    }

private Q_SLOTS:
    // Programs, icons, libraries, controls and links have pictures of their own: their key is the
    // whole path.
    void iconKey_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("key");
        QTest::newRow("mixed case") << "/tmp/Photo.JpEg" << u"JPEG"_s;
        QTest::newRow("last dot counts") << "/tmp/x.tar.gz" << u"GZ"_s;
        QTest::newRow("hidden file") << "/home/u/.bashrc" << u"BASHRC"_s;
        QTest::newRow("no dot") << "/tmp/readme" << QString();
        for (const char* type : {"Setup.exe", "a.ico", "a.Dll", "a.ocx", "a.lnk"})
            QTest::newRow(type) << u"/tmp/"_s + QLatin1String(type)
                                << u"/TMP/"_s + QString::fromLatin1(type).toUpper();
    }

    void iconKey()
    {
        QFETCH(QString, path);
        QTEST(IconKey(path, false), "key");
        QCOMPARE(IconKey(path, true), u"DIR"_s);
    }

    void pathTableRefusesTheItemThatWouldOverflow()
    {
        PathTable table;
        for (int i = 0; i < PathTable::MaxItems; ++i)
            QVERIFY(table.Append(QString::number(i)));
        QCOMPARE(table.ItemCount(), qint16(32767));
        QVERIFY(!table.Append(u"one more"_s));
        QCOMPARE(table.ItemCount(), qint16(32767));
        QVERIFY(!table.CheckDup(u"one more"_s));
    }

    void init()
    {
        m_window = new FakeWindow;
        m_view = new LstArray;
        m_list = new ShredList(*m_window, *m_view);
    }

    void cleanup()
    {
        delete m_list;
        delete m_view;
        delete m_window;
        // rm walks down by descriptors, so it also removes paths too long for QDir to name.
        QProcess::execute(u"rm"_s, {u"-rf"_s, m_dir.path()});
        QDir().mkpath(m_dir.path());
    }

    void addsItemsWithKeysNamesAndSharedPictures()
    {
        QStringList paths = add({u"a.txt"_s});
        QCOMPARE(m_window->shown, 1);
        paths += add({u"sub/b.txt"_s, u"setup.exe"_s, u"other.EXE"_s, u"photos.d/"_s, u"v1.0/readme"_s});
        verifyBookkeeping(6);
        QCOMPARE(QStringList({m_view->SubItem(0, 1), m_view->SubItem(1, 2), m_view->SubItem(2, 1),
                              m_view->SubItem(4, 1) + m_view->SubItem(4, 2), m_view->SubItem(5, 1)}),
                 QStringList({u"TXT"_s, u"b.txt"_s, paths[2].toUpper(), u"DIRphotos.d"_s, u"0/README"_s}));
        for (int i = 0; i < 6; ++i)
            QVERIFY(m_view->Checked(i) && !m_view->Icon(i).isNull());
        // One picture per key, the same index in both lists: TXT, two programs, DIR, 0/README.
        const ImageList& large = m_list->ilsIcons32();
        QCOMPARE(QList({large.Count(), m_list->ilsIcons16().Count()}), QList({5, 5}));
        QVERIFY(m_view->IconIndex(0) == m_view->IconIndex(1) && m_view->IconIndex(2) != m_view->IconIndex(3));
        verifyPictures();
        QCOMPARE(QList({large.Picture(0).size(), m_list->ilsIcons16().Picture(0).size()}),
                 QList({QSize(32, 32), QSize(16, 16)}));
        QVERIFY(m_view->ImageListsBound());
        const int dir = m_view->IconIndex(4);
        QCOMPARE(large.Tag(dir), TypeName("inode/directory"));
        QCOMPARE(large.Tag(m_view->IconIndex(0)), TypeName("text/plain"));
        QVERIFY(large.Picture(dir).toImage() != large.Picture(m_view->IconIndex(0)).toImage());

        // A path listed already is refused; the same in other letters is another file.
        m_list->AddPathFromShell(paths[0]);
        verifyBookkeeping(6);
        QVERIFY(m_list->CheckDup(paths[0]) && !m_list->CheckDup(paths[0].toUpper()));
        m_list->AddtoArray(paths[0].toUpper());
        verifyBookkeeping(7);
    }

    // System items never reach the list; a launcher of the menu and paths too long for the kernel do.
    void refusedPathsNeverReachTheListButOddOnesDo()
    {
        const QString menu = TestEnvironment::dataHome() + u"/applications"_s;
        QDir().mkpath(menu);
        const QString fifo = m_dir.filePath(u"fifo"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString& path :
             {u"/"_s, u"/etc/passwd"_s, u"/dev/null"_s, fifo, QDir::homePath(), menu, menu + u'/'})
            m_list->AddPathFromShell(path);
        QCOMPARE(m_view->Count() + m_list->ItemCount() + m_window->shown + m_window->captionChanges, 0);
        // A launcher inside the menu folder is the user's to shred.
        const QString launcher = menu + u"/old.desktop"_s;
        QVERIFY(writeFile(launcher, {}));
        const QString deep = TestFiles::makeDeepFolder(m_dir.path());
        QVERIFY(PathBytes::encode(deep).size() > 4096);
        for (const QString& path : {launcher, deep, deep + u"/last"_s})
            m_list->AddPathFromShell(path);
        QCOMPARE(viewTexts(), (QStringList{launcher, deep, deep + u"/last"_s}));
        QCOMPARE(m_view->SubItem(1, 1), u"DIR"_s);
        QCOMPARE(m_list->ilsIcons32().Tag(m_view->IconIndex(1)), TypeName("inode/directory"));
        // "last" has no extension: only its content makes it text.
        QCOMPARE(m_list->ilsIcons32().Tag(m_view->IconIndex(2)), TypeName("text/plain"));
    }

    void additionsArrivingDuringAYieldKeepTheBookkeeping()
    {
        // Each showing of the window hands over one more path of a new type, as a drop would.
        QStringList pending;
        for (int i = 0; i < 10; ++i)
            pending.append(file(u"nested%1.type%1"_s.arg(i)));
        m_window->onShow = [&] {
            // Two hops: it arrives at the second yield, while the pictures are being fetched.
            if (!pending.isEmpty())
                QTimer::singleShot(0, [this, path = pending.takeFirst()] {
                    QTimer::singleShot(0, [this, path] { m_list->AddPathFromShell(path); });
                });
        };
        add({u"first.txt"_s});
        QTRY_COMPARE(m_view->Count(), 11);
        QCOMPARE(m_list->ItemCount(), qint16(11));
        QStringList texts = viewTexts(), table = m_list->FileArray();
        texts.sort();
        table.sort();
        QCOMPARE(table, texts);
        verifyPictures();
    }

    // SetScroll sizes the view to its rows; the scroller moves it past the fifteen that fit.
    void rowsOfABurstAreLaidOutToggleableAndScrolled()
    {
        m_list->SetScroll();
        QVERIFY(m_window->scroller.isEmpty());
        QWidget frame;
        frame.resize(400, 1200);
        m_view->setParent(&frame);
        m_view->setGeometry(0, 0, 400, 1200);
        frame.show();
        for (int i = 0; i < 20; ++i)
            add({u"f%1.txt"_s.arg(i)});
        QTRY_VERIFY(m_view->viewport()->updatesEnabled());
        const int row = m_view->ItemHeight();
        QVERIFY(row > 0);
        const QModelIndex last = m_view->model()->index(19, 0);
        const QRect rect = m_view->visualRect(last);
        QCOMPARE(rect.top(), 19 * row);
        QCOMPARE(m_view->indexAt(rect.center()), last);
        QCOMPARE(last.data(Qt::ToolTipRole).toString(), m_view->Text(19));
        // The check box as the view toggles it.
        QVERIFY(m_view->model()->setData(last, int(Qt::Unchecked), Qt::CheckStateRole));
        QVERIFY(!m_view->Checked(19) && m_view->Checked(18));
        m_view->move(0, -40);
        m_list->SetScroll();
        QCOMPARE(QList({m_view->height(), m_view->y()}), QList({20 * row, 0}));
        QCOMPARE(m_window->scroller, (QList<int>{0, 500, 0}));
        QList<int> tops;
        for (int value : {0, 350})
            tops << (m_list->ScrollList(500, value), m_view->y());
        QCOMPARE(tops, QList({-5 * row, -2 * row}));
        // Sixteen rows fit with the scroller's single step: it moves nothing.
        for (int i = 0; i < 4; ++i)
            m_view->RemoveItem(0);
        m_list->SetScroll();
        QCOMPARE(m_window->scroller, (QList<int>{0, 100, 0}));
        m_list->ScrollList(100, 0);
        QCOMPARE(m_view->y(), 0);
        m_view->setParent(nullptr);
    }
};

VANISTO_TEST_GUI_MAIN(TestShredList)
#include "tst_shredlist.moc"
