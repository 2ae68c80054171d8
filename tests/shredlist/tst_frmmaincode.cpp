#include "TestEnvironment.h"
#include "UserActions.h"
#include "engine/PendingDeletions.h"

#include "../engine/TestFiles.h"
#include "../skin/MouseEvents.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "dialogs/TutorialOpener.h"
#include "platform/CommandRelay.h"
#include "platform/PathBytes.h"
#include "platform/SentinelSentence.h"
#include "platform/ShellMenu.h"
#include "shredlist/CountCaptions.h"
#include "shredlist/LstArray.h"
#include "shredlist/frmMainCode.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/cpvProgressBar.h"
#include "skin/modSkinForm.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <QPointer>

#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
const QString Cr = QStringLiteral("\r\n");

frmMainCode& Window()
{
    return *frmMainCode::instance();
}

template <typename T = QWidget> T* Control(const char* name)
{
    T* control = Window().findChild<T*>(QLatin1String(name));
    Q_ASSERT(control);
    return control;
}

QString Text(const char* label)
{
    return Control<QLabel>(label)->text();
}

// A left click as a user makes it: press and release in the middle of the control.
void Click(QWidget* control)
{
    const QPointF middle(control->width() / 2.0, control->height() / 2.0);
    MouseEvents::Press(control, middle);
    MouseEvents::Release(control, middle);
}

void Click(const char* name)
{
    Click(Control(name));
}

// Files dragged from a file manager and dropped on `target`; the URLs hold the names' bytes
// percent-encoded, whatever they are, and name `host` when one is given.
void DropFiles(QWidget* target, const QStringList& paths, const QByteArray& host = {})
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromEncoded("file://" + host + PathBytes::encode(path).toPercentEncoding("/")));
    data.setUrls(urls);
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

// rm removes by bytes, also the names that are not text, which QDir cannot name.
void RemoveTree(const QString& folder)
{
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), folder});
}

QWidget* ListViewport()
{
    return Control<LstArray>("LstArray")->viewport();
}

QStringList ListedPaths()
{
    QStringList paths;
    for (int i = 0; i < Window().ListCount(); ++i)
        paths.append(Window().ListText(i));
    return paths;
}

// Runs `action` from inside the event loop the first time `when` holds; the shred run
// yields to it between blocks, as it yields to a user's click.
class DuringRun : public QObject
{
public:
    DuringRun(std::function<bool()> when, std::function<void()> action)
        : m_when(std::move(when)), m_action(std::move(action))
    {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (!m_done && m_when()) {
                m_done = true;
                m_action();
            }
        });
        m_poll.start(1);
    }
    bool done() const { return m_done; }

private:
    std::function<bool()> m_when;
    std::function<void()> m_action;
    QTimer m_poll;
    bool m_done = false;
};
using UserActions::DialogAnswerer;

const QString ModifyTitle = QStringLiteral("Modify the 'Do Not Shred' List?");
const QString PromptTitle = QStringLiteral("Prompt for 'Do Not Shred' Warning?");
const QString Attempted =
    QStringLiteral("You attempted to shred items from a 'Do Not Shred' folder location. ");
const QString ModifyQuestion =
    QStringLiteral("\n\nWould you like to modify your 'Do Not Shred' folder locations?");

} // namespace

class TestFrmMainCode : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void loadLeavesTheWindowHiddenAndIdle();
    void layoutsHaveTheirSizes();
    void contractAndExpandKeepTheLayout();
    void pressOnTheSurfaceMovesTheWindow_data();
    void pressOnTheSurfaceMovesTheWindow();
    void dropsOnEveryPartAddToTheList_data();
    void dropsOnEveryPartAddToTheList();
    void largeDropEndsExact();
    void commandLineHandOverAddsEveryPath();
    void namesThatAreNotTextArriveExactly();
    void yesShredsThreeCheckedFiles();
    void uncheckedItemLeavesTheListUntouched();
    void stopDuringSecondOfFiveFinishesIt_data();
    void stopDuringSecondOfFiveFinishesIt();
    void cancelInsideAFolderTreeKeepsTheRest();
    void windowStaysAliveDuringARun();
    void contractedBarStaysABarThroughARun();
    void closeWhenIdleEmptiesAndHides();
    void selectionCommandsCheckAndInvert();
    void ballFollowsThePointerAndPausesForARun();
    void protectedDropIsRefusedWithTheWarning();
    void modifyingTheListStopsInstantShred();
    void optionsChangeTheNextRunAndTheScreening();
    void launchWithoutPathsWelcomesOnceThenOpensTheOptions();
    void fileManagerSelectionIsScreenedAsItArrives();
    void instantShredRunsWithoutTheQuestion();
    void protectedItemFromTheCommandLineIsRemovedAtRunTime();
    void lockedFileIsReportedAndTheListCleared();
    void clearCommandsAskFirst();
    void cleanupTestCase() { RemoveTree(m_dir.path()); }

private:
    QStringList MakeFiles(const QStringList& names, qint64 size);
    QTemporaryDir m_dir;
    QString m_queued;
};

