#include "../skin/MouseEvents.h"
#include "TestEnvironment.h"
#include "UserActions.h"
#include "dialogs/modDialog.h"
#include "skin/MyTopButton.h"
#include "skin/modSkinForm.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace UserActions;

namespace {
const char* const Buttons[] = {"btnYes", "cmdNo", "cmdOK", "cmdCancel", "cmdSysInfo"};

// Asks the question with `user` acting on the dialog once it is open (ShowDialog is blocked in it).
QVariant Ask(const std::function<void(QWidget*)>& user, qint32 buttons, bool withInput = false,
             bool closeEnabled = true,
             const QString& message = QStringLiteral("Are you sure you want to clear the Shred list?"))
{
    WhenShown watch(QStringLiteral("frmDialog"), user);
    return ShowDialog(nullptr, message, QStringLiteral("Clear the Shred List?"), withInput, buttons,
                      DialogIcon::Question, closeEnabled);
}

// The buttons shown and their lefts, and the input box when it is shown. At 96 DPI, 15 twips a
// pixel: one button at 1837.5 twips stands at 122.5 pixels, a pair at 85.5 and 159.5; with the
// input box OK and Cancel stand at 1080 and 2400 twips.
QString Placed(QWidget* dialog)
{
    QStringList shown;
    for (const char* name : Buttons)
        if (Child(dialog, name)->isVisible())
            shown << QLatin1String(name) << QString::number(Child(dialog, name)->x());
    if (Child(dialog, "txtDialogInput")->isVisible())
        shown << QStringLiteral("box");
    return shown.join(u' ');
}

bool OnTop(const QWidget* w)
{
    return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

QVariant Code(qint16 code)
{
    return QVariant::fromValue(code);
}
} // namespace

class TestFrmDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answers_data()
    {
        QTest::addColumn<bool>("withInput");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button"); // "Return": the Enter key in the input box
        QTest::addColumn<QVariant>("expected");
        const QVariant typed = QStringLiteral("0;abc");
        QTest::newRow("Yes") << false << QString() << QStringLiteral("btnYes") << Code(2);
        QTest::newRow("No") << false << QString() << QStringLiteral("cmdNo") << Code(3);
        QTest::newRow("frame close") << false << QString() << QStringLiteral("btnClose") << Code(1);
        QTest::newRow("OK") << true << QStringLiteral("abc") << QStringLiteral("cmdOK") << typed;
        QTest::newRow("OK, empty") << true << QString() << QStringLiteral("cmdOK")
                                   << QVariant(QStringLiteral("0;"));
        QTest::newRow("Enter") << true << QStringLiteral("abc") << QStringLiteral("Return") << typed;
        QTest::newRow("Cancel") << true << QStringLiteral("abc") << QStringLiteral("cmdCancel") << Code(1);
    }

