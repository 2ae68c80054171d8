#include "../skin/MouseEvents.h"
#include "TestEnvironment.h"
#include "dialogs/modDialog.h"
#include "skin/MyTopButton.h"
#include "skin/modSkinForm.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace MouseEvents;

namespace {
// The open message dialog showing `message` (any, when empty).
QWidget* OpenDialog(const QString& message = QString())
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w->objectName() == QLatin1String("frmDialog") && w->isVisible() &&
            (message.isEmpty() || w->findChild<QLabel*>(QStringLiteral("lblMessage"))->text() == message))
            return w;
    return nullptr;
}

// Once the dialog is open (ShowDialog is blocked in it), `user` acts on it.
void WhenOpen(const std::function<void(QWidget*)>& user, const QString& message = QString())
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, user, message] {
        if (QWidget* dialog = OpenDialog(message)) {
            poll->deleteLater();
            poll->stop();
            user(dialog);
        }
    });
    poll->start(0);
}

template <typename T = QWidget> T* Child(QWidget* dialog, const char* name)
{
    return dialog->findChild<T*>(QLatin1String(name));
}

void Click(QWidget* dialog, const char* button)
{
    QWidget* target = Child(dialog, button);
    QTest::mousePress(target, Qt::LeftButton, {}, target->rect().center());
    QTest::mouseRelease(target, Qt::LeftButton, {}, target->rect().center());
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
        QTest::newRow("Yes") << false << QString() << "btnYes" << Code(2);
        QTest::newRow("No") << false << QString() << "cmdNo" << Code(3);
        QTest::newRow("frame close") << false << QString() << "btnClose" << Code(1);
        QTest::newRow("OK") << true << "abc"
                            << "cmdOK" << QVariant(QStringLiteral("0;abc"));
        QTest::newRow("OK, empty box") << true << QString() << "cmdOK" << QVariant(QStringLiteral("0;"));
        QTest::newRow("Enter") << true << "abc"
                               << "Return" << QVariant(QStringLiteral("0;abc"));
        QTest::newRow("Cancel") << true << "abc"
                                << "cmdCancel" << Code(1);
    }

    void answers()
    {
        QFETCH(bool, withInput);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QVariant, expected);
        bool boxHasFocus = false;
        WhenOpen([&](QWidget* dialog) {
            QWidget* box = Child(dialog, "txtDialogInput");
            boxHasFocus = QTest::qWaitForWindowActive(dialog) && QApplication::focusWidget() == box;
            QTest::keyClicks(box, typed);
            if (button == QLatin1String("Return"))
                QTest::keyClick(box, Qt::Key_Return);
            else
                Click(dialog, button.toLatin1().constData());
        });
        const QVariant answer = Ask(DialogButtons::YesNo, withInput);
        QCOMPARE(answer.typeId(), expected.typeId());
        QCOMPARE(answer, expected);
        QCOMPARE(boxHasFocus, withInput);
        QVERIFY(!OpenDialog());
    }

    // At 96 DPI, 15 twips a pixel: one button at 1837.5 twips is at 122.5 pixels, a pair at
    // 85.5 and 159.5; with the input box OK and Cancel stand at 1080 and 2400.
    void buttonSets_data()
    {
        QTest::addColumn<bool>("withInput");
        QTest::addColumn<qint32>("buttons");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<int>>("lefts");
        QTest::newRow("8: OK") << false << 8 << QStringList{QStringLiteral("cmdOK")} << QList<int>{123};
        QTest::newRow("4: Yes, No") << false << 4
                                    << QStringList{QStringLiteral("btnYes"), QStringLiteral("cmdNo")}
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
        QStringList shown;
        QList<int> lefts;
        bool boxShown = false;
        WhenOpen([&](QWidget* dialog) {
            for (const char* name : {"btnYes", "cmdNo", "cmdOK", "cmdCancel", "cmdSysInfo"}) {
                if (Child(dialog, name)->isVisible()) {
                    shown << QLatin1String(name);
                    lefts << Child(dialog, name)->x();
                }
            }
            boxShown = Child(dialog, "txtDialogInput")->isVisible();
            Click(dialog, shown.value(0).toLatin1().constData());
        });
        Ask(buttons, withInput);
        QTEST(shown, "shown");
        QTEST(lefts, "lefts");
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
        auto ask = [](const QString& message) {
            Seen seen;
            WhenOpen([&seen](QWidget* dialog) {
                auto* label = Child<QLabel>(dialog, "lblMessage");
                seen = {dialog->size(), label->fontMetrics().height(), label->height(),
                        Child(dialog, "cmdOK")->y()};
                Click(dialog, "cmdOK");
            });
            Ask(DialogButtons::OK, false, true, message);
            return seen;
        };
        const Seen one = ask(QStringLiteral("Shredding is done."));
        QVERIFY(one.message >= one.line && one.message < 2 * one.line);
        QCOMPARE(one.buttonTop, qRound((840 + one.message * 15 + 200) / 15.0));
        QCOMPARE(one.size, QSize(319, qRound((840 + one.message * 15 + 200 + 375 + 200) / 15.0)));

        const Seen longer = ask(QStringLiteral("Some files could not be shredded now. ").repeated(6));
        QVERIFY(longer.message >= 4 * longer.line);
        QCOMPARE(longer.size, one.size + QSize(0, longer.message - one.message));
    }

    void lineBreaksAndMarkupAsText()
    {
        QString shown;
        int lines = 0;
        WhenOpen([&](QWidget* dialog) {
            auto* message = Child<QLabel>(dialog, "lblMessage");
            shown = message->text();
            lines = message->height() / message->fontMetrics().height();
            Click(dialog, "cmdOK");
        });
        Ask(DialogButtons::OK, false, true, QStringLiteral("<b>bold</b>\r\n\r\nthird"));
        QCOMPARE(shown, QStringLiteral("<b>bold</b>\n\nthird"));
        QCOMPARE(lines, 3);
    }

    void onlyAnActionButtonCloses()
    {
        QStringList stillOpen;
        WhenOpen([&](QWidget* dialog) {
            Click(dialog, "btnClose"); // disabled
            stillOpen << QString::number(dialog->isVisible());
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close(); // the window manager's close request
            stillOpen << QString::number(dialog->isVisible());
            QWidget* yes = Child(dialog, "btnYes");
            QTest::mousePress(yes, Qt::LeftButton, {}, yes->rect().center());
            QTest::mouseRelease(yes, Qt::LeftButton, {}, QPoint(yes->width() + 5, 5)); // released away
            stillOpen << QString::number(dialog->isVisible());
            Click(dialog, "cmdNo");
        });
        QCOMPARE(Ask(DialogButtons::YesNo, false, false), Code(3));
        QCOMPARE(stillOpen, QStringList({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")}));
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
        bool ownerOnTop = true;
        bool dialogOnTop = false;
        bool ownedByOptions = false;
        WhenOpen([&](QWidget* dialog) {
            ownerOnTop = OnTop(&options);
            dialogOnTop = OnTop(dialog);
            ownedByOptions = dialog->parentWidget() == &options;
            Click(dialog, "cmdOK");
        });
        ShowDialog(&options, QStringLiteral("Saved."), QStringLiteral("Options"), false, 1, 1, true);
        QVERIFY(!ownerOnTop && dialogOnTop && ownedByOptions);
        QVERIFY(OnTop(&main));
        QVERIFY(!OnTop(&options));
    }

    void answerKeptWhenNoButtonAnswers()
    {
        WhenOpen([](QWidget* dialog) { Click(dialog, "btnYes"); });
        QCOMPARE(Ask(DialogButtons::YesNo), Code(2));
        // The asking window goes away under the next dialog: no button wrote an answer.
        auto* owner = new QWidget;
        owner->show();
        WhenOpen([owner](QWidget*) { delete owner; });
        QCOMPARE(ShowDialog(owner, QStringLiteral("Clear?"), QStringLiteral("Clear"), false, 4, 2, false),
                 Code(2));
        QVERIFY(!OpenDialog());
    }

    void pointer()
    {
        QStringList hands;
        QPoint moved;
        WhenOpen([&](QWidget* dialog) {
            auto hand = [] {
                const QCursor* cursor = QGuiApplication::overrideCursor();
                return QLatin1String(cursor && cursor->shape() == Qt::PointingHandCursor ? "hand" : "arrow");
            };
            for (const char* name : {"cmdOK", "lblMessage", "cmdCancel", "btnClose", "ImgIcon"}) {
                Hover(Child(dialog, name), {10, 10});
                hands << hand();
            }
            const QPoint start = dialog->pos();
            const QPoint pointer = QCursor::pos();
            Press(Child(dialog, "lblTitle"), {3, 3});
            QMouseEvent drag(QEvent::MouseMove, QPointF(10, 10), QPointF(pointer + QPoint(30, 12)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(dialog, &drag);
            Release(dialog, {10, 10});
            moved = dialog->pos() - start;
            Click(dialog, "cmdCancel");
        });
        Ask(DialogButtons::OKCancel);
        // Cancel has no pointer handling: it keeps the arrow the message left.
        QCOMPARE(hands, QStringList({QStringLiteral("hand"), QStringLiteral("arrow"), QStringLiteral("arrow"),
                                     QStringLiteral("hand"), QStringLiteral("arrow")}));
        QCOMPARE(moved, QPoint(30, 12));
    }

    void systemInfoUnavailable()
    {
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(empty.path()));
        qunsetenv("XDG_CURRENT_DESKTOP");
        QStringList notice;
        WhenOpen([&](QWidget* dialog) {
            WhenOpen(
                [&](QWidget* shown) {
                    for (const char* name : {"btnYes", "cmdNo", "cmdOK", "cmdCancel", "cmdSysInfo"})
                        if (Child(shown, name)->isVisible())
                            notice << QLatin1String(name);
                    if (!Child<MyTopButton>(shown, "btnClose")->Enabled())
                        notice << QStringLiteral("close disabled");
                    Click(shown, "cmdOK");
                },
                QStringLiteral("System Information Is Unavailable At This Time."));
            Click(dialog, "cmdSysInfo");
        });
        const QVariant answer = Ask(DialogButtons::OKSystemInfo);
        qputenv("PATH", path);
        QCOMPARE(answer, Code(0));
        QCOMPARE(notice, QStringList({QStringLiteral("cmdOK"), QStringLiteral("close disabled")}));
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
        WhenOpen([](QWidget* dialog) { Click(dialog, "cmdSysInfo"); });
        const QVariant answer = Ask(DialogButtons::OKSystemInfo);
        qputenv("PATH", path);
        QCOMPARE(answer, Code(0));
        QTRY_VERIFY(QFile::exists(marker));
    }
};

VANISTO_TEST_GUI_MAIN(TestFrmDialog)
#include "tst_frmdialog.moc"