void TestFrmMainCode::initTestCase()
{
    QVERIFY(!CommandRelayConnector::commandRelay()->otherInstanceRunning());
    // A file the last session could not delete.
    m_queued = m_dir.path() + QStringLiteral("/queued last time");
    QVERIFY(writeFile(m_queued, seededBytes(50000, 9)));
    struct stat queued
    {
    };
    QCOMPARE(::stat(QFile::encodeName(m_queued).constData(), &queued), 0);
    QVERIFY(DeleteAfterReboot(m_queued, queued));
    Window().Form_Load();
    QCoreApplication::processEvents();
    QVERIFY(!exists(m_queued));
}

void TestFrmMainCode::init()
{
    Window().ClearAll(true);
    Window().HideList();
    if (Control("btnExpand")->isVisibleTo(&Window()))
        Click("btnExpand");
    SharedState& state = Shared();
    state.NumOverwrite = 1;
    state.FastShred = 1;
    state.ShredNow = false;
    state.SafeFolders.clear();
    state.PromptSafeFiles = 1;
    state.PromptSafeFilesQuestion = false;
    RemoveTree(m_dir.path());
    QDir().mkpath(m_dir.path());
}

QStringList TestFrmMainCode::MakeFiles(const QStringList& names, qint64 size)
{
    QStringList paths;
    for (int i = 0; i < names.size(); ++i) {
        paths.append(m_dir.path() + QLatin1Char('/') + names[i]);
        QDir().mkpath(QFileInfo(paths.last()).path());
        writeFile(paths.last(), seededBytes(size, quint32(i + 1)));
    }
    return paths;
}

void TestFrmMainCode::loadLeavesTheWindowHiddenAndIdle()
{
    QVERIFY(!Window().isVisible());
    // Also after shredding what the last session queued.
    QCOMPARE(Text("lblstatus"), QStringLiteral("Stopped"));
    QCOMPARE(Text("lblstatus2"), QStringLiteral("Done"));
    QVERIFY(Control("baredit")->isHidden());
    QVERIFY(Control("btnCancel")->isHidden());
    QVERIFY(!Control("btnYes")->isHidden());
    QCOMPARE(Control("lblPrompt")->pos(), QPoint(450 / TwipsX(), 660 / TwipsY()));
    QCOMPARE(Window().windowFlags() & Qt::Tool, Qt::Tool);
}

void TestFrmMainCode::layoutsHaveTheirSizes()
{
    MakeFiles({QStringLiteral("a")}, 10);
    DropFiles(&Window(), {m_dir.path() + QStringLiteral("/a")});
    QCOMPARE(Window().size(), QSize(333, 120));
    Click("btnShow");
    QCOMPARE(Window().size(), QSize(485, 494));
    QCOMPARE(Shared().ListState, QStringLiteral("showlist"));
    QVERIFY(Control("btnShow")->isHidden());
    QVERIFY(!Control("btnHide")->isHidden());
    QVERIFY(Control("LstArray")->isVisible());
    Click("btnHide");
    QCOMPARE(Window().size(), QSize(333, 120));
    QCOMPARE(Shared().ListState, QStringLiteral("hidelist"));
    QVERIFY(!Control("LstArray")->isVisible());
}

void TestFrmMainCode::contractAndExpandKeepTheLayout()
{
    MakeFiles({QStringLiteral("one")}, 10);
    DropFiles(ListViewport(), {m_dir.path() + QStringLiteral("/one")});
    Click("btnShow");
    const QPoint topLeft = Window().pos();
    Click("btnContract");
    QCOMPARE(Window().size(), QSize(333, 46));
    QCOMPARE(Window().pos(), topLeft);
    QVERIFY(Control("lblPrompt")->isHidden());
    QCOMPARE(Text("lblPrompt"), QStringLiteral("1") + Cr + QStringLiteral("item"));
    QVERIFY(!Control("btnExpand")->isHidden());
    Click("btnExpand");
    QCOMPARE(Window().size(), QSize(485, 494));
    QVERIFY(!Control("btnHide")->isHidden());
    QCOMPARE(Text("lblPrompt"), QStringLiteral("Are you sure you want to shred this item?") + Cr +
                                    QStringLiteral("Shredded items cannot be recovered."));
}

void TestFrmMainCode::pressOnTheSurfaceMovesTheWindow_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("moves");
    QTest::newRow("window surface") << QStringLiteral("frmMainCode") << true;
    QTest::newRow("icon") << QStringLiteral("ImgIcon") << true;
    QTest::newRow("prompt") << QStringLiteral("lblPrompt") << true;
    QTest::newRow("count") << QStringLiteral("Label1") << true;
    QTest::newRow("list frame") << QStringLiteral("Pictureframe") << true;
    QTest::newRow("list row") << QStringLiteral("LstArray") << false;
    QTest::newRow("small bar") << QStringLiteral("bareditsmall") << true;
    QTest::newRow("Yes button") << QStringLiteral("btnYes") << false;
}

