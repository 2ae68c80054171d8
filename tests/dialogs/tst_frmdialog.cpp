#include "../skin/MouseEvents.h"
#include "TestEnvironment.h"
#include "UserActions.h"
#include "dialogs/DialogLayout.h"
#include "dialogs/frmAbout.h"
#include "dialogs/modDialog.h"
#include "platform/Identity.h"
#include "skin/MyTopButton.h"
#include "skin/modSkinForm.h"

using namespace UserActions;

class TestFrmDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The answer, the focus and the buttons' places for each way out; "Return" is Enter in the box.
    void answers_data()
    {
        QTest::addColumn<bool>("withInput");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QVariant>("expected");
        const auto code = [](qint16 code) { return QVariant::fromValue(code); };
        QTest::newRow("Yes") << false << QString() << u"btnYes"_s << code(2);
        QTest::newRow("No") << false << QString() << u"cmdNo"_s << code(3);
        QTest::newRow("frame close") << false << QString() << u"btnClose"_s << code(1);
        QTest::newRow("OK") << true << u"abc"_s << u"cmdOK"_s << QVariant(u"0;abc"_s);
        QTest::newRow("OK, empty") << true << QString() << u"cmdOK"_s << QVariant(u"0;"_s);
        QTest::newRow("Enter") << true << u"abc"_s << u"Return"_s << QVariant(u"0;abc"_s);
        QTest::newRow("Cancel") << true << u"abc"_s << u"cmdCancel"_s << code(1);
    }

    void answers()
    {
        QFETCH(bool, withInput);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QVariant, expected);
        QStringList seen;
        const QVariant answer = Ask(
            [&](QWidget* dialog) {
                QWidget* box = Child(dialog, "txtDialogInput");
                seen << QString::number(QTest::qWaitForWindowActive(dialog) &&
                                        QApplication::focusWidget() == box)
                     << Placed(dialog);
                QTest::keyClicks(box, typed);
                if (button == "Return"_L1)
                    QTest::keyClick(box, Qt::Key_Return);
                else
                    Click(Child(dialog, button));
            },
            DialogButtons::YesNo, withInput);
        QCOMPARE(answer.typeId(), expected.typeId());
        QCOMPARE(answer, expected);
        QCOMPARE(seen, withInput ? QStringList({u"1"_s, u"cmdOK 72 cmdCancel 160 box"_s})
                                 : QStringList({u"0"_s, u"btnYes 86 cmdNo 160"_s}));
        QVERIFY(Shown(u"frmDialog"_s).isEmpty());
    }

    // Plain text, CR LF a break; buttons 200 twips below the message, 375 for them and 200 below.
    void messageSetsTheHeight()
    {
        QStringList texts;
        QList<int> lines, heights, buttonTops;
        QList<QSize> sizes;
        for (const QString& message :
             {u"<b>bold</b>\r\n\r\nthird"_s, u"Some files could not be shredded now. "_s.repeated(6)})
            Ask(
                [&](QWidget* dialog) {
                    auto* label = Child<QLabel>(dialog, "lblMessage");
                    texts << label->text();
                    lines << label->height() / label->fontMetrics().height();
                    heights << label->height();
                    sizes << dialog->size();
                    buttonTops << Child(dialog, "cmdOK")->y();
                    Click(dialog, "cmdOK");
                },
                DialogButtons::OK, false, true, message);
        QCOMPARE(texts[0], u"<b>bold</b>\n\nthird"_s);
        QCOMPARE(buttonTops[0], qRound((840 + heights[0] * 15 + 200) / 15.0));
        QVERIFY(lines[0] == 3 && lines[1] >= 4);
        QCOMPARE(sizes[0], QSize(319, qRound((840 + heights[0] * 15 + 200 + 375 + 200) / 15.0)));
        QCOMPARE(sizes[1], sizes[0] + QSize(0, heights[1] - heights[0]));
    }

    // The main window is on top afterwards. Only a button answers, so an owner gone under a dialog
    // without a close button, after Escape, a close request and a press released away, leaves the last.
    void mainWindowTopmostAfterwards()
    {
        QWidget main;
        main.setObjectName(u"frmMainCode"_s);
        main.show();
        MakeNormal(&main);
        auto* options = new QWidget;
        options->show();
        MakeTopMost(options);
        QList<bool> during, open;
        WhenShown watch(u"frmDialog"_s, [&](QWidget* dialog) {
            if (during.isEmpty()) {
                during = {OnTop(options), OnTop(dialog), dialog->parentWidget() == options};
                return Click(dialog, "btnYes");
            }
            Click(dialog, "btnClose"); // disabled
            open << dialog->isVisible();
            QTest::keyClick(dialog, Qt::Key_Escape);
            dialog->close(); // the window manager's close request
            open << dialog->isVisible();
            QWidget* yes = Child(dialog, "btnYes");
            QTest::mousePress(yes, Qt::LeftButton, {}, yes->rect().center());
            QTest::mouseRelease(yes, Qt::LeftButton, {}, QPoint(yes->width() + 5, 5)); // released away
            open << dialog->isVisible();
            delete options;
        });
        ShowDialog(options, u"Clear?"_s, u"Clear"_s, false, DialogButtons::YesNo, 1, true);
        QCOMPARE(during, QList<bool>({false, true, true}));
        QVERIFY(OnTop(&main) && !OnTop(options));
        QCOMPARE(ShowDialog(options, u"Clear?"_s, u"Clear"_s, false, 4, 2, false),
                 QVariant::fromValue<qint16>(2));
        QCOMPARE(open, QList<bool>({true, true, true}));
        QVERIFY(Shown(u"frmDialog"_s).isEmpty());
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
                    hands << (cursor && cursor->shape() == Qt::PointingHandCursor ? u"hand"_s : u"arrow"_s);
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
        QCOMPARE(hands.join(u' '), u"hand arrow arrow hand arrow"_s);
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
        QCOMPARE(answer, QVariant::fromValue<qint16>(0));
        QCOMPARE(placed.join(u'|'), QStringLiteral("cmdOK 86 cmdSysInfo 160|cmdOK 123|System Information Is "
                                                   "Unavailable At This Time.|0"));
        QVERIFY(Shown(u"frmDialog"_s).isEmpty());
    }

    // About shows this year, not the build's; System Info starts the tool on PATH if it can run.
    void about_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QFile::Permissions>("permissions");
        QTest::addColumn<bool>("starts");
        const QFile::Permissions runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QTest::newRow("OK") << u"cmdOK"_s << runnable << false;
        QTest::newRow("runnable") << u"cmdSysInfo"_s << runnable << true;
        QTest::newRow("without the run bit")
            << u"cmdSysInfo"_s << (QFile::ReadOwner | QFile::WriteOwner) << false;
    }
    void about()
    {
        QFETCH(QString, button);
        QFETCH(QFile::Permissions, permissions);
        QFETCH(bool, starts);
        QTemporaryDir tools;
        const QString marker = tools.filePath(u"started"_s);
        QFile script(tools.filePath(u"hardinfo"_s));
        QVERIFY(script.open(QIODevice::WriteOnly) &&
                script.write("#!/bin/sh\necho started > '" + QFile::encodeName(marker) + "'\n") > 0);
        script.close();
        QVERIFY(script.setPermissions(permissions));
        frmAbout window(nullptr);
        window.Form_Load();
        window.show();
        QCOMPARE(TextOf(&window, "lblCopyright"), u"Copyright (C) %1 %2"_s.arg(QDate::currentDate().year())
                                                      .arg(QLatin1String(Identity::CompanyName)));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(tools.path()));
        qunsetenv("XDG_CURRENT_DESKTOP");
        DialogAnswerer user({u"cmdOK"_s});
        Click(Child(&window, button));
        qputenv("PATH", path);
        QVERIFY(!window.isVisible());
        if (starts)
            QTRY_VERIFY(QFile::exists(marker));
        QCOMPARE(user.asked,
                 starts || button == "cmdOK"_L1
                     ? QStringList()
                     : QStringList{u"System Information|System Information Is Unavailable At This Time."_s});
        QCOMPARE(QFile::exists(marker), starts);
    }

    // Lefts in twips (dialog 4785, buttons 1110), an unknown code is OK; the input box takes 560 more.
    void placesAndRows()
    {
        const auto placed = [](bool withInput, qint32 buttons) {
            QStringList row;
            for (const PlacedButton& place : DialogButtonPlaces(withInput, buttons, 4785, 1110))
                row << place.name << QString::number(place.left);
            return row.join(u' ');
        };
        QStringList places;
        for (qint32 buttons = -1; buttons <= 8; ++buttons)
            places << placed(false, buttons);
        places << placed(true, 4);
        const QString ok = u"cmdOK 1837.5"_s;
        QCOMPARE(places,
                 QStringList({ok, ok, ok, u"btnYes 1837.5"_s, u"cmdNo 1837.5"_s,
                              u"btnYes 1282.5 cmdNo 2392.5"_s, ok, u"cmdOK 1282.5 cmdCancel 2392.5"_s,
                              u"cmdOK 1282.5 cmdSysInfo 2392.5"_s, ok, u"cmdOK 1080 cmdCancel 2400"_s}));
        const DialogRows one = DialogLayOut(840, 195, 375, false), input = DialogLayOut(840, 195, 375, true);
        QCOMPARE(QList({one.buttonTop, one.height, input.inputTop, input.buttonTop, input.height}),
                 QList({1235, 1810, 1235, 1795, 2370}));
    }