    void answers()
    {
        QFETCH(bool, withInput);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QVariant, expected);
        bool boxHasFocus = false;
        QString placed;
        const QVariant answer = Ask(
            [&](QWidget* dialog) {
                QWidget* box = Child(dialog, "txtDialogInput");
                boxHasFocus = QTest::qWaitForWindowActive(dialog) && QApplication::focusWidget() == box;
                placed = Placed(dialog);
                QTest::keyClicks(box, typed);
                if (button == QLatin1String("Return"))
                    QTest::keyClick(box, Qt::Key_Return);
                else
                    Click(Child(dialog, button));
            },
            DialogButtons::YesNo, withInput);
        QCOMPARE(answer.typeId(), expected.typeId());
        QCOMPARE(answer, expected);
        QCOMPARE(boxHasFocus, withInput);
        QCOMPARE(placed, QLatin1String(withInput ? "cmdOK 72 cmdCancel 160 box" : "btnYes 86 cmdNo 160"));
        QVERIFY(Shown(QStringLiteral("frmDialog")).isEmpty());
    }

    // The message is plain text, CR LF a line break, and the dialog grows with it.
    void messageSetsTheHeight()
    {
        struct Seen
        {
            QString text;
            QSize size;
            int lines = 0;
            int message = 0;
            int buttonTop = 0;
        };
        auto ask = [](const QString& message) {
            Seen seen;
            Ask(
                [&seen](QWidget* dialog) {
                    auto* label = Child<QLabel>(dialog, "lblMessage");
                    seen = {label->text(), dialog->size(), label->height() / label->fontMetrics().height(),
                            label->height(), Child(dialog, "cmdOK")->y()};
                    Click(dialog, "cmdOK");
                },
                DialogButtons::OK, false, true, message);
            return seen;
        };
        const Seen three = ask(QStringLiteral("<b>bold</b>\r\n\r\nthird"));
        QCOMPARE(three.text, QStringLiteral("<b>bold</b>\n\nthird"));
        QCOMPARE(three.lines, 3);
        QCOMPARE(three.buttonTop, qRound((840 + three.message * 15 + 200) / 15.0));
        QCOMPARE(three.size, QSize(319, qRound((840 + three.message * 15 + 200 + 375 + 200) / 15.0)));
        const Seen longer = ask(QStringLiteral("Some files could not be shredded now. ").repeated(6));
        QVERIFY(longer.lines >= 4);
        QCOMPARE(longer.size, three.size + QSize(0, longer.message - three.message));
    }

    void onlyAnActionButtonCloses()
    {
        QList<bool> open;
        const QVariant answer = Ask(
            [&](QWidget* dialog) {
                Click(dialog, "btnClose"); // disabled
                open << dialog->isVisible();
                QTest::keyClick(dialog, Qt::Key_Escape);
                dialog->close(); // the window manager's close request
                open << dialog->isVisible();
                QWidget* yes = Child(dialog, "btnYes");
                QTest::mousePress(yes, Qt::LeftButton, {}, yes->rect().center());
                QTest::mouseRelease(yes, Qt::LeftButton, {}, QPoint(yes->width() + 5, 5)); // released away
                open << dialog->isVisible();
                Click(dialog, "cmdNo");
            },
            DialogButtons::YesNo, false, false);
        QCOMPARE(answer, Code(3));
        QCOMPARE(open, QList<bool>({true, true, true}));
    }

    void mainWindowTopmostAfterwards()
    {
        QWidget main;
        main.setObjectName(QStringLiteral("frmMainCode"));
        main.show();
        MakeNormal(&main);
        QWidget options;
        options.show();
        MakeTopMost(&options);
        QList<bool> during;
        WhenShown watch(QStringLiteral("frmDialog"), [&](QWidget* dialog) {
            during = {OnTop(&options), OnTop(dialog), dialog->parentWidget() == &options};
            Click(dialog, "cmdOK");
        });
        ShowDialog(&options, QStringLiteral("Saved."), QStringLiteral("Options"), false, 1, 1, true);
        QCOMPARE(during, QList<bool>({false, true, true}));
        QVERIFY(OnTop(&main) && !OnTop(&options));
    }

    void answerKeptWhenNoButtonAnswers()
    {
        QCOMPARE(Ask([](QWidget* dialog) { Click(dialog, "btnYes"); }, DialogButtons::YesNo), Code(2));
        // The asking window goes away under the next dialog: no button wrote an answer.
        auto* owner = new QWidget;
        owner->show();
        WhenShown watch(QStringLiteral("frmDialog"), [owner](QWidget*) { delete owner; });
        QCOMPARE(ShowDialog(owner, QStringLiteral("Clear?"), QStringLiteral("Clear"), false, 4, 2, false),
                 Code(2));
        QVERIFY(Shown(QStringLiteral("frmDialog")).isEmpty());
    }

    void pointer()
    {
        QStringList hands;
        QPoint moved;
        Ask(
            [&](QWidget* dialog) {
                for (const char* name : {"cmdOK", "lblMessage", "cmdCancel", "btnClose", "ImgIcon"}) {
                    MouseEvents::Hover(Child(dialog, name), {10, 10});
                    const QCursor* cursor = QGuiApplication::overrideCursor();
                    hands << QLatin1String(cursor && cursor->shape() == Qt::PointingHandCursor ? "hand"
                                                                                               : "arrow");
                }
                const QPoint start = dialog->pos();
                const QPoint pointer = QCursor::pos();
                MouseEvents::Press(Child(dialog, "lblTitle"), {3, 3});
                QMouseEvent drag(QEvent::MouseMove, QPointF(10, 10), QPointF(pointer + QPoint(30, 12)),
                                 Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(dialog, &drag);
                MouseEvents::Release(dialog, {10, 10});
                moved = dialog->pos() - start;
                Click(dialog, "cmdCancel");
            },
            DialogButtons::OKCancel);
        // Cancel has no pointer handling: it keeps the arrow the message left.
        QCOMPARE(hands.join(u' '), QStringLiteral("hand arrow arrow hand arrow"));
        QCOMPARE(moved, QPoint(30, 12));
    }

    // Without the tool a notice says so, which only its OK button closes; the question is answered OK.
    void systemInfoUnavailable()
    {
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(empty.path()));
        qunsetenv("XDG_CURRENT_DESKTOP");
        QStringList placed;
        const QVariant answer = Ask(
            [&](QWidget* dialog) {
                placed << Placed(dialog);
                if (placed.size() == 1)
                    return Click(dialog, "cmdSysInfo");
                placed << TextOf(dialog, "lblMessage")
                       << QString::number(Child<MyTopButton>(dialog, "btnClose")->Enabled());
                Click(dialog, "cmdOK");
            },
            DialogButtons::OKSystemInfo);
        qputenv("PATH", path);
        QCOMPARE(answer, Code(0));
        QCOMPARE(placed.join(u'|'), QStringLiteral("cmdOK 86 cmdSysInfo 160|cmdOK 123|System Information Is "
                                                   "Unavailable At This Time.|0"));
        QVERIFY(Shown(QStringLiteral("frmDialog")).isEmpty());
    }
};

VANISTO_TEST_GUI_MAIN(TestFrmDialog)
#include "tst_frmdialog.moc"