void TestFrmMainCode::pressOnTheSurfaceMovesTheWindow()
{
    QFETCH(QString, part);
    QFETCH(bool, moves);
    DropFiles(ListViewport(), MakeFiles({QStringLiteral("one")}, 10));
    Click("btnShow");
    QWidget* widget = part == QStringLiteral("frmMainCode") ? static_cast<QWidget*>(&Window())
                      : part == QStringLiteral("LstArray")  ? ListViewport()
                                                            : Control(part.toLatin1().constData());
    widget->show();
    const QPoint start = Window().pos();
    const QPointF at(3, 3);
    MouseEvents::Press(widget, at);
    const QPoint to = QCursor::pos() + QPoint(35, 12);
    QMouseEvent move(QEvent::MouseMove, at, QPointF(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at, QPointF(to), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &release);
    QCOMPARE(Window().pos() != start, moves);
    Window().move(start);
}

void TestFrmMainCode::dropsOnEveryPartAddToTheList_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("adds");
    QTest::newRow("list") << QStringLiteral("LstArray") << true;
    QTest::newRow("window surface") << QStringLiteral("frmMainCode") << true;
    QTest::newRow("Shred button") << QStringLiteral("btnShred") << true;
    QTest::newRow("Yes button") << QStringLiteral("btnYes") << true;
    QTest::newRow("close button") << QStringLiteral("btnClose") << true;
    QTest::newRow("scroller") << QStringLiteral("myscroller") << true;
    QTest::newRow("prompt") << QStringLiteral("lblPrompt") << true;
    QTest::newRow("Shred button's text") << QStringLiteral("lblshred") << true;
    QTest::newRow("list frame") << QStringLiteral("Pictureframe") << true;
    QTest::newRow("announcements ball") << QStringLiteral("btnBall") << false;
}

void TestFrmMainCode::dropsOnEveryPartAddToTheList()
{
    QFETCH(QString, target);
    QFETCH(bool, adds);
    const QStringList files =
        MakeFiles({QStringLiteral("first.txt"), QStringLiteral("second file.txt")}, 100);
    QDir().mkpath(m_dir.path() + QStringLiteral("/folder"));
    const QStringList dropped = files + QStringList{m_dir.path() + QStringLiteral("/folder/")};
    QWidget* widget = target == QStringLiteral("LstArray")      ? ListViewport()
                      : target == QStringLiteral("frmMainCode") ? static_cast<QWidget*>(&Window())
                                                                : Control(target.toLatin1().constData());
    DropFiles(widget, dropped);
    if (!adds) {
        QCOMPARE(Window().ListCount(), 0);
        QVERIFY(!Window().isVisible());
        return;
    }
    QVERIFY(Window().isVisible());
    QCOMPARE(ListedPaths(), files + QStringList{m_dir.path() + QStringLiteral("/folder")});
    QCOMPARE(Window().ListSubItem(2, 1), QStringLiteral("DIR"));
    QCOMPARE(Text("Label1"), QStringLiteral("3 items"));
    QCOMPARE(Text("lblshred"), QStringLiteral("Shred :3 items"));
    // The same files again are duplicates.
    DropFiles(widget, files);
    QCOMPARE(Window().ListCount(), 3);
}

// A drop of 10,000 files: the captions repaint only now and then on the way, but their texts
// are exact at every moment, and the end shows every row and the captions laid out.
void TestFrmMainCode::largeDropEndsExact()
{
    QStringList names;
    for (int i = 0; i < 10000; ++i)
        names.append(QStringLiteral("f%1.e%2").arg(i).arg(i % 50));
    const QStringList files = MakeFiles(names, 0);
    DropFiles(&Window(), files);
    QCOMPARE(Window().ListCount(), 10000);
    QCOMPARE(Window().ListText(9999), files.last());
    const CountCaptions expected = CountCaptionsFor(10000);
    QCOMPARE((QStringList{Text("Label1"), Text("lblPrompt"), Text("lblshred")}),
             (QStringList{expected.Label1, expected.lblPrompt, expected.lblshred}));
    auto* label = Control<QLabel>("lblshred");
    QTRY_VERIFY(label->updatesEnabled());
    QCOMPARE(label->size(), label->sizeHint());
}

void TestFrmMainCode::commandLineHandOverAddsEveryPath()
{
    // Each argument is one path, quotes, ";", spaces and newlines part of the name; the names
    // that splitting and unquoting would make of them lie beside them and must survive.
    const QStringList files = MakeFiles({QStringLiteral("my \"notes\" file.txt"), QStringLiteral("a\"b"),
                                         QStringLiteral("x;y z"), QStringLiteral("two\nlines")},
                                        100);
    const QStringList lookAlikes = MakeFiles({QStringLiteral("my notes file.txt"), QStringLiteral("ab"),
                                              QStringLiteral("x"), QStringLiteral("two")},
                                             100);
    CommandRelay* relay = CommandRelayConnector::commandRelay();
    QCOMPARE(relay->setCommandLine(files), CommandRelay::Delivery::Delivered);
    QCOMPARE(ListedPaths(), files);
    QVERIFY(Window().isVisible());
    QCOMPARE(Window().windowFlags() & Qt::WindowStaysOnTopHint, Qt::WindowStaysOnTopHint);
    QCOMPARE(Text("lblPrompt"), QStringLiteral("Are you sure you want to shred these 4 Items?") + Cr +
                                    QStringLiteral("Shredded items cannot be recovered."));

    Window().ClearAll(true);
    Shared().ShredNow = true;
    QCOMPARE(relay->setCommandLine(files), CommandRelay::Delivery::Delivered);
    for (const QString& file : files)
        QVERIFY2(!exists(file), qPrintable(file));
    for (const QString& lookAlike : lookAlikes)
        QVERIFY2(exists(lookAlike), qPrintable(lookAlike));
}

