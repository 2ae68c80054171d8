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
#include "shredlist/IconKey.h"
#include "shredlist/LstArray.h"
#include "shredlist/ShredList.h"
#include "shredlist/ShredListWindow.h"
#include "shredlist/frmMainCode.h"
#include "skin/cpvProgressBar.h"
#include "skin/modSkinForm.h"

#include <algorithm>
#include <sys/stat.h>

using UserActions::DialogAnswerer;
using UserActions::WhenShown;

namespace {
// Runs `action` in the event loop the first time `when` holds, as the run yields to a user's click.
struct DuringRun : QTimer
{
    DuringRun(std::function<bool()> when, std::function<void()> action)
    {
        connect(this, &QTimer::timeout, [this, when, action] {
            if (isActive() && when()) {
                stop();
                action();
            }
        });
        start(1);
    }
};

QString ModifyQuestion(const QString& what)
{
    return u"Modify the 'Do Not Shred' List?|You attempted to shred items from a 'Do Not Shred' folder "
           u"location. "_s +
           what + u"\n\nWould you like to modify your 'Do Not Shred' folder locations?"_s;
}
const QString CannotBeRecovered = u"\r\nShredded items cannot be recovered."_s;
const QString NotAdded = u"These items will NOT be shredded and were not added to the Shred List."_s;
class FakeWindow : public ShredListWindow
{
public:
    void ShowForm() override { onShow(); }
    void HideForm() override {}
    void SetCountCaptions(const CountCaptions& c) override { captions << c; }
    void SetScroller(int min, int max, int value) override { scroller = {min, max, value}; }

    int shown = 0;
    std::function<void()> onShow = [this] { ++shown; };
    QList<CountCaptions> captions;
    QList<int> scroller;
};

QString TypeName(const char* mimeType)
{
    return QMimeDatabase().mimeTypeForName(QLatin1String(mimeType)).comment();
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
        const QString queued = m_dir.path() + u"/queued last time"_s;
        QVERIFY(writeFile(queued, seededBytes(50000, 9)));
        struct stat status = {};
        QCOMPARE(::stat(QFile::encodeName(queued).constData(), &status), 0);
        QVERIFY(DeleteAfterReboot(queued, status));
        Window().Form_Load();
        QCoreApplication::processEvents();
        QVERIFY(!exists(queued) && !Window().isVisible());
        VerifyIdle(u"Stopped"_s);
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
        state.NumOverwrite = state.FastShred = state.PromptSafeFiles = 1;
        state.ShredNow = state.PromptSafeFilesQuestion = false;
        state.SafeFolders.clear();
        RemoveTree(m_dir.path());
        QDir().mkpath(m_dir.path());
        m_list.reset();
        m_view = std::make_unique<LstArray>();
        m_window = std::make_unique<FakeWindow>();
        m_list = std::make_unique<ShredList>(*m_window, *m_view);
    }

    // Contracting keeps the window in place; the bar stays a bar through a run its only button cancels.
    void layoutsHaveTheirSizes()
    {
        const QStringList files = MakeFiles({u"one"_s, u"two"_s}, 1 << 20);
        DropFiles(&Window(), {files[0]});
        QCOMPARE(Window().size(), QSize(333, 120));
        Click("btnShow");
        QCOMPARE(Window().size(), QSize(485, 494));
        QCOMPARE(Shared().ListState, u"showlist"_s);
        QVERIFY(Control("btnShow")->isHidden() && Control("LstArray")->isVisible());
        const QPoint topLeft = Window().pos();
        Click("btnContract");
        QCOMPARE(Window().size(), QSize(333, 46));
        QCOMPARE(Window().pos(), topLeft);
        QVERIFY(Control("lblPrompt")->isHidden());
        QCOMPARE(Text("lblPrompt"), u"1\r\nitem"_s);
        Click("btnExpand");
        QCOMPARE(Window().size(), QSize(485, 494));
        QCOMPARE(Captions(), CountCaptionsFor(1));
        QVERIFY(!Control("btnHide")->isHidden());
        Click("btnHide");
        QCOMPARE(Window().size(), QSize(333, 120));
        QCOMPARE(Shared().ListState, u"hidelist"_s);
        QVERIFY(!Control("LstArray")->isVisible() && !Control("btnShow")->isHidden());
        DropFiles(&Window(), {files[1]});
        Click("btnShow");
        Click("btnContract");
        QSize during;
        bool smallBarShown = false;
        DuringRun look(Shredding, [&] {
            during = Window().size();
            smallBarShown = !Control("bareditsmall")->isHidden();
            Click("btnShred");
        });
        Click("btnShred");
        QVERIFY(smallBarShown && Control("bareditsmall")->isHidden());
        QCOMPARE(QList({during, Window().size()}), QList({QSize(333, 46), QSize(333, 46)}));
        QCOMPARE(Window().ListCount(), 1);
        // Expanded, the run has left the list-hidden layout.
        Click("btnExpand");
        QCOMPARE(Window().size(), QSize(333, 120));
        QVERIFY(!Control("btnShow")->isHidden());
        QCOMPARE(Captions(), CountCaptionsFor(1));
    }

