#include "TestEnvironment.h"
#include "UserActions.h"
#include "dialogs/TutorialOpener.h"
#include "dialogs/frmAbout.h"
#include "skin/MyTopButton.h"
#include "tutorial/TutorialPages.h"
#include "tutorial/frmTutorial.h"

#include <QAccessible>
#include <QLabel>

#include <memory>

using namespace UserActions;

namespace {
template <typename T = QWidget> T* Child(QWidget* window, const QString& name)
{
    T* child = window->findChild<T*>(name);
    Q_ASSERT(child);
    return child;
}

// The visible windows, and which of them stay on top.
QStringList Shown()
{
    QStringList shown;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            shown << top->objectName() + (top->windowFlags().testFlag(Qt::WindowStaysOnTopHint)
                                              ? QStringLiteral("*")
                                              : QString());
    shown.sort();
    return shown;
}
} // namespace

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
    QCOMPARE(window.windowTitle(), QStringLiteral("Vanisto 1.0 Tutorial"));
    auto* list = Child(&window, QStringLiteral("tutorialFrame"));
    auto* slide = Child(&window, QStringLiteral("slideframe"));
    auto* back = Child<MyTopButton>(&window, QStringLiteral("btnBack"));
    auto* next = Child<MyTopButton>(&window, QStringLiteral("btnNext"));
    auto* picture = Child<QLabel>(&window, QStringLiteral("imgSlide"));
    auto* text = Child<QLabel>(&window, QStringLiteral("tuttxt"));
    const auto buttons = [&] {
        return QString(back->isVisible() ? QStringLiteral("B") : QStringLiteral("-")) +
               (next->isVisible() ? QStringLiteral("N") : QStringLiteral("-"));
    };
    for (int chapter = 0; chapter < TutorialPages::ChapterCount; ++chapter) {
        QVERIFY(list->isVisible() && !slide->isVisible());
        auto* link = Child<QLabel>(&window, QStringLiteral("Label1_%1").arg(chapter));
        Click(link);
        QVERIFY(slide->isVisible() && !list->isVisible());
        QCOMPARE(Child<QLabel>(&window, QStringLiteral("tutlabel"))->text(), link->text());
        QCOMPARE(Child<QLabel>(&window, QStringLiteral("lblidx"))->text(), QString::number(chapter));
        const int pages = TutorialPages::PageCount(chapter);
        // Through every page with Next, and back again to the first with Back.
        QStringList seen;
        for (int page = 0; page < pages; ++page) {
            if (page > 0)
                Click(next);
            seen << buttons();
            const TutorialPages::Page expected =
                TutorialPages::PageAt(chapter, page, QStringLiteral("Vanisto"));
            QCOMPARE(text->text(),
                     QString(expected.text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
            QCOMPARE(picture->isVisible(), !expected.picture.isEmpty());
            if (picture->isVisible() && picture->width() >= 234)
                QVERIFY(text->y() > picture->geometry().bottom());
            else if (picture->isVisible())
                QVERIFY(text->x() > picture->geometry().right());
            // No line of the page is under the buttons.
            QVERIFY(!back->isVisible() || text->geometry().bottom() < back->y());
        }
        for (int page = pages - 1; page > 0; --page)
            Click(back);
        if (pages == 3) {
            QCOMPARE(seen, (QStringList{QStringLiteral("-N"), QStringLiteral("BN"), QStringLiteral("B-")}));
            QCOMPARE(buttons(), QStringLiteral("-N"));
            QCOMPARE(next->property("tag").toString(), QStringLiteral("1"));
        } else {
            QCOMPARE(seen, QStringList{QStringLiteral("--")});
        }
        // A screen reader reads the page through its text, which has the keyboard.
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(text);
        QCOMPARE(page->text(QAccessible::Name), text->text());
        QVERIFY(text->hasFocus() || !window.isActiveWindow());
        Click(Child(&window, QStringLiteral("Label2")));
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(Child(&window, QStringLiteral("Label2")))->role(),
             QAccessible::Link);
}

void TestFrmTutorial::everyRoadLeavesOneWindowOnTop()
{
    SetTutorialOpener(OpenTutorial);
    QWidget main;
    main.setObjectName(QStringLiteral("frmMainCode"));
    main.show();
    QStringList seen;
    // About, its Tutorial button, the tutorial's Options button, the options' Tutorial button,
    // and the tutorial's close button: each window alone on top while it is open.
    WhenShown about(QStringLiteral("frmAbout"), [&](QWidget* window) {
        seen << Shown().join(u' ');
        Click(Child(window, QStringLiteral("cmdTutorial")));
    });
    int tutorials = 0;
    WhenShown tutorial(QStringLiteral("frmTutorial"), [&](QWidget* window) {
        seen << Shown().join(u' ');
        Click(Child(window, ++tutorials == 1 ? QStringLiteral("btnOptions") : QStringLiteral("btnClose")));
    });
    WhenShown options(QStringLiteral("frmOptions"), [&](QWidget* window) {
        seen << Shown().join(u' ');
        Click(Child(window, QStringLiteral("cmdTutorial")));
    });
    OpenAboutWindow(&main);
    QCOMPARE(
        seen,
        (QStringList{QStringLiteral("frmAbout* frmMainCode"), QStringLiteral("frmMainCode frmTutorial*"),
                     QStringLiteral("frmMainCode frmOptions*"), QStringLiteral("frmMainCode frmTutorial*")}));
    QCOMPARE(Shown(), QStringList{QStringLiteral("frmMainCode*")});
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY2(!top->objectName().startsWith(QStringLiteral("frm")) || top == &main,
                 qPrintable(top->objectName()));
    SetTutorialOpener(nullptr);
}

VANISTO_TEST_GUI_MAIN(TestFrmTutorial)
#include "tst_frmtutorial.moc"