void TestFrmMainCode::namesThatAreNotTextArriveExactly()
{
    // "café" in Latin-1, and beside the file the name a lossy decoding makes of it.
    const QByteArray folder = QFile::encodeName(m_dir.path());
    const QString file = PathBytes::decode(folder + "/caf\xE9.txt");
    const QString lookAlike = PathBytes::decode(folder + "/caf\xEF\xBF\xBD.txt");
    const QString subfolder = PathBytes::decode(folder + "/d\xE9j\xE0");
    QVERIFY(writeFile(lookAlike, "look-alike") && writeFile(m_dir.path() + QStringLiteral("/x"), "exact"));
    QCOMPARE(::rename((folder + "/x").constData(), PathBytes::encode(file).constData()), 0);
    QCOMPARE(::mkdir(PathBytes::encode(subfolder).constData(), 0700), 0);

    DropFiles(ListViewport(), {file});
    // The same folder on another machine is not this one's.
    DropFiles(ListViewport(), {lookAlike}, "server");
    QCOMPARE(CommandRelayConnector::commandRelay()->setCommandLine({subfolder}),
             CommandRelay::Delivery::Delivered);
    QCOMPARE(ListedPaths(), (QStringList{file, subfolder}));
    QCOMPARE(Window().ListSubItem(1, 1), QStringLiteral("DIR"));
    QCOMPARE(Window().ListSubItem(0, 2), QStringLiteral("caf\uFFFD.txt"));
    const QModelIndex row = Control<LstArray>("LstArray")->model()->index(0, 0);
    QCOMPARE(row.data(Qt::DisplayRole).toString(), PathBytes::readable(file));

    // The run destroys what was listed, not what a lossy name leads to.
    Click("btnYes");
    QVERIFY(!exists(file) && !exists(subfolder));
    QCOMPARE(readFile(lookAlike), QByteArray("look-alike"));
}

void TestFrmMainCode::yesShredsThreeCheckedFiles()
{
    const QStringList files =
        MakeFiles({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}, 20000);
    DropFiles(ListViewport(), files);
    Click("btnYes");
    for (const QString& file : files)
        QVERIFY2(!exists(file), qPrintable(file));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(Window().ListCount(), 0);
    QVERIFY(!Window().isVisible());
    // Also after shredding what the last session queued.
    QCOMPARE(Text("lblstatus"), QStringLiteral("Stopped"));
    QCOMPARE(Text("lblstatus2"), QStringLiteral("Done"));
    QVERIFY(Control("baredit")->isHidden());
    QVERIFY(Control("btnCancel")->isHidden());
    QVERIFY(!Control("btnYes")->isHidden());
}

void TestFrmMainCode::uncheckedItemLeavesTheListUntouched()
{
    const QStringList files = MakeFiles({QStringLiteral("checked"), QStringLiteral("unchecked")}, 5000);
    DropFiles(ListViewport(), files);
    Control<LstArray>("LstArray")->SetChecked(1, false);
    Click("btnShred");
    QVERIFY(!exists(files[0]));
    QCOMPARE(readFile(files[1]), seededBytes(5000, 2));
    QCOMPARE(Window().ListCount(), 0);
    QVERIFY(!Window().isVisible());
}

void TestFrmMainCode::stopDuringSecondOfFiveFinishesIt_data()
{
    QTest::addColumn<QString>("stopButton");
    QTest::newRow("Cancel") << QStringLiteral("btnCancel");
    QTest::newRow("Shred") << QStringLiteral("btnShred");
    QTest::newRow("Close") << QStringLiteral("btnClose");
}

