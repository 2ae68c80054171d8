#include "TestEnvironment.h"
#include "UserActions.h"
#include "dialogs/TutorialOpener.h"
#include "dialogs/frmAbout.h"
#include "tutorial/TutorialPages.h"
#include "tutorial/frmTutorial.h"

#include <QAccessible>

using namespace UserActions;

class TestFrmTutorial : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void walkThroughEveryChapter();
    void everyRoadLeavesOneWindowOnTop();
};

void TestFrmTutorial::walkThroughEveryChapter()
{
    frmTutorial window(nullptr);
    window.Form_Load();
    window.show();
    QWidget* back = Child(&window, "btnBack");
    QWidget* next = Child(&window, "btnNext");
    auto* picture = Child<QLabel>(&window, "imgSlide");
    auto* text = Child<QLabel>(&window, "tuttxt");
    const auto buttons = [&] {
        return QString(back->isVisible() ? u'B' : u'-') + (next->isVisible() ? u'N' : u'-');
    };
    for (int chapter = 0; chapter < TutorialPages::ChapterCount; ++chapter) {
        auto* link = Child<QLabel>(&window, QStringLiteral("Label1_%1").arg(chapter));
        Click(link);
        QVERIFY(Child(&window, "slideframe")->isVisible() && !Child(&window, "tutorialFrame")->isVisible());
        QCOMPARE(TextOf(&window, "tutlabel"), link->text());
        // Through every page with Next, and back again to the first with Back.
        QStringList seen;
        for (int page = 0; page < TutorialPages::PageCount(chapter); ++page) {
            if (page > 0)
                Click(next);
            seen << buttons();
            const TutorialPages::Page expected =
                TutorialPages::PageAt(chapter, page, QStringLiteral("Vanisto"));
            QCOMPARE(text->text(),
                     QString(expected.text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
            QCOMPARE(picture->isVisible(), !expected.picture.isEmpty());
            // Below a wide picture, beside a narrow one, and never under the buttons.
            if (picture->isVisible())
                QVERIFY(picture->width() >= 234 ? text->y() > picture->geometry().bottom()
                                                : text->x() > picture->geometry().right());
            QVERIFY(!back->isVisible() || text->geometry().bottom() < back->y());
        }
        for (int page = 1; page < seen.size(); ++page)
            Click(back);
        QCOMPARE(seen.join(u' '), QLatin1String(chapter == 0 || chapter == 7 ? "-N BN B-" : "--"));
        QCOMPARE(buttons(), QLatin1String(chapter == 0 || chapter == 7 ? "-N" : "--"));
        // A screen reader reads the page through its text, which has the keyboard.
        QCOMPARE(QAccessible::queryAccessibleInterface(text)->text(QAccessible::Name), text->text());
        QVERIFY(text->hasFocus() || !window.isActiveWindow());
        Click(&window, "Label2");
        QVERIFY(Child(&window, "tutorialFrame")->isVisible() && !Child(&window, "slideframe")->isVisible());
    }
}

void TestFrmTutorial::everyRoadLeavesOneWindowOnTop()
{
    SetTutorialOpener(OpenTutorial);
    QWidget main;
    main.setObjectName(QStringLiteral("frmMainCode"));
    main.show();
    // The visible windows, a star on those on top.
    const auto shown = [] {
        QStringList names;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible())
                names << top->objectName() +
                             QLatin1String(top->windowFlags() & Qt::WindowStaysOnTopHint ? "*" : "");
        names.sort();
        return names.join(u' ');
    };
    // About's Tutorial button, the tutorial's Options button, the options' Tutorial button and the
    // tutorial's close button: each window alone on top while it is open.
    const char* const buttons[] = {"cmdTutorial", "btnOptions", "cmdTutorial", "btnClose"};
    QStringList seen;
    WhenShown step([&](QWidget* w) { return w != &main && w->objectName().startsWith(QLatin1String("frm")); },
                   [&](QWidget* window) {
                       seen << shown();
                       Click(window, buttons[qMin(seen.size(), 4) - 1]);
                   });
    OpenAboutWindow(&main);
    QCOMPARE(
        seen,
        QStringList({QStringLiteral("frmAbout* frmMainCode"), QStringLiteral("frmMainCode frmTutorial*"),
                     QStringLiteral("frmMainCode frmOptions*"), QStringLiteral("frmMainCode frmTutorial*")}));
    QCOMPARE(shown(), QStringLiteral("frmMainCode*"));
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY2(!top->objectName().startsWith(QStringLiteral("frm")) || top == &main,
                 qPrintable(top->objectName()));
    SetTutorialOpener(nullptr);
}

VANISTO_TEST_GUI_MAIN(TestFrmTutorial)
#include "tst_frmtutorial.moc"