private:
    // Asks the question with `user` acting on the dialog once it is open (ShowDialog is blocked in it).
    static QVariant Ask(const std::function<void(QWidget*)>& user, qint32 buttons, bool withInput = false,
                        bool closeEnabled = true,
                        const QString& message = u"Are you sure you want to clear the Shred list?"_s)
    {
        WhenShown watch(u"frmDialog"_s, user);
        return ShowDialog(nullptr, message, u"Clear the Shred List?"_s, withInput, buttons,
                          DialogIcon::Question, closeEnabled);
    }

    // The buttons shown and their lefts in pixels (15 twips each, 1837.5 rounds to 123), and the input box.
    static QString Placed(QWidget* dialog)
    {
        QStringList shown;
        for (const char* name : {"btnYes", "cmdNo", "cmdOK", "cmdCancel", "cmdSysInfo"})
            if (Child(dialog, name)->isVisible())
                shown << QLatin1String(name) << QString::number(Child(dialog, name)->x());
        if (Child(dialog, "txtDialogInput")->isVisible())
            shown << u"box"_s;
        return shown.join(u' ');
    }
    static bool OnTop(const QWidget* w) { return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
};

VANISTO_TEST_GUI_MAIN(TestFrmDialog)
#include "tst_frmdialog.moc"