void TestFrmMainCode::stopDuringSecondOfFiveFinishesIt()
{
    QFETCH(QString, stopButton);
    QStringList names;
    for (int i = 1; i <= 5; ++i)
        names.append(QStringLiteral("file %1 with a name longer than thirty.bin").arg(i));
    const QStringList files = MakeFiles(names, 4 << 20);
    DropFiles(ListViewport(), files);

    QString promptAfterStop;
    DuringRun stop(
        [&] {
            return Text("lblstatus2") == QStringLiteral("Shredding") && ListedPaths().value(0) == files[1];
        },
        [&] {
            Click(stopButton.toLatin1().constData());
            promptAfterStop = Text("lblPrompt");
        });
    Click("btnYes");
    QVERIFY(stop.done());
    QCOMPARE(promptAfterStop, QStringLiteral("Shredding will stop after the current file has finished.") +
                                  Cr + QStringLiteral("SHREDDING: ") + names[1].left(30) +
                                  QStringLiteral("..."));
    QVERIFY(!exists(files[0]));
    QVERIFY(!exists(files[1]));
    for (int i = 2; i < 5; ++i)
        QCOMPARE(readFile(files[i]), seededBytes(4 << 20, quint32(i + 1)));
    QCOMPARE(ListedPaths(), files.mid(2));
    QVERIFY(Window().isVisible());
    QCOMPARE(Text("lblstatus"), QStringLiteral("Stopped"));
    QCOMPARE(Text("lblPrompt"), QStringLiteral("Are you sure you want to shred these 3 Items?") + Cr +
                                    QStringLiteral("Shredded items cannot be recovered."));
    QCOMPARE(Text("lblshred"), QStringLiteral("Shred :3 items"));
    QVERIFY(!Control("btnYes")->isHidden());
    QVERIFY(!Control("btnShow")->isHidden());
    QVERIFY(Control("btnCancel")->isHidden());
    QVERIFY(Control("baredit")->isHidden());
    // The remaining items can be shredded by a second run.
    Click("btnYes");
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(!Window().isVisible());
}

void TestFrmMainCode::cancelInsideAFolderTreeKeepsTheRest()
{
    const QString tree = m_dir.path() + QStringLiteral("/tree");
    QStringList treeFiles;
    for (const QString& sub : {QStringLiteral("/a"), QStringLiteral("/a/b"), QStringLiteral("/c")}) {
        QDir().mkpath(tree + sub);
        for (int i = 0; i < 6; ++i) {
            treeFiles.append(tree + sub + QStringLiteral("/f%1").arg(i));
            writeFile(treeFiles.last(), seededBytes(512 << 10, quint32(i)));
        }
    }
    const QStringList after = MakeFiles({QStringLiteral("after the tree")}, 100);
    DropFiles(ListViewport(), {tree, after[0]});

    // A file of the walk is in progress after at least one has been finished.
    DuringRun cancel(
        [] {
            return Text("lblstatus") == QStringLiteral("Done") &&
                   Text("lblstatus2") == QStringLiteral("Shredding");
        },
        [] { Click("btnCancel"); });
    Click("btnYes");
    QVERIFY(cancel.done());
    int left = 0;
    for (const QString& file : treeFiles)
        left += exists(file) ? 1 : 0;
    QVERIFY2(left > 0 && left < treeFiles.size(), qPrintable(QString::number(left)));
    QVERIFY(QFileInfo::exists(tree));
    QVERIFY(exists(after[0]));
    QCOMPARE(ListedPaths(), after);
}

void TestFrmMainCode::windowStaysAliveDuringARun()
{
    const QStringList files = MakeFiles({QStringLiteral("big one")}, 16 << 20);
    DropFiles(ListViewport(), files);
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
    timer.start(10);
    int repaints = 0;
    struct PaintCounter : QObject
    {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                ++*count;
            return false;
        }
    } painter(&repaints);
    Control("baredit")->installEventFilter(&painter);
    QList<QString> shredCaptions;
    DuringRun look([&] { return Text("lblstatus2") == QStringLiteral("Shredding"); },
                   [&] {
                       shredCaptions << Text("lblshred");
                       shredCaptions << (Control("btnCancel")->isHidden() ? QStringLiteral("no cancel")
                                                                          : QStringLiteral("cancel"));
                       shredCaptions << (Control("btnYes")->isHidden() ? QStringLiteral("no yes")
                                                                       : QStringLiteral("yes"));
                   });
    Click("btnYes");
    QVERIFY(!exists(files[0]));
    QVERIFY2(ticks > 0, "no timer fired during the run");
    QVERIFY2(repaints > 0, "the progress bar was never painted");
    QCOMPARE(shredCaptions, (QList<QString>{QStringLiteral("Shredding"), QStringLiteral("cancel"),
                                            QStringLiteral("no yes")}));
    QVERIFY(Control<cpvProgressBar>("baredit")->Max() > 0);
}

void TestFrmMainCode::contractedBarStaysABarThroughARun()
{
    const QStringList files = MakeFiles({QStringLiteral("one"), QStringLiteral("two")}, 1 << 20);
    DropFiles(ListViewport(), files);
    Click("btnShow");
    Click("btnContract");
    QSize during;
    bool smallBarShown = false;
    DuringRun look([] { return Text("lblstatus2") == QStringLiteral("Shredding"); },
                   [&] {
                       during = Window().size();
                       smallBarShown = !Control("bareditsmall")->isHidden();
                       Click("btnShred"); // the bar's only way to cancel
                   });
    Click("btnShred");
    QCOMPARE(during, QSize(333, 46));
    QVERIFY(smallBarShown);
    QCOMPARE(Window().size(), QSize(333, 46));
    QVERIFY(Control("bareditsmall")->isHidden());
    QCOMPARE(Window().ListCount(), 1);
    // Expanded, the run has left the list-hidden layout with the question for what is left.
    Click("btnExpand");
    QCOMPARE(Window().size(), QSize(333, 120));
    QVERIFY(!Control("btnShow")->isHidden());
    QCOMPARE(Text("lblPrompt"), QStringLiteral("Are you sure you want to shred this item?") + Cr +
                                    QStringLiteral("Shredded items cannot be recovered."));
}