    void dropsAddToTheListAndPressesMoveTheWindow_data()
    {
        QTest::addColumn<QString>("part");
        // Whether a press there moves the window; -1 where it is only dropped on.
        QTest::addColumn<int>("moves");
        for (const char* part :
             {"frmMainCode", "ImgIcon", "lblPrompt", "Label1", "Pictureframe", "bareditsmall"})
            QTest::newRow(part) << QString::fromLatin1(part) << 1;
        for (const char* part : {"LstArray", "btnYes"})
            QTest::newRow(part) << QString::fromLatin1(part) << 0;
        for (const char* part : {"btnShred", "btnClose", "myscroller", "lblshred", "btnBall"})
            QTest::newRow(part) << QString::fromLatin1(part) << -1;
    }

    // Everywhere but on the announcements ball, which has its own drop; the same files again are duplicates.
    void dropsAddToTheListAndPressesMoveTheWindow()
    {
        QFETCH(QString, part);
        const QStringList files = MakeFiles({u"first.txt"_s, u"second file.txt"_s}, 100);
        QDir().mkpath(m_dir.path() + u"/folder"_s);
        DropFiles(Part(part), files + QStringList{m_dir.path() + u"/folder/"_s});
        const bool ball = part == "btnBall"_L1;
        QCOMPARE(Window().isVisible(), !ball);
        QCOMPARE(Texts(), ball ? QStringList() : files + QStringList{m_dir.path() + u"/folder"_s});
        if (ball)
            return;
        QCOMPARE(Window().ListSubItem(2, 1), u"DIR"_s);
        QCOMPARE(Captions(),
                 CountCaptions({u"3 items"_s,
                                u"Are you sure you want to shred these 3 Items?"_s + CannotBeRecovered,
                                u"Shred :3 items"_s}));
        DropFiles(Part(part), files);
        QCOMPARE(Window().ListCount(), 3);
        QFETCH(int, moves);
        if (moves < 0)
            return;
        Click("btnShow");
        QWidget* widget = Part(part);
        widget->show();
        const QPoint start = Window().pos();
        MouseEvents::Press(widget, {3, 3});
        const QPointF to = QCursor::pos() + QPoint(35, 12);
        for (auto [type, button, held] : {std::tuple{QEvent::MouseMove, Qt::NoButton, Qt::LeftButton},
                                          {QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton}}) {
            QMouseEvent event(type, QPointF(3, 3), to, button, held, Qt::NoModifier);
            QCoreApplication::sendEvent(&Window(), &event);
        }
        QCOMPARE(int(Window().pos() != start), moves);
        Window().move(start);
    }

