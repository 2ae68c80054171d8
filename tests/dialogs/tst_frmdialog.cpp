#include "../skin/MouseEvents.h"
#include "TestEnvironment.h"
#include "dialogs/modDialog.h"
#include "skin/MyTopButton.h"
#include "skin/modSkinForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
const QStringList ActionButtons = {QStringLiteral("btnYes"), QStringLiteral("cmdNo"), QStringLiteral("cmdOK"),
                                   QStringLiteral("cmdCancel"), QStringLiteral("cmdSysInfo")};

// The open message dialog showing `message` (any, when empty).
QWidget* OpenDialog(const QString& message = QString())
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->objectName() != QLatin1String("frmDialog") || !w->isVisible())
            continue;
        if (message.isEmpty() || w->findChild<QLabel*>(QStringLiteral("lblMessage"))->text() == message)
            return w;
    }
    return nullptr;
}

// Once the dialog is open (ShowDialog is blocked in it), `user` acts on it.
void WhenOpen(const std::function<void(QWidget*)>& user, const QString& message = QString())
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, user, message] {
        if (QWidget* dialog = OpenDialog(message)) {
            poll->stop();
            poll->deleteLater();
            user(dialog);
        }
    });
    poll->start(0);
}

template <typename T = QWidget> T* Child(QWidget* dialog, const QString& name)
{
    return dialog->findChild<T*>(name);
}

// A left click in the button's middle: press, then release over it.
void Click(QWidget* dialog, const QString& button)
{
    QWidget* target = Child(dialog, button);
    QTest::mousePress(target, Qt::LeftButton, {}, target->rect().center());
    QTest::mouseRelease(target, Qt::LeftButton, {}, target->rect().center());
}

QStringList Shown(QWidget* dialog)
{
    QStringList shown;
    for (const QString& name : ActionButtons)
        if (Child(dialog, name)->isVisible())
            shown << name;
    return shown;
}

QVariant Ask(qint32 buttons, bool withInput = false, bool closeEnabled = true,
             const QString& message = QStringLiteral("Are you sure you want to clear the Shred list?"))
{
    return ShowDialog(nullptr, message, QStringLiteral("Clear the Shred List?"), withInput, buttons,
                      DialogIcon::Question, closeEnabled);
}

bool OnTop(const QWidget* w)
{
    return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}
} // namespace

class TestFrmDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void answers_data()
    {
        QTest::addColumn<bool>("withInput");
        QTest::addColumn<qint32>("buttons");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("Yes") << false << 4 << QString() << "btnYes" << QVariant::fromValue<qint16>(2);
        QTest::newRow("No") << false << 4 << QString() << "cmdNo" << QVariant::fromValue<qint16>(3);
        QTest::newRow("Cancel") << false << 6 << QString() << "cmdCancel" << QVariant::fromValue<qint16>(1);
        QTest::newRow("OK") << false << 6 << QString() << "cmdOK" << QVariant::fromValue<qint16>(0);
        QTest::newRow("frame close") << false << 4 << QString() << "btnClose"
                                     << QVariant::fromValue<qint16>(1);
        QTest::newRow("OK with input") << true << 4 << "abc"
                                       << "cmdOK" << QVariant(QStringLiteral("0;abc"));
        QTest::newRow("OK, empty input")
            << true << 4 << QString() << "cmdOK" << QVariant(QStringLiteral("0;"));
        QTest::newRow("Cancel with input") << true << 4 << "abc"
                                           << "cmdCancel" << QVariant::fromValue<qint16>(1);
    }

    void answers()
    {
        QFETCH(bool, withInput);
        QFETCH(qint32, buttons);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QVariant, expected);
        WhenOpen([=](QWidget* dialog) {
            QTest::keyClicks(Child(dialog, QStringLiteral("txtDialogInput")), typed);
            Click(dialog, button);
        });
        const QVariant answer = Ask(buttons, withInput);
        QCOMPARE(answer.typeId(), expected.typeId());
        QCOMPARE(answer, expected);
        QVERIFY(!OpenDialog());
    }

    void enterInTheBoxIsOK()
    {
        // The box has the focus as the dialog opens: the user types at once.
        bool focused = false;
        WhenOpen([&](QWidget* dialog) {
            QWidget* box = Child(dialog, QStringLiteral("txtDialogInput"));
            focused = QTest::qWaitForWindowActive(dialog) && QApplication::focusWidget() == box;
            QTest::keyClicks(box, QStringLiteral("abc"));
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(Ask(4, true), QVariant(QStringLiteral("0;abc")));
        QVERIFY(focused);
    }

    void releaseAwayFromTheButtonDoesNothing()
    {
        bool stayed = false;
        WhenOpen([&stayed](QWidget* dialog) {
            QWidget* yes = Child(dialog, QStringLiteral("btnYes"));
            QTest::mousePress(yes, Qt::LeftButton, {}, yes->rect().center());
            QTest::mouseRelease(yes, Qt::LeftButton, {}, QPoint(yes->width() + 5, 5));
            stayed = dialog->isVisible();
            Click(dialog, QStringLiteral("cmdNo"));
        });
        QCOMPARE(Ask(4), QVariant::fromValue<qint16>(3));
        QVERIFY(stayed);
    }

    // At 96 DPI (15 twips a pixel): 1837.5 twips is 122.5 pixels, a pair starts at 85.5 and
    // 159.5; the input box's OK and Cancel stand at 1080 and 2400.
    void buttonSets_data()
    {
        QTest::addColumn<bool>("withInput");
        QTest::addColumn<qint32>("buttons");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<int>>("lefts");
        const QStringList ok = {QStringLiteral("cmdOK")};
        for (qint32 code : {0, 1, 5, 8, 99})
            QTest::addRow("%d: OK alone", code) << false << code << ok << QList<int>{123};
        QTest::newRow("2: Yes") << false << 2 << QStringList{QStringLiteral("btnYes")} << QList<int>{123};
        QTest::newRow("3: No") << false << 3 << QStringList{QStringLiteral("cmdNo")} << QList<int>{123};
        QTest::newRow("4: Yes, No") << false << 4
                                    << QStringList{QStringLiteral("btnYes"), QStringLiteral("cmdNo")}
                                    << QList<int>{86, 160};
        QTest::newRow("6: OK, Cancel")
            << false << 6 << QStringList{QStringLiteral("cmdOK"), QStringLiteral("cmdCancel")}
            << QList<int>{86, 160};
        QTest::newRow("7: OK, System")
            << false << 7 << QStringList{QStringLiteral("cmdOK"), QStringLiteral("cmdSysInfo")}
            << QList<int>{86, 160};
        QTest::newRow("input") << true << 4
                               << QStringList{QStringLiteral("cmdOK"), QStringLiteral("cmdCancel")}
                               << QList<int>{72, 160};
    }

    void buttonSets()
    {
        QFETCH(bool, withInput);
        QFETCH(qint32, buttons);
        QFETCH(QStringList, shown);
        QFETCH(QList<int>, lefts);
        QStringList seen;
        QList<int> seenLefts;
        bool boxShown = false;
        WhenOpen([&](QWidget* dialog) {
            seen = Shown(dialog);
            for (const QString& name : seen)
                seenLefts << Child(dialog, name)->x();
            boxShown = Child(dialog, QStringLiteral("txtDialogInput"))->isVisible();
            Click(dialog, seen.value(0));
        });
        Ask(buttons, withInput);
        QCOMPARE(seen, shown);
        QCOMPARE(seenLefts, lefts);
        QCOMPARE(boxShown, withInput);
    }

    void heightFollowsTheMessage()
    {
        struct Seen
        {
            QSize size;
            int line = 0;
            int message = 0;
            int buttonTop = 0;
        };
        auto measure = [](Seen& seen) {
            WhenOpen([&seen](QWidget* dialog) {
                auto* message = Child<QLabel>(dialog, QStringLiteral("lblMessage"));
                seen = {dialog->size(), message->fontMetrics().height(), message->height(),
                        Child(dialog, QStringLiteral("cmdOK"))->y()};
                Click(dialog, QStringLiteral("cmdOK"));
            });
        };
        Seen one;
        measure(one);
        Ask(1, false, true, QStringLiteral("Shredding is done."));
        QVERIFY(one.message >= one.line && one.message < 2 * one.line);
        QCOMPARE(one.buttonTop, qRound((840 + one.message * 15 + 200) / 15.0));
        QCOMPARE(one.size.height(), qRound((840 + one.message * 15 + 200 + 375 + 200) / 15.0));
        QCOMPARE(one.size.width(), 319);

        Seen longer;
        measure(longer);
        Ask(1, false, true, QStringLiteral("Some files could not be shredded now. ").repeated(6));
        QVERIFY(longer.message >= 4 * longer.line);
        QCOMPARE(longer.size.height() - one.size.height(), longer.message - one.message);
        QCOMPARE(longer.size.width(), 319);
    }

    void lineBreaksAndMarkupAsText()
    {
        QString shown;
        int height = 0;
        int line = 0;
        WhenOpen([&](QWidget* dialog) {
            auto* message = Child<QLabel>(dialog, QStringLiteral("lblMessage"));
            shown = message->text();
            height = message->height();
            line = message->fontMetrics().height();
            Click(dialog, QStringLiteral("cmdOK"));
        });
        Ask(1, false, true, QStringLiteral("<b>bold</b>\r\n\r\nthird"));
        QCOMPARE(shown, QStringLiteral("<b>bold</b>\n\nthird"));
        QVERIFY(height >= 3 * line);
    }

    void disabledCloseButton()
    {
        bool afterClose = false;
        bool afterEscape = false;
        WhenOpen([&](QWidget* dialog) {
            Click(dialog, QStringLiteral("btnClose"));
            afterClose = dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close(); // the window manager's close request
            afterEscape = dialog->isVisible();
            Click(dialog, QStringLiteral("btnYes"));
        });
        QCOMPARE(Ask(4, false, false), QVariant::fromValue<qint16>(2));
        QVERIFY(afterClose);
        QVERIFY(afterEscape);
    }

    void mainWindowTopmostAfterwards()
    {
        QWidget main;
        main.setObjectName(QStringLiteral("frmMainCode"));
        main.show();
        MakeNormal(&main);
        QWidget options;
        options.setObjectName(QStringLiteral("frmOptions"));
        options.show();
        MakeTopMost(&options);
        bool ownerOnTop = true;
        bool dialogOnTop = false;
        QWidget* parent = nullptr;
        WhenOpen([&](QWidget* dialog) {
            ownerOnTop = OnTop(&options);
            dialogOnTop = OnTop(dialog);
            parent = dialog->parentWidget();
            Click(dialog, QStringLiteral("cmdOK"));
        });
        ShowDialog(&options, QStringLiteral("Saved."), QStringLiteral("Options"), false, 1, 1, true);
        QVERIFY(!ownerOnTop);
        QVERIFY(dialogOnTop);
        QCOMPARE(parent, &options);
        QVERIFY(OnTop(&main));
        QVERIFY(!OnTop(&options));
    }

    void answerKeptWhenNoButtonAnswers()
    {
        WhenOpen([](QWidget* dialog) { Click(dialog, QStringLiteral("btnYes")); });
        QCOMPARE(Ask(4), QVariant::fromValue<qint16>(2));
        // The asking window goes away under the next dialog: no button wrote an answer.
        auto* owner = new QWidget;
        owner->show();
        WhenOpen([owner](QWidget*) { delete owner; });
        const QVariant answer =
            ShowDialog(owner, QStringLiteral("Clear?"), QStringLiteral("Clear"), false, 4, 2, false);
        QCOMPARE(answer, QVariant::fromValue<qint16>(2));
        QVERIFY(!OpenDialog());
    }

    void pointer()
    {
        using namespace MouseEvents;
        bool handOverOK = false;
        bool arrowOverMessage = false;
        bool arrowOverCancel = false;
        QPoint moved;
        WhenOpen([&](QWidget* dialog) {
            auto hand = [] {
                return QGuiApplication::overrideCursor() &&
                       QGuiApplication::overrideCursor()->shape() == Qt::PointingHandCursor;
            };
            QWidget* message = Child(dialog, QStringLiteral("lblMessage"));
            Hover(Child(dialog, QStringLiteral("cmdOK")), {20, 10});
            handOverOK = hand();
            Hover(message, {5, 5});
            arrowOverMessage = !hand();
            Hover(Child(dialog, QStringLiteral("cmdCancel")), {20, 10});
            arrowOverCancel = !hand();

            const QPoint start = dialog->pos();
            const QPoint pointer = QCursor::pos();
            Press(Child(dialog, QStringLiteral("lblTitle")), {3, 3});
            QMouseEvent drag(QEvent::MouseMove, QPointF(10, 10), QPointF(pointer + QPoint(30, 12)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(dialog, &drag);
            QMouseEvent drop(QEvent::MouseButtonRelease, QPointF(10, 10), QPointF(pointer + QPoint(30, 12)),
                             Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(dialog, &drop);
            moved = dialog->pos() - start;
            Click(dialog, QStringLiteral("cmdCancel"));
        });
        Ask(6);
        QVERIFY(handOverOK);
        QVERIFY(arrowOverMessage);
        QVERIFY(arrowOverCancel);
        QCOMPARE(moved, QPoint(30, 12));
    }

    void systemInfoUnavailable()
    {
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(empty.path()));
        qunsetenv("XDG_CURRENT_DESKTOP");
        const QString notice = QStringLiteral("System Information Is Unavailable At This Time.");
        QStringList noticeButtons;
        bool noticeCloseEnabled = true;
        WhenOpen([&](QWidget* dialog) {
            WhenOpen(
                [&](QWidget* shown) {
                    noticeButtons = Shown(shown);
                    noticeCloseEnabled = Child<MyTopButton>(shown, QStringLiteral("btnClose"))->Enabled();
                    Click(shown, QStringLiteral("cmdOK"));
                },
                notice);
            Click(dialog, QStringLiteral("cmdSysInfo"));
        });
        const QVariant answer = Ask(7);
        qputenv("PATH", path);
        QCOMPARE(answer, QVariant::fromValue<qint16>(0));
        QCOMPARE(noticeButtons, QStringList{QStringLiteral("cmdOK")});
        QVERIFY(!noticeCloseEnabled);
        QVERIFY(!OpenDialog());
    }

    void systemInfoStartsTheTool()
    {
        QTemporaryDir tools;
        const QString marker = tools.filePath(QStringLiteral("started"));
        QFile script(tools.filePath(QStringLiteral("hardinfo")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started > '" + QFile::encodeName(marker) + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(tools.path()));
        qunsetenv("XDG_CURRENT_DESKTOP");
        WhenOpen([](QWidget* dialog) { Click(dialog, QStringLiteral("cmdSysInfo")); });
        const QVariant answer = Ask(7);
        qputenv("PATH", path);
        QCOMPARE(answer, QVariant::fromValue<qint16>(0));
        QTRY_VERIFY(QFile::exists(marker));
    }
};

VANISTO_TEST_GUI_MAIN(TestFrmDialog)
#include "tst_frmdialog.moc"