void TestFrmMainCode::closeWhenIdleEmptiesAndHides()
{
    const QStringList files = MakeFiles({QStringLiteral("kept")}, 100);
    DropFiles(ListViewport(), files);
    QVERIFY(Window().isVisible());
    Click("btnClose");
    QVERIFY(!Window().isVisible());
    QCOMPARE(Window().ListCount(), 0);
    QVERIFY(exists(files[0]));
    // A new drop shows it again.
    DropFiles(ListViewport(), files);
    QVERIFY(Window().isVisible());
    QCOMPARE(Window().ItemCount(), 1);
}

void TestFrmMainCode::selectionCommandsCheckAndInvert()
{
    const QStringList files = MakeFiles({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}, 100);
    DropFiles(ListViewport(), files);
    Click("btnShow");
    auto* list = Control<LstArray>("LstArray");
    list->SetChecked(1, false);
    QTest::mouseClick(Control("Selection1"), Qt::LeftButton);
    QCOMPARE((QList<bool>{list->Checked(0), list->Checked(1), list->Checked(2)}),
             (QList<bool>{false, true, false}));
    QTest::mouseClick(Control("Selection0"), Qt::LeftButton);
    QCOMPARE((QList<bool>{list->Checked(0), list->Checked(1), list->Checked(2)}),
             (QList<bool>{true, true, true}));
    QCOMPARE(Text("Label1"), QStringLiteral("3 items"));
}

void TestFrmMainCode::ballFollowsThePointerAndPausesForARun()
{
    const QStringList files = MakeFiles({QStringLiteral("ball")}, 100000);
    DropFiles(ListViewport(), files);
    Window().StartBall();
    QVERIFY(Window().ControlVisible(RunControl::pic1));
    MouseEvents::Hover(Control("pic1"), QPointF(5, 5));
    QVERIFY(Control("pic1")->isHidden());
    QVERIFY(!Control("btnBall")->isHidden());
    MouseEvents::Hover(Control("btnClose"), QPointF(5, 5));
    QVERIFY(!Control("pic1")->isHidden());
    QVERIFY(Control("btnBall")->isHidden());

    bool pausedDuringRun = false;
    DuringRun look([&] { return Text("lblstatus2") == QStringLiteral("Shredding"); },
                   [&] {
                       pausedDuringRun =
                           Window().TimerInterval(RunTimer::Timer1) == 0 && Control("pic1")->isHidden();
                   });
    Click("btnYes");
    QVERIFY(pausedDuringRun);
    QCOMPARE(Window().TimerInterval(RunTimer::Timer1), 20);
    QVERIFY(!Control("pic1")->isHidden());
    Window().StopBall();
}

void TestFrmMainCode::protectedDropIsRefusedWithTheWarning()
{
    Shared().PromptSafeFilesQuestion = true;
    Shared().SafeFolders = {m_dir.path() + QStringLiteral("/KEEP")};
    const QStringList files =
        MakeFiles({QStringLiteral("a"), QStringLiteral("keep/b"), QStringLiteral("c")}, 100);
    {
        DialogAnswerer user({QStringLiteral("cmdNo"), QStringLiteral("cmdNo")});
        DropFiles(ListViewport(), files);
        QCOMPARE(user.asked,
                 (QStringList{ModifyTitle + QLatin1Char('|') + Attempted +
                                  QStringLiteral("These items will NOT be shredded and were not added to the "
                                                 "Shred List.") +
                                  ModifyQuestion,
                              PromptTitle +
                                  QStringLiteral("|Would you like to receive this warning in the future?")}));
    }
    QCOMPARE(ListedPaths(), (QStringList{files[0], files[2]}));
    QCOMPARE(ReadStringSetting(Setting::PromptSafeFiles), QStringLiteral("0"));
    QCOMPARE(ReadStringSetting(Setting::PromptSafeFilesQuestion), QStringLiteral("False"));
    // The stored "0" counts from the next start; the follow-up question never comes again.
    DialogAnswerer later({QStringLiteral("cmdNo")});
    DropFiles(Control("btnNo"), {files[1]});
    QCOMPARE(later.asked.size(), 1);
    QCOMPARE(Window().ListCount(), 2);
}

void TestFrmMainCode::modifyingTheListStopsInstantShred()
{
    Shared().ShredNow = true;
    Shared().SafeFolders = {m_dir.path() + QStringLiteral("/keep")};
    const QStringList files = MakeFiles({QStringLiteral("a"), QStringLiteral("keep/b")}, 100);
    DialogAnswerer user({QStringLiteral("btnYes")});
    UserActions::WhenShown options(QStringLiteral("frmOptions"), [](QWidget* window) {
        UserActions::Click(window->findChild<QWidget*>(QStringLiteral("btnClose")));
    });
    DropFiles(&Window(), files);
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(options.count(), 1);
    QVERIFY(exists(files[0]));
    QCOMPARE(ListedPaths(), QStringList{files[0]});
    QVERIFY(Window().isVisible());
}