    // Each argument is one whole path, and a name that is not text keeps its bytes; the names that
    // splitting, unquoting or a lossy decoding make, and the same folder on another machine, are not ours.
    void namesArriveExactly()
    {
        const QByteArray folder = QFile::encodeName(m_dir.path());
        const QString file = PathBytes::decode(folder + "/caf\xE9.txt");
        const QString subfolder = PathBytes::decode(folder + "/d\xE9j\xE0");
        QStringList files =
            MakeFiles({u"my \"notes\" file.txt"_s, u"a\"b"_s, u"x;y z"_s, u"two\nlines"_s}, 100);
        const QStringList lookAlikes =
            MakeFiles({u"my notes file.txt"_s, u"ab"_s, u"x"_s, u"two"_s, u"caf\uFFFD.txt"_s}, 100);
        QVERIFY(writeFile(m_dir.path() + u"/exact"_s, "exact"));
        QCOMPARE(::rename((folder + "/exact").constData(), PathBytes::encode(file).constData()), 0);
        QCOMPARE(::mkdir(PathBytes::encode(subfolder).constData(), 0700), 0);
        QCOMPARE(HandOver(files + QStringList{subfolder}), CommandRelay::Delivery::Delivered);
        DropFiles(ListViewport(), {file});
        DropFiles(ListViewport(), {lookAlikes[4]}, "server");
        files << subfolder << file;
        QCOMPARE(Texts(), files);
        QVERIFY(Window().isVisible() && Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(Captions(), CountCaptionsFor(6));
        QCOMPARE(Window().ListSubItem(4, 1) + Window().ListSubItem(5, 2), u"DIRcaf\uFFFD.txt"_s);
        QCOMPARE(Control<LstArray>("LstArray")->model()->index(5, 0).data().toString(),
                 PathBytes::readable(file));
        Window().ClearAll(true);
        Shared().ShredNow = true;
        QCOMPARE(HandOver(files), CommandRelay::Delivery::Delivered);
        QCOMPARE(std::count_if(files.begin(), files.end(), exists), 0);
        for (int i = 0; i < lookAlikes.size(); ++i)
            QCOMPARE(readFile(lookAlikes[i]), seededBytes(100, quint32(i + 1)));
    }

    void stopDuringSecondOfFiveFinishesIt_data()
    {
        QTest::addColumn<QString>("stopButton");
        for (const char* button : {"btnCancel", "btnShred", "btnClose"})
            QTest::newRow(button) << QString::fromLatin1(button);
    }

    // Cancel stands in for Yes during a run; a stop lets the file in progress finish, a second run the rest.
    void stopDuringSecondOfFiveFinishesIt()
    {
        QFETCH(QString, stopButton);
        QStringList names;
        for (int i = 1; i <= 5; ++i)
            names.append(u"file %1 with a name longer than thirty.bin"_s.arg(i));
        const QStringList files = MakeFiles(names, 4 << 20);
        DropFiles(ListViewport(), files);
        QStringList during;
        DuringRun stop([&] { return Shredding() && Texts().value(0) == files[1]; },
                       [&] {
                           during << Text("lblshred") << QString::number(Control("btnCancel")->isVisible())
                                  << QString::number(Control("btnYes")->isVisible());
                           UserActions::Click(Part(stopButton));
                           during << Text("lblPrompt");
                       });
        Click("btnYes");
        QCOMPARE(during,
                 QStringList({u"Shredding"_s, u"1"_s, u"0"_s,
                              u"Shredding will stop after the current file has finished.\r\nSHREDDING: "_s +
                                  names[1].left(30) + u"..."_s}));
        QVERIFY(!exists(files[0]) && !exists(files[1]));
        for (int i = 2; i < 5; ++i)
            QCOMPARE(readFile(files[i]), seededBytes(4 << 20, quint32(i + 1)));
        QCOMPARE(Texts(), files.mid(2));
        QVERIFY(Window().isVisible() && !Control("btnShow")->isHidden());
        VerifyIdle(u"Stopped"_s);
        QCOMPARE(Captions(), CountCaptionsFor(3));
        Click("btnYes");
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
        QVERIFY(!Window().isVisible());
    }

    // Only the clearing asks, and no file is touched; closing an idle window empties the list too.
    void listCommandsAskBeforeClearing()
    {
        const QStringList files = MakeFiles({u"x"_s, u"y"_s, u"z"_s}, 100);
        DropFiles(ListViewport(), files);
        Click("btnShow");
        auto* list = Control<LstArray>("LstArray");
        const auto checked = [list] { return QList{list->Checked(0), list->Checked(1), list->Checked(2)}; };
        list->SetChecked(1, false);
        QTest::mouseClick(Control("Selection1"), Qt::LeftButton);
        QCOMPARE(checked(), QList({false, true, false}));
        QTest::mouseClick(Control("Selection0"), Qt::LeftButton);
        QCOMPARE(checked(), QList({true, true, true}));
        list->SetChecked(1, false);
        DialogAnswerer user({u"btnYes"_s, u"cmdNo"_s, u"btnYes"_s});
        QTest::mouseClick(Control("Selection2"), Qt::LeftButton);
        // What is kept stays unchecked, a bare item without its type.
        QCOMPARE(Texts(), QStringList{files[1]});
        QVERIFY(!list->Checked(0) && list->IconIndex(0) == -1 && Window().ListSubItem(0, 1).isEmpty());
        QCOMPARE(
            Captions(),
            CountCaptions({u"1 item"_s, u"Are you sure you want to shred this item?"_s + CannotBeRecovered,
                           u"Shred :1 item"_s}));
        QTest::mouseClick(Control("Selection3"), Qt::LeftButton);
        QCOMPARE(Window().ListCount(), 1);
        QTest::mouseClick(Control("Selection3"), Qt::LeftButton);
        QCOMPARE(user.asked.size(), 3);
        QCOMPARE(user.asked[1], u"Clear the Shred List?|Are you sure you want to clear the Shred list?"_s);
        QCOMPARE(Captions(), CountCaptions({u"0 items"_s, u"No items selected"_s, u"Shred :0 items"_s}));
        // The captions are laid out once a burst of changes is over.
        for (const char* name : {"Label1", "lblPrompt", "lblshred"}) {
            auto* label = Control<QLabel>(name);
            QTRY_VERIFY(label->updatesEnabled());
            QCOMPARE(label->size(), label->sizeHint());
        }
        QVERIFY(Window().isVisible() && Window().ListCount() == 0);
        DropFiles(ListViewport(), files);
        Click("btnClose");
        QVERIFY(!Window().isVisible() && Window().ListCount() == 0);
        QCOMPARE(std::count_if(files.begin(), files.end(), exists), 3);
    }

    void ballFollowsThePointerAndPausesForARun()
    {
        DropFiles(ListViewport(), MakeFiles({u"ball"_s}, 100000));
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
        QVERIFY(pausedDuringRun && !Control("pic1")->isHidden());
        QCOMPARE(Window().TimerInterval(RunTimer::Timer1), 20);
        Window().StopBall();
    }

    // The stored "0" counts from the next start; modifying the list opens the options, ends Instant Shred.
    void protectedDropIsRefusedWithTheWarning()
    {
        Shared().PromptSafeFilesQuestion = true;
        Shared().SafeFolders = {m_dir.path() + u"/KEEP"_s};
        const QStringList files = MakeFiles({u"a"_s, u"keep/b"_s, u"c"_s}, 100);
        DialogAnswerer user({u"cmdNo"_s, u"cmdNo"_s, u"btnYes"_s});
        DropFiles(ListViewport(), files);
        QCOMPARE(user.asked, QStringList({ModifyQuestion(NotAdded),
                                          u"Prompt for 'Do Not Shred' Warning?|Would "
                                          u"you like to receive this warning in the future?"_s}));
        QCOMPARE(Texts(), (QStringList{files[0], files[2]}));
        QCOMPARE(ReadStringSetting(Setting::PromptSafeFiles) +
                     ReadStringSetting(Setting::PromptSafeFilesQuestion),
                 u"0False"_s);
        Shared().ShredNow = true;
        WhenShown options(u"frmOptions"_s, [](QWidget* window) { UserActions::Click(window, "btnClose"); });
        DropFiles(Control("btnNo"), {files[1]});
        QCOMPARE(user.asked.size(), 3);
        QCOMPARE(options.count(), 1);
        QCOMPARE(Texts(), (QStringList{files[0], files[2]}));
        QVERIFY(exists(files[0]) && Window().isVisible());
    }

    // NORMAL with 1 wipe becomes ENHANCED with 8 (4 blocks, 8 passes of "1", "0" and letters); the
    // folder is protected at once, a file manager's selection as it arrives, a command line at run time.
    void optionsChangeTheNextRunAndTheScreening()
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        const QString keep = m_dir.path() + u"/keep"_s;
        QVERIFY(QDir().mkpath(keep));
        {
            WhenShown options(u"frmOptions"_s, [&](QWidget* window) {
                UserActions::FolderChooser chooser({keep});
                for (const char* button : {"btnFastShred", "btnSafeShred", "btnClose"})
                    UserActions::Click(window, button);
            });
            Click("btnOptions");
            QCOMPARE(options.count(), 1);
        }
        const QStringList files =
            MakeFiles({u"enhanced"_s, u"keep/inside"_s, u"keep/handed over"_s}, 3 * 8192);
        QCOMPARE(HandOver({files[2]}), CommandRelay::Delivery::Delivered);
        DialogAnswerer user({u"cmdNo"_s, u"cmdNo"_s});
        QCOMPARE(HandOver({ShellMenu::ClickMarker, files[0], files[1]}), CommandRelay::Delivery::Delivered);
        QTRY_COMPARE(Texts(), (QStringList{files[2], files[0]}));
        QCOMPARE(user.asked, QStringList{ModifyQuestion(NotAdded)});
        qint32 barMax = 0;
        QTimer sample;
        connect(&sample, &QTimer::timeout,
                [&] { barMax = qMax(barMax, Control<cpvProgressBar>("baredit")->Max()); });
        sample.start(0);
        Click("btnYes");
        QCOMPARE(user.asked.last(),
                 ModifyQuestion(u"These items were NOT shredded and have been removed from the list."_s));
        QVERIFY(!exists(files[0]) && Window().ListCount() == 0 && !Window().isVisible());
        QCOMPARE(readFile(files[1]) + readFile(files[2]),
                 seededBytes(3 * 8192, 2) + seededBytes(3 * 8192, 3));
        QCOMPARE(barMax, 4 * 8 * 3);
        SaveStringSetting(Setting::SafeFiles, QString());
        SaveStringSetting(Setting::FastShred, u"1"_s);
    }

