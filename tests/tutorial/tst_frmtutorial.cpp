#include "TestEnvironment.h"
#include "UserActions.h"
#include "dialogs/TutorialOpener.h"
#include "dialogs/frmAbout.h"
#include "tutorial/TutorialPages.h"
#include "tutorial/frmTutorial.h"

#include <QAccessible>

using namespace UserActions;
using namespace Qt::StringLiterals;

class TestFrmTutorial : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Through every page of each chapter with Next and back to the first with Back; the text goes
    // below a wide picture, beside a narrow one, and never under the buttons.
    void walkThroughEveryChapter()
    {
        frmTutorial window(nullptr);
        window.Form_Load();
        window.show();
        QWidget* back = Child(&window, "btnBack");
        QWidget* next = Child(&window, "btnNext");
        auto* picture = Child<QLabel>(&window, "imgSlide");
        auto* text = Child<QLabel>(&window, "tuttxt");
        const auto state = [&] {
            return QString(back->isVisible() ? u'B' : u'-') + (next->isVisible() ? u'N' : u'-') +
                   (Child(&window, "slideframe")->isVisible() ? u'S' : u'-') +
                   (Child(&window, "tutorialFrame")->isVisible() ? u'T' : u'-');
        };
        for (int chapter = 0; chapter < TutorialPages::ChapterCount; ++chapter) {
            auto* link = Child<QLabel>(&window, u"Label1_%1"_s.arg(chapter));
            Click(link);
            QCOMPARE(TextOf(&window, "tutlabel"), link->text());
            QStringList seen;
            for (int page = 0; page < TutorialPages::PageCount(chapter); ++page) {
                if (page > 0)
                    Click(next);
                seen << state();
                const TutorialPages::Page expected = TutorialPages::PageAt(chapter, page, u"Vanisto"_s);
                QCOMPARE(text->text(), QString(expected.text).replace("\r\n"_L1, "\n"_L1));
                QCOMPARE(picture->isVisible(), !expected.picture.isEmpty());
                QVERIFY(!picture->isVisible() ||
                        (picture->width() >= 234 ? text->y() > picture->geometry().bottom()
                                                 : text->x() > picture->geometry().right()));
                QVERIFY(!back->isVisible() || text->geometry().bottom() < back->y());
            }
            for (int page = 1; page < seen.size(); ++page)
                Click(back);
            const bool paged = chapter == 0 || chapter == 7;
            QCOMPARE(seen.join(u' ') + u' ' + state(), paged ? u"-NS- BNS- B-S- -NS-"_s : u"--S- --S-"_s);
            // A screen reader reads the page through its text, which has the keyboard.
            QCOMPARE(QAccessible::queryAccessibleInterface(text)->text(QAccessible::Name), text->text());
            QVERIFY(text->hasFocus() || !window.isActiveWindow());
            Click(&window, "Label2");
            QCOMPARE(state().right(2), u"-T"_s);
        }
    }

    // About's Tutorial button, the tutorial's Options button, the options' Tutorial button and the
    // tutorial's close button: each window alone on top while it is open (a star), and at the end
    // only the main window is left.
    void everyRoadLeavesOneWindowOnTop()
    {
        SetTutorialOpener(OpenTutorial);
        QWidget main;
        main.setObjectName(u"frmMainCode"_s);
        main.show();
        const auto shown = [] {
            QStringList names;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible())
                    names << top->objectName() +
                                 (top->windowFlags() & Qt::WindowStaysOnTopHint ? "*"_L1 : ""_L1);
            names.sort();
            return names.join(u' ');
        };
        const char* const buttons[] = {"cmdTutorial", "btnOptions", "cmdTutorial", "btnClose"};
        QStringList seen;
        WhenShown step([&](QWidget* w) { return w != &main && w->objectName().startsWith("frm"_L1); },
                       [&](QWidget* window) {
                           seen << shown();
                           Click(window, buttons[qMin(seen.size(), 4) - 1]);
                       });
        OpenAboutWindow(&main);
        QCOMPARE(seen, QStringList({u"frmAbout* frmMainCode"_s, u"frmMainCode frmTutorial*"_s,
                                    u"frmMainCode frmOptions*"_s, u"frmMainCode frmTutorial*"_s}));
        QCOMPARE(shown(), u"frmMainCode*"_s);
        const QWidgetList tops = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(tops.begin(), tops.end(),
                               [](QWidget* w) { return w->objectName().startsWith("frm"_L1); }),
                 1);
        SetTutorialOpener(nullptr);
    }
};

VANISTO_TEST_GUI_MAIN(TestFrmTutorial)
#include "tst_frmtutorial.moc"