// The descriptor the engine writes `path` through, found in /proc/self/fd, so that the test reads
// what was written without an open of its own (which would break the engine's lease).
int WritingDescriptor(const QString& path)
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& entry : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char byte = 0;
        if (QFile::symLinkTarget(fds.filePath(entry)) == path && ::pread(entry.toInt(), &byte, 1, 0) == 1)
            return entry.toInt();
    }
    return -1;
}

void TestFrmMainCode::optionsChangeTheNextRunAndTheScreening()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    const QString keep = m_dir.path() + QStringLiteral("/keep");
    QVERIFY(QDir().mkpath(keep));
    {
        UserActions::WhenShown options(QStringLiteral("frmOptions"), [&](QWidget* window) {
            UserActions::FolderChooser chooser({keep});
            for (const char* button : {"btnFastShred", "btnSafeShred", "btnClose"})
                UserActions::Click(window->findChild<QWidget*>(QLatin1String(button)));
        });
        Click("btnOptions");
        QCOMPARE(options.count(), 1);
    }
    // NORMAL with 1 wipe became ENHANCED with 8, and the folder is protected at once.
    const QStringList files =
        MakeFiles({QStringLiteral("enhanced"), QStringLiteral("keep/inside")}, 3 * 8192);
    {
        DialogAnswerer user({QStringLiteral("cmdNo")});
        DropFiles(&Window(), files);
        QCOMPARE(user.asked.size(), 1);
        QVERIFY(user.asked[0].startsWith(ModifyTitle));
    }
    QCOMPARE(ListedPaths(), QStringList{files[0]});

    qint32 barMax = 0;
    QSet<char> firstBytes;
    QTimer sample;
    connect(&sample, &QTimer::timeout, [&] {
        barMax = qMax(barMax, Control<cpvProgressBar>("baredit")->Max());
        char byte = 0;
        if (const int fd = WritingDescriptor(files[0]); fd >= 0 && ::pread(fd, &byte, 1, 0) == 1)
            firstBytes.insert(byte);
    });
    sample.start(0);
    Click("btnYes");
    sample.stop();
    QVERIFY(!exists(files[0]));
    QCOMPARE(readFile(files[1]), seededBytes(3 * 8192, 2));
    // 4 blocks, 8 passes of "1", "0" and letters.
    QCOMPARE(barMax, 4 * 8 * 3);
    QVERIFY(firstBytes.contains('1') && firstBytes.contains('0'));
    SaveStringSetting(Setting::SafeFiles, QString());
    SaveStringSetting(Setting::FastShred, QStringLiteral("1"));
}

QList<QWidget*> OptionsWindows()
{
    QList<QWidget*> found;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QStringLiteral("frmOptions") && top->isVisible())
            found << top;
    return found;
}