    // A first launch asks: Yes runs the tutorial, No opens the options modally. Later launches
    // open one options window, not modal, on top, however often.
    void launchWithoutPathsWelcomesOnceThenOpensTheOptions()
    {
        int tutorials = 0;
        SetTutorialOpener([&](QWidget*) { ++tutorials; });
        const QString welcome = u"Welcome to Vanisto|This appears to be the first time you have run "
                                u"Vanisto 1.0. Would you like to run the tutorial?"_s;
        bool modal = false;
        WhenShown modalOptions(u"frmOptions"_s, [&](QWidget* window) {
            if ((modal = window->isModal()))
                UserActions::Click(window, "btnClose");
        });
        DialogAnswerer user({u"btnYes"_s, u"cmdNo"_s});
        for (int i = 0; i < 2; ++i) {
            Shared().FirstStartEver = true;
            QCOMPARE(HandOver({SentinelSentence}), CommandRelay::Delivery::Delivered);
            QTRY_COMPARE(user.asked.size(), i + 1);
            QCOMPARE(tutorials, 1);
            QVERIFY(i > 0 || Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        }
        QTRY_VERIFY(modal);
        HandOver({SentinelSentence});
        HandOver({SentinelSentence});
        QTRY_COMPARE(UserActions::Shown(u"frmOptions"_s).size(), 1);
        QPointer<QWidget> options = UserActions::Shown(u"frmOptions"_s).first();
        QVERIFY(!options->isModal() && options->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(user.asked, QStringList({welcome, welcome}));
        QCOMPARE(tutorials, 1);
        UserActions::Click(options, "btnClose");
        QTRY_VERIFY(!options);
        SetTutorialOpener(nullptr);
    }

    // Neither a locked nor an unchecked file is shredded, and neither stays in the list.
    void lockedFileIsReportedAndTheListCleared()
    {
        const QStringList files = MakeFiles({u"locked"_s, u"free"_s, u"unchecked"_s}, 30000);
        QVERIFY2(TestFiles::setImmutable(files[0], true), "cannot make the file immutable (needs root)");
        DropFiles(ListViewport(), files);
        Control<LstArray>("LstArray")->SetChecked(2, false);
        DialogAnswerer user({u"cmdOK"_s});
        Click("btnYes");
        QVERIFY(TestFiles::setImmutable(files[0], false));
        QCOMPARE(user.asked.size(), 1);
        QVERIFY(user.asked[0].startsWith(u"Locked files warning|Some files were locked"_s));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), (QStringList{u"locked"_s, u"unchecked"_s}));
        QCOMPARE(readFile(files[2]), seededBytes(30000, 3));
        QVERIFY(Window().ListCount() == 0 && !Window().isVisible());
        VerifyIdle(u"Stopped"_s);
    }

