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
#include "skin/cpvProgressBar.h"
#include "skin/modSkinForm.h"

#include <QDir>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {
frmMainCode& Window()
{
    return *frmMainCode::instance();
}

template <typename T = QWidget> T* Control(const char* name)
{
    return UserActions::Child<T>(&Window(), name);
}

QString Text(const char* label)
{
    return UserActions::TextOf(&Window(), label);
}

CountCaptions Captions()
{
    return {Text("Label1"), Text("lblPrompt"), Text("lblshred")};
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

QWidget* ListViewport()
{
    return Control<LstArray>("LstArray")->viewport();
}

// A part of the window by name; the list stands for its rows.
QWidget* Part(const QString& name)
{
    if (name == QLatin1String("frmMainCode"))
        return &Window();
    return name == QLatin1String("LstArray") ? ListViewport() : Control(name.toLatin1().constData());
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

CommandRelay::Delivery HandOver(const QStringList& arguments)
{
    return CommandRelayConnector::commandRelay()->setCommandLine(arguments);
}

// rm removes by bytes, also the names that are not text, which QDir cannot name.
void RemoveTree(const QString& folder)
{
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), folder});
}

QStringList ListedPaths()
{
    QStringList paths;
    for (int i = 0; i < Window().ListCount(); ++i)
        paths.append(Window().ListText(i));
    return paths;
}

// At rest: the run's controls put away and its status done.
void VerifyIdle()
{
    QCOMPARE(Text("lblstatus") + Text("lblstatus2"), QStringLiteral("StoppedDone"));
    QVERIFY(Control("baredit")->isHidden() && Control("btnCancel")->isHidden());
    QVERIFY(!Control("btnYes")->isHidden());
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

bool Shredding()
{
    return Text("lblstatus2") == QLatin1String("Shredding");
}

using UserActions::DialogAnswerer;
using UserActions::WhenShown;

const QString ModifyTitle = QStringLiteral("Modify the 'Do Not Shred' List?");
QString ModifyQuestion(const QString& what)
{
    return ModifyTitle +
           QStringLiteral("|You attempted to shred items from a 'Do Not Shred' folder location. ") + what +
           QStringLiteral("\n\nWould you like to modify your 'Do Not Shred' folder locations?");
}
} // namespace