void TestFrmMainCode::launchWithoutPathsWelcomesOnceThenOpensTheOptions()
{
    CommandRelay* relay = CommandRelayConnector::commandRelay();
    int tutorials = 0;
    SetTutorialOpener([&](QWidget*) { ++tutorials; });
    const QString welcome =
        QStringLiteral("Welcome to Vanisto|This appears to be the first time you have run "
                       "Vanisto 1.0. Would you like to run the tutorial?");
    // The very first launch: Yes runs the tutorial, and the main window is on top again after.
    Shared().FirstStartEver = true;
    {
        DialogAnswerer user({QStringLiteral("btnYes")});
        QCOMPARE(relay->setCommandLine({SentinelSentence}), CommandRelay::Delivery::Delivered);
        QTRY_COMPARE(user.asked, QStringList{welcome});
    }
    QCOMPARE(tutorials, 1);
    QVERIFY(Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // No (on a first run again) opens the options modally instead.
    Shared().FirstStartEver = true;
    {
        bool modal = false;
        UserActions::WhenShown options(QStringLiteral("frmOptions"), [&](QWidget* window) {
            modal = window->isModal();
            UserActions::Click(window->findChild<QWidget*>(QStringLiteral("btnClose")));
        });
        DialogAnswerer user({QStringLiteral("cmdNo")});
        relay->setCommandLine({SentinelSentence});
        QTRY_COMPARE(options.count(), 1);
        QVERIFY(modal);
        QCOMPARE(user.asked, QStringList{welcome});
    }
    // Later launches ask nothing: one options window, not modal, on top, however often.
    DialogAnswerer user({});
    relay->setCommandLine({SentinelSentence});
    relay->setCommandLine({SentinelSentence});
    QTRY_COMPARE(OptionsWindows().size(), 1);
    QWidget* options = OptionsWindows().first();
    QVERIFY(!options->isModal());
    QVERIFY(options->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(user.asked.isEmpty());
    QCOMPARE(tutorials, 1);
    QPointer<QWidget> closed = options;
    Click(options->findChild<QWidget*>(QStringLiteral("btnClose")));
    QTRY_VERIFY(!closed);
    SetTutorialOpener(nullptr);
}

// A file manager's selection is screened like a drop; a command line is screened only at run time.
void TestFrmMainCode::fileManagerSelectionIsScreenedAsItArrives()
{
    Shared().SafeFolders = {m_dir.path() + QStringLiteral("/keep")};
    const QStringList files = MakeFiles(
        {QStringLiteral("a"), QStringLiteral("keep/b"), QStringLiteral("keep/c"), QStringLiteral("d")}, 100);
    DialogAnswerer user({QStringLiteral("cmdNo")});
    QCOMPARE(
        CommandRelayConnector::commandRelay()->setCommandLine(QStringList{ShellMenu::ClickMarker} + files),
        CommandRelay::Delivery::Delivered);
    QTRY_COMPARE(ListedPaths(), (QStringList{files[0], files[3]}));
    QCOMPARE(user.asked.size(), 1);
    QVERIFY(user.asked[0].startsWith(ModifyTitle));
    QVERIFY(Window().isVisible());
}

void TestFrmMainCode::instantShredRunsWithoutTheQuestion()
{
    Shared().ShredNow = true;
    const QStringList files = MakeFiles({QStringLiteral("now"), QStringLiteral("at once")}, 30000);
    DropFiles(Control("btnShred"), files);
    QVERIFY(!exists(files[0]) && !exists(files[1]));
    QVERIFY(!Window().isVisible());
}

void TestFrmMainCode::protectedItemFromTheCommandLineIsRemovedAtRunTime()
{
    Shared().SafeFolders = {m_dir.path() + QStringLiteral("/keep")};
    const QStringList files = MakeFiles({QStringLiteral("keep/b"), QStringLiteral("a")}, 30000);
    QCOMPARE(CommandRelayConnector::commandRelay()->setCommandLine(files), CommandRelay::Delivery::Delivered);
    QCOMPARE(ListedPaths(), files);
    DialogAnswerer user({QStringLiteral("cmdNo")});
    Click("btnYes");
    QCOMPARE(user.asked,
             QStringList{ModifyTitle + QLatin1Char('|') + Attempted +
                         QStringLiteral("These items were NOT shredded and have been removed from "
                                        "the list.") +
                         ModifyQuestion});
    QCOMPARE(readFile(files[0]), seededBytes(30000, 1));
    QVERIFY(!exists(files[1]));
    QCOMPARE(Window().ListCount(), 0);
    QVERIFY(!Window().isVisible());
}

void TestFrmMainCode::lockedFileIsReportedAndTheListCleared()
{
    const QStringList files = MakeFiles({QStringLiteral("locked"), QStringLiteral("free")}, 30000);
    QVERIFY2(TestFiles::setImmutable(files[0], true), "cannot make the file immutable (needs root)");
    DropFiles(ListViewport(), files);
    DialogAnswerer user({QStringLiteral("cmdOK")});
    Click("btnYes");
    QVERIFY(TestFiles::setImmutable(files[0], false));
    QCOMPARE(user.asked.size(), 1);
    QVERIFY(user.asked[0].startsWith(QStringLiteral("Locked files warning|Some files were locked")));
    QVERIFY(exists(files[0]));
    QVERIFY(!exists(files[1]));
    QCOMPARE(Window().ListCount(), 0);
    QVERIFY(!Window().isVisible());
}

void TestFrmMainCode::clearCommandsAskFirst()
{
    const QStringList files = MakeFiles({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}, 100);
    DropFiles(ListViewport(), files);
    Click("btnShow");
    Control<LstArray>("LstArray")->SetChecked(1, false);
    {
        DialogAnswerer user({QStringLiteral("btnYes")});
        QTest::mouseClick(Control("Selection2"), Qt::LeftButton);
        QCOMPARE(user.asked.size(), 1);
    }
    QCOMPARE(ListedPaths(), QStringList{files[1]});
    QCOMPARE(Text("Label1"), QStringLiteral("1 item"));
    {
        DialogAnswerer user({QStringLiteral("cmdNo")});
        QTest::mouseClick(Control("Selection3"), Qt::LeftButton);
        QCOMPARE(user.asked,
                 QStringList{QStringLiteral("Clear the Shred List?|Are you sure you want to clear the "
                                            "Shred list?")});
    }
    QCOMPARE(Window().ListCount(), 1);
    {
        DialogAnswerer user({QStringLiteral("btnYes")});
        QTest::mouseClick(Control("Selection3"), Qt::LeftButton);
    }
    QCOMPARE(Window().ListCount(), 0);
    QCOMPARE(Text("lblPrompt"), QStringLiteral("No items selected"));
    QVERIFY(Window().isVisible());
    for (const QString& file : files)
        QVERIFY(exists(file));
}

VANISTO_TEST_GUI_MAIN(TestFrmMainCode)
#include "tst_frmmaincode.moc"