    // Programs, icons, libraries, controls and links have pictures of their own, keyed by the whole path.
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
        QCOMPARE(m_view->Count() + m_list->ItemCount() + m_window->shown + int(m_window->captions.size()), 0);
        const QString launcher = menu + u"/old.desktop"_s;
        QVERIFY(writeFile(launcher, {}));
        const QString deep = TestFiles::makeDeepFolder(m_dir.path());
        QVERIFY(PathBytes::encode(deep).size() > 4096);
        for (const QString& path : {launcher, deep, deep + u"/last"_s})
            m_list->AddPathFromShell(path);
        QCOMPARE(Texts(m_view.get()), (QStringList{launcher, deep, deep + u"/last"_s}));
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
            pending.append(MakeFiles({u"nested%1.type%1"_s.arg(i)}, 7).first());
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
        QStringList texts = Texts(m_view.get()), table = m_list->FileArray();
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
    void cleanupTestCase() { RemoveTree(m_dir.path()); }

private:
    static frmMainCode& Window() { return *frmMainCode::instance(); }
    template <typename T = QWidget> static T* Control(const char* name)
    {
        return UserActions::Child<T>(&Window(), name);
    }
    static QString Text(const char* label) { return UserActions::TextOf(&Window(), label); }
    static CountCaptions Captions() { return {Text("Label1"), Text("lblPrompt"), Text("lblshred")}; }
    static QWidget* ListViewport() { return Control<LstArray>("LstArray")->viewport(); }
    static bool Shredding() { return Text("lblstatus2") == "Shredding"_L1; }
    static void Click(const char* name) { UserActions::Click(Control(name)); }
    // A part of the window by name; the list stands for its rows.
    static QWidget* Part(const QString& name)
    {
        return name == "frmMainCode"_L1 ? &Window()
               : name == "LstArray"_L1  ? ListViewport()
                                        : Control(name.toLatin1().constData());
    }
    static CommandRelay::Delivery HandOver(const QStringList& arguments)
    {
        return CommandRelayConnector::commandRelay()->setCommandLine(arguments);
    }
    // rm walks down by descriptors and bytes: it removes names QDir cannot (not text, or too long).
    static void RemoveTree(const QString& folder) { QProcess::execute(u"rm"_s, {u"-rf"_s, folder}); }
    static QStringList Texts(const LstArray* list = Control<LstArray>("LstArray"))
    {
        QStringList texts;
        for (int i = 0; i < list->Count(); ++i)
            texts.append(list->Text(i));
        return texts;
    }
    static void VerifyIdle(const QString& status)
    {
        QCOMPARE(Text("lblstatus") + Text("lblstatus2"), status + u"Done"_s);
        QVERIFY(Control("baredit")->isHidden() && Control("btnCancel")->isHidden() &&
                !Control("btnYes")->isHidden());
    }
    // Files dropped from a file manager: the URLs hold the names' bytes percent-encoded, and `host`.
    static void DropFiles(QWidget* target, const QStringList& paths, const QByteArray& host = {})
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromEncoded("file://" + host + PathBytes::encode(path).toPercentEncoding("/")));
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }
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
    QStringList add(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names) {
            const bool folder = name.endsWith(QLatin1Char('/'));
            paths << (folder ? m_dir.filePath(name.chopped(1)) : MakeFiles({name}, 7).first());
            QDir().mkpath(m_dir.filePath(folder ? name : QString()));
            m_list->AddPathFromShell(paths.last());
        }
        return paths;
    }

    void verifyBookkeeping(int count)
    {
        QCOMPARE(m_list->ItemCount(), count);
        QCOMPARE(m_list->FileArray().mid(0, count), Texts(m_view.get()));
        QCOMPARE(m_window->captions.last(), CountCaptionsFor(count));
    }

    void verifyPictures()
    {
        for (int i = 0; i < m_view->Count(); ++i) {
            const int icon = m_view->IconIndex(i);
            QCOMPARE(m_list->ilsIcons32().Key(icon), m_view->SubItem(i, 1));
            QCOMPARE(m_list->ilsIcons16().Key(icon), m_view->SubItem(i, 1));
        }
    }

    QTemporaryDir m_dir;
    std::unique_ptr<FakeWindow> m_window;
    std::unique_ptr<LstArray> m_view;
    std::unique_ptr<ShredList> m_list;
};

VANISTO_TEST_GUI_MAIN(TestFrmMainCode)
#include "tst_frmmaincode.moc"