class TestFrmMainCode : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Loading shreds what the last session could not delete and leaves the window hidden and idle.
    void initTestCase()
    {
        QVERIFY(!CommandRelayConnector::commandRelay()->otherInstanceRunning());
        const QString queued = m_dir.path() + QStringLiteral("/queued last time");
        QVERIFY(writeFile(queued, seededBytes(50000, 9)));
        struct stat status
        {
        };
        QCOMPARE(::stat(QFile::encodeName(queued).constData(), &status), 0);
        QVERIFY(DeleteAfterReboot(queued, status));
        Window().Form_Load();
        QCoreApplication::processEvents();
        QVERIFY(!exists(queued));
        QVERIFY(!Window().isVisible());
        VerifyIdle();
        QCOMPARE(Control("lblPrompt")->pos(), QPoint(450 / TwipsX(), 660 / TwipsY()));
        QCOMPARE(Window().windowFlags() & Qt::Tool, Qt::Tool);
    }

    void init()
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

    // List hidden, list shown and contracted to a bar, each with its size; contracting keeps the
    // window where it is.
    void layoutsHaveTheirSizes()
    {
        DropFiles(&Window(), MakeFiles({QStringLiteral("a")}, 10));
        QCOMPARE(Window().size(), QSize(333, 120));
        Click("btnShow");
        QCOMPARE(Window().size(), QSize(485, 494));
        QCOMPARE(Shared().ListState, QStringLiteral("showlist"));
        QVERIFY(Control("btnShow")->isHidden() && Control("LstArray")->isVisible());
        const QPoint topLeft = Window().pos();
        Click("btnContract");
        QCOMPARE(Window().size(), QSize(333, 46));
        QCOMPARE(Window().pos(), topLeft);
        QVERIFY(Control("lblPrompt")->isHidden());
        QCOMPARE(Text("lblPrompt"), QStringLiteral("1\r\nitem"));
        Click("btnExpand");
        QCOMPARE(Window().size(), QSize(485, 494));
        QCOMPARE(Captions(), CountCaptionsFor(1));
        QVERIFY(!Control("btnHide")->isHidden());
        Click("btnHide");
        QCOMPARE(Window().size(), QSize(333, 120));
        QCOMPARE(Shared().ListState, QStringLiteral("hidelist"));
        QVERIFY(!Control("LstArray")->isVisible() && !Control("btnShow")->isHidden());
    }

    void pressOnTheSurfaceMovesTheWindow_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<bool>("moves");
        for (const char* part :
             {"frmMainCode", "ImgIcon", "lblPrompt", "Label1", "Pictureframe", "bareditsmall"})
            QTest::newRow(part) << QString::fromLatin1(part) << true;
        QTest::newRow("list row") << QStringLiteral("LstArray") << false;
        QTest::newRow("Yes button") << QStringLiteral("btnYes") << false;
    }

    void pressOnTheSurfaceMovesTheWindow()
    {
        QFETCH(QString, part);
        DropFiles(ListViewport(), MakeFiles({QStringLiteral("one")}, 10));
        Click("btnShow");
        QWidget* widget = Part(part);
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
        QTEST(Window().pos() != start, "moves");
        Window().move(start);
    }

    void dropsOnEveryPartAddToTheList_data()
    {
        QTest::addColumn<QString>("target");
        for (const char* part : {"LstArray", "frmMainCode", "btnShred", "btnYes", "btnClose", "myscroller",
                                 "lblPrompt", "lblshred", "Pictureframe", "btnBall"})
            QTest::newRow(part) << QString::fromLatin1(part);
    }

    // Everywhere but on the announcements ball, which has a drop of its own.
    void dropsOnEveryPartAddToTheList()
    {
        QFETCH(QString, target);
        const QStringList files =
            MakeFiles({QStringLiteral("first.txt"), QStringLiteral("second file.txt")}, 100);
        QDir().mkpath(m_dir.path() + QStringLiteral("/folder"));
        DropFiles(Part(target), files + QStringList{m_dir.path() + QStringLiteral("/folder/")});
        if (target == QLatin1String("btnBall")) {
            QCOMPARE(Window().ListCount(), 0);
            QVERIFY(!Window().isVisible());
            return;
        }
        QVERIFY(Window().isVisible());
        QCOMPARE(ListedPaths(), files + QStringList{m_dir.path() + QStringLiteral("/folder")});
        QCOMPARE(Window().ListSubItem(2, 1), QStringLiteral("DIR"));
        QCOMPARE(Captions(), CountCaptionsFor(3));
        // The same files again are duplicates.
        DropFiles(Part(target), files);
        QCOMPARE(Window().ListCount(), 3);
    }

    // A drop of 10,000 files: the captions repaint only now and then on the way, but their texts
    // are exact at every moment, and the end shows every row and the captions laid out.
    void largeDropEndsExact()
    {
        QStringList names;
        for (int i = 0; i < 10000; ++i)
            names.append(QStringLiteral("f%1.e%2").arg(i).arg(i % 50));
        const QStringList files = MakeFiles(names, 0);
        DropFiles(&Window(), files);
        QCOMPARE(Window().ListCount(), 10000);
        QCOMPARE(Window().ListText(9999), files.last());
        QCOMPARE(Captions(), CountCaptionsFor(10000));
        auto* label = Control<QLabel>("lblshred");
        QTRY_VERIFY(label->updatesEnabled());
        QCOMPARE(label->size(), label->sizeHint());
    }

    void commandLineHandOverAddsEveryPath()
    {
        // Each argument is one path, quotes, ";", spaces and newlines part of the name; the names
        // that splitting and unquoting would make of them lie beside them and must survive.
        const QStringList files = MakeFiles({QStringLiteral("my \"notes\" file.txt"), QStringLiteral("a\"b"),
                                             QStringLiteral("x;y z"), QStringLiteral("two\nlines")},
                                            100);
        const QStringList lookAlikes = MakeFiles({QStringLiteral("my notes file.txt"), QStringLiteral("ab"),
                                                  QStringLiteral("x"), QStringLiteral("two")},
                                                 100);
        QCOMPARE(HandOver(files), CommandRelay::Delivery::Delivered);
        QCOMPARE(ListedPaths(), files);
        QVERIFY(Window().isVisible());
        QVERIFY(Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(Captions(), CountCaptionsFor(4));

        Window().ClearAll(true);
        Shared().ShredNow = true;
        QCOMPARE(HandOver(files), CommandRelay::Delivery::Delivered);
        for (const QString& file : files)
            QVERIFY2(!exists(file), qPrintable(file));
        for (const QString& lookAlike : lookAlikes)
            QVERIFY2(exists(lookAlike), qPrintable(lookAlike));
    }

    void namesThatAreNotTextArriveExactly()
    {
        // "café" in Latin-1, and beside the file the name a lossy decoding makes of it.
        const QByteArray folder = QFile::encodeName(m_dir.path());
        const QString file = PathBytes::decode(folder + "/caf\xE9.txt");
        const QString lookAlike = PathBytes::decode(folder + "/caf\xEF\xBF\xBD.txt");
        const QString subfolder = PathBytes::decode(folder + "/d\xE9j\xE0");
        QVERIFY(writeFile(lookAlike, "look-alike") &&
                writeFile(m_dir.path() + QStringLiteral("/x"), "exact"));
        QCOMPARE(::rename((folder + "/x").constData(), PathBytes::encode(file).constData()), 0);
        QCOMPARE(::mkdir(PathBytes::encode(subfolder).constData(), 0700), 0);

        DropFiles(ListViewport(), {file});
        // The same folder on another machine is not this one's.
        DropFiles(ListViewport(), {lookAlike}, "server");
        QCOMPARE(HandOver({subfolder}), CommandRelay::Delivery::Delivered);
        QCOMPARE(ListedPaths(), (QStringList{file, subfolder}));
        QCOMPARE(Window().ListSubItem(1, 1), QStringLiteral("DIR"));
        QCOMPARE(Window().ListSubItem(0, 2), QStringLiteral("caf\uFFFD.txt"));
        QCOMPARE(Control<LstArray>("LstArray")->model()->index(0, 0).data().toString(),
                 PathBytes::readable(file));
        // The run destroys what was listed, not what a lossy name leads to.
        Click("btnYes");
        QVERIFY(!exists(file) && !exists(subfolder));
        QCOMPARE(readFile(lookAlike), QByteArray("look-alike"));
    }

    // An unchecked item is neither shredded nor kept in the list.
    void shredShredsTheCheckedFilesOnly()
    {
        // Large enough that the writes in flight have to be waited for.
        const QStringList files = MakeFiles(
            {QStringLiteral("one"), QStringLiteral("unchecked"), QStringLiteral("three")}, 16 << 20);
        DropFiles(ListViewport(), files);
        Control<LstArray>("LstArray")->SetChecked(1, false);
        Click("btnShred");
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("unchecked")});
        QCOMPARE(readFile(files[1]), seededBytes(16 << 20, 2));
        QCOMPARE(Window().ListCount(), 0);
        QVERIFY(!Window().isVisible());
        VerifyIdle();
    }

    void stopDuringSecondOfFiveFinishesIt_data()
    {
        QTest::addColumn<QString>("stopButton");
        for (const char* button : {"btnCancel", "btnShred", "btnClose"})
            QTest::newRow(button) << QString::fromLatin1(button);
    }

    // A run keeps the window alive (Cancel in place of Yes), and a stop lets the file in progress
    // finish.
    void stopDuringSecondOfFiveFinishesIt()
    {
        QFETCH(QString, stopButton);
        QStringList names;
        for (int i = 1; i <= 5; ++i)
            names.append(QStringLiteral("file %1 with a name longer than thirty.bin").arg(i));
        const QStringList files = MakeFiles(names, 4 << 20);
        DropFiles(ListViewport(), files);
        QStringList during;
        DuringRun stop([&] { return Shredding() && ListedPaths().value(0) == files[1]; },
                       [&] {
                           during << Text("lblshred") << QString::number(Control("btnCancel")->isVisible())
                                  << QString::number(Control("btnYes")->isVisible());
                           Click(Part(stopButton));
                           during << Text("lblPrompt");
                       });
        Click("btnYes");
        QCOMPARE(during,
                 QStringList({QStringLiteral("Shredding"), QStringLiteral("1"), QStringLiteral("0"),
                              QStringLiteral("Shredding will stop after the current file has finished.\r\n"
                                             "SHREDDING: ") +
                                  names[1].left(30) + QStringLiteral("...")}));
        QVERIFY(!exists(files[0]) && !exists(files[1]));
        for (int i = 2; i < 5; ++i)
            QCOMPARE(readFile(files[i]), seededBytes(4 << 20, quint32(i + 1)));
        QCOMPARE(ListedPaths(), files.mid(2));
        QVERIFY(Window().isVisible() && !Control("btnShow")->isHidden());
        QCOMPARE(Text("lblstatus"), QStringLiteral("Stopped"));
        QCOMPARE(Captions(), CountCaptionsFor(3));
        QVERIFY(Control("baredit")->isHidden() && Control("btnCancel")->isHidden() &&
                !Control("btnYes")->isHidden());
        // The remaining items can be shredded by a second run.
        Click("btnYes");
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
        QVERIFY(!Window().isVisible());
    }

    void cancelInsideAFolderTreeKeepsTheRest()
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
        DuringRun cancel([] { return Text("lblstatus") == QLatin1String("Done") && Shredding(); },
                         [] { Click("btnCancel"); });
        Click("btnYes");
        QVERIFY(cancel.done());
        const qsizetype left = std::count_if(treeFiles.begin(), treeFiles.end(), exists);
        QVERIFY2(left > 0 && left < treeFiles.size(), qPrintable(QString::number(left)));
        QVERIFY(QFileInfo::exists(tree) && exists(after[0]));
        QCOMPARE(ListedPaths(), after);
    }

    void contractedBarStaysABarThroughARun()
    {
        DropFiles(ListViewport(), MakeFiles({QStringLiteral("one"), QStringLiteral("two")}, 1 << 20));
        Click("btnShow");
        Click("btnContract");
        QSize during;
        bool smallBarShown = false;
        DuringRun look(Shredding, [&] {
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
        QCOMPARE(Captions(), CountCaptionsFor(1));
    }

    // Check all, invert, clear the checked and clear all; only the clearing asks, and no file is
    // touched. Closing an idle window empties the list too.
    void listCommandsAskBeforeClearing()
    {
        const QStringList files =
            MakeFiles({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}, 100);
        DropFiles(ListViewport(), files);
        Click("btnShow");
        auto* list = Control<LstArray>("LstArray");
        const auto checked = [list] {
            return QList<bool>{list->Checked(0), list->Checked(1), list->Checked(2)};
        };
        list->SetChecked(1, false);
        QTest::mouseClick(Control("Selection1"), Qt::LeftButton);
        QCOMPARE(checked(), QList<bool>({false, true, false}));
        QTest::mouseClick(Control("Selection0"), Qt::LeftButton);
        QCOMPARE(checked(), QList<bool>({true, true, true}));
        list->SetChecked(1, false);
        {
            DialogAnswerer user({QStringLiteral("btnYes")});
            QTest::mouseClick(Control("Selection2"), Qt::LeftButton);
            QCOMPARE(user.asked.size(), 1);
        }
        // What is kept stays unchecked, a bare item without its type.
        QCOMPARE(ListedPaths(), QStringList{files[1]});
        QVERIFY(!list->Checked(0) && list->IconIndex(0) == -1 && Window().ListSubItem(0, 1).isEmpty());
        QCOMPARE(Captions(), CountCaptionsFor(1));
        {
            DialogAnswerer user({QStringLiteral("cmdNo"), QStringLiteral("btnYes")});
            QTest::mouseClick(Control("Selection3"), Qt::LeftButton);
            QCOMPARE(Window().ListCount(), 1);
            QTest::mouseClick(Control("Selection3"), Qt::LeftButton);
            QCOMPARE(user.asked.value(0),
                     QStringLiteral("Clear the Shred List?|Are you sure you want to clear the Shred list?"));
        }
        QCOMPARE(Window().ListCount(), 0);
        QCOMPARE(Captions(), CountCaptionsFor(0));
        QVERIFY(Window().isVisible());
        DropFiles(ListViewport(), files);
        Click("btnClose");
        QVERIFY(!Window().isVisible());
        QCOMPARE(Window().ListCount(), 0);
        QVERIFY(exists(files[0]) && exists(files[1]) && exists(files[2]));
    }

    void ballFollowsThePointerAndPausesForARun()
    {
        DropFiles(ListViewport(), MakeFiles({QStringLiteral("ball")}, 100000));
        Window().StartBall();
        QVERIFY(Window().ControlVisible(RunControl::pic1));
        MouseEvents::Hover(Control("pic1"), QPointF(5, 5));
        QVERIFY(Control("pic1")->isHidden() && !Control("btnBall")->isHidden());
        MouseEvents::Hover(Control("btnClose"), QPointF(5, 5));
        QVERIFY(!Control("pic1")->isHidden() && Control("btnBall")->isHidden());
        bool pausedDuringRun = false;
        DuringRun look(Shredding, [&] {
            pausedDuringRun = Window().TimerInterval(RunTimer::Timer1) == 0 && Control("pic1")->isHidden();
        });
        Click("btnYes");
        QVERIFY(pausedDuringRun);
        QCOMPARE(Window().TimerInterval(RunTimer::Timer1), 20);
        QVERIFY(!Control("pic1")->isHidden());
        Window().StopBall();
    }

    void protectedDropIsRefusedWithTheWarning()
    {
        Shared().PromptSafeFilesQuestion = true;
        Shared().SafeFolders = {m_dir.path() + QStringLiteral("/KEEP")};
        const QStringList files =
            MakeFiles({QStringLiteral("a"), QStringLiteral("keep/b"), QStringLiteral("c")}, 100);
        {
            DialogAnswerer user({QStringLiteral("cmdNo"), QStringLiteral("cmdNo")});
            DropFiles(ListViewport(), files);
            QCOMPARE(user.asked,
                     QStringList(
                         {ModifyQuestion(QStringLiteral("These items will NOT be shredded and were not added "
                                                        "to the Shred List.")),
                          QStringLiteral("Prompt for 'Do Not Shred' Warning?|Would you like to receive this "
                                         "warning in the future?")}));
        }
        QCOMPARE(ListedPaths(), (QStringList{files[0], files[2]}));
        QCOMPARE(ReadStringSetting(Setting::PromptSafeFiles), QStringLiteral("0"));
        QCOMPARE(ReadStringSetting(Setting::PromptSafeFilesQuestion), QStringLiteral("False"));
        // The stored "0" counts from the next start, and the follow-up question never comes again.
        // Choosing to modify the list opens the options and stops Instant Shred.
        Shared().ShredNow = true;
        DialogAnswerer later({QStringLiteral("btnYes")});
        WhenShown options(QStringLiteral("frmOptions"),
                          [](QWidget* window) { UserActions::Click(window, "btnClose"); });
        DropFiles(Control("btnNo"), {files[1]});
        QCOMPARE(later.asked.size(), 1);
        QCOMPARE(options.count(), 1);
        QCOMPARE(ListedPaths(), (QStringList{files[0], files[2]}));
        QVERIFY(exists(files[0]) && Window().isVisible());
    }

    void optionsChangeTheNextRunAndTheScreening()
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        const QString keep = m_dir.path() + QStringLiteral("/keep");
        QVERIFY(QDir().mkpath(keep));
        {
            WhenShown options(QStringLiteral("frmOptions"), [&](QWidget* window) {
                UserActions::FolderChooser chooser({keep});
                for (const char* button : {"btnFastShred", "btnSafeShred", "btnClose"})
                    UserActions::Click(window, button);
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
        QTimer sample;
        connect(&sample, &QTimer::timeout,
                [&] { barMax = qMax(barMax, Control<cpvProgressBar>("baredit")->Max()); });
        sample.start(0);
        Click("btnYes");
        QVERIFY(!exists(files[0]));
        QCOMPARE(readFile(files[1]), seededBytes(3 * 8192, 2));
        // 4 blocks, 8 passes of "1", "0" and letters.
        QCOMPARE(barMax, 4 * 8 * 3);
        SaveStringSetting(Setting::SafeFiles, QString());
        SaveStringSetting(Setting::FastShred, QStringLiteral("1"));
    }

    void launchWithoutPathsWelcomesOnceThenOpensTheOptions()
    {
        int tutorials = 0;
        SetTutorialOpener([&](QWidget*) { ++tutorials; });
        const QString welcome =
            QStringLiteral("Welcome to Vanisto|This appears to be the first time you have run "
                           "Vanisto 1.0. Would you like to run the tutorial?");
        // The very first launch: Yes runs the tutorial, and the main window is on top again after.
        Shared().FirstStartEver = true;
        {
            DialogAnswerer user({QStringLiteral("btnYes")});
            QCOMPARE(HandOver({SentinelSentence}), CommandRelay::Delivery::Delivered);
            QTRY_COMPARE(user.asked, QStringList{welcome});
        }
        QCOMPARE(tutorials, 1);
        QVERIFY(Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // No (on a first run again) opens the options modally instead.
        Shared().FirstStartEver = true;
        {
            bool modal = false;
            WhenShown options(QStringLiteral("frmOptions"), [&](QWidget* window) {
                modal = window->isModal();
                UserActions::Click(window, "btnClose");
            });
            DialogAnswerer user({QStringLiteral("cmdNo")});
            HandOver({SentinelSentence});
            QTRY_COMPARE(options.count(), 1);
            QVERIFY(modal);
            QCOMPARE(user.asked, QStringList{welcome});
        }
        // Later launches ask nothing: one options window, not modal, on top, however often.
        DialogAnswerer user({});
        HandOver({SentinelSentence});
        HandOver({SentinelSentence});
        QTRY_COMPARE(UserActions::Shown(QStringLiteral("frmOptions")).size(), 1);
        QPointer<QWidget> options = UserActions::Shown(QStringLiteral("frmOptions")).first();
        QVERIFY(!options->isModal() && options->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(user.asked.isEmpty());
        QCOMPARE(tutorials, 1);
        Click(UserActions::Child(options, "btnClose"));
        QTRY_VERIFY(!options);
        SetTutorialOpener(nullptr);
    }

    // A file manager's selection is screened as it arrives, like a drop; a command line only at run time.
    void protectedItemsFromTheShell()
    {
        Shared().SafeFolders = {m_dir.path() + QStringLiteral("/keep")};
        const QStringList files =
            MakeFiles({QStringLiteral("a"), QStringLiteral("keep/b"), QStringLiteral("keep/c")}, 30000);
        QCOMPARE(HandOver({files[1]}), CommandRelay::Delivery::Delivered);
        {
            DialogAnswerer user({QStringLiteral("cmdNo")});
            QCOMPARE(HandOver({ShellMenu::ClickMarker, files[0], files[2]}),
                     CommandRelay::Delivery::Delivered);
            QTRY_COMPARE(ListedPaths(), (QStringList{files[1], files[0]}));
            QCOMPARE(user.asked,
                     QStringList{ModifyQuestion(QStringLiteral(
                         "These items will NOT be shredded and were not added to the Shred List."))});
        }
        DialogAnswerer user({QStringLiteral("cmdNo")});
        Click("btnYes");
        QCOMPARE(user.asked, QStringList{ModifyQuestion(
                                 QStringLiteral("These items were NOT shredded and have been removed from "
                                                "the list."))});
        QCOMPARE(readFile(files[1]), seededBytes(30000, 2));
        QVERIFY(!exists(files[0]));
        QCOMPARE(Window().ListCount(), 0);
        QVERIFY(!Window().isVisible());
    }

    void lockedFileIsReportedAndTheListCleared()
    {
        const QStringList files = MakeFiles({QStringLiteral("locked"), QStringLiteral("free")}, 30000);
        QVERIFY2(TestFiles::setImmutable(files[0], true), "cannot make the file immutable (needs root)");
        DropFiles(ListViewport(), files);
        DialogAnswerer user({QStringLiteral("cmdOK")});
        Click("btnYes");
        QVERIFY(TestFiles::setImmutable(files[0], false));
        QCOMPARE(user.asked.size(), 1);
        QVERIFY(user.asked[0].startsWith(QStringLiteral("Locked files warning|Some files were locked")));
        QVERIFY(exists(files[0]) && !exists(files[1]));
        QCOMPARE(Window().ListCount(), 0);
        QVERIFY(!Window().isVisible());
    }

    void cleanupTestCase() { RemoveTree(m_dir.path()); }

private:
    QStringList MakeFiles(const QStringList& names, qint64 size)
    {
        QStringList paths;
        for (int i = 0; i < names.size(); ++i) {
            paths.append(m_dir.path() + QLatin1Char('/') + names[i]);
            QDir().mkpath(QFileInfo(paths.last()).path());
            writeFile(paths.last(), seededBytes(size, quint32(i + 1)));
        }
        return paths;
    }

    QTemporaryDir m_dir;
};

VANISTO_TEST_GUI_MAIN(TestFrmMainCode)
#include "tst_frmmaincode.moc"
