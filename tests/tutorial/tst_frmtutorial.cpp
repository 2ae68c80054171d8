#include "TestEnvironment.h"
#include "UserActions.h"
#include "dialogs/TutorialOpener.h"
#include "dialogs/frmAbout.h"
#include "tutorial/TutorialPages.h"
#include "tutorial/frmTutorial.h"

#include <QAccessible>

using namespace TutorialPages;
using namespace UserActions;

class TestFrmTutorial : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every page with Next and back with Back; no page names the program or another system, and the
    // text goes beside a narrow picture, below a wide one.
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
        for (int chapter = 0; chapter < ChapterCount; ++chapter) {
            auto* link = Child<QLabel>(&window, u"Label1_%1"_s.arg(chapter));
            Click(link);
            QCOMPARE(TextOf(&window, "tutlabel"), link->text());
            QStringList seen;
            for (int page = 0; page < PageCount(chapter); ++page) {
                if (page > 0)
                    Click(next);
                seen << state();
                const Page expected = PageAt(chapter, page, u"Vanisto"_s);
                for (const char* foreign : {"Vanisto", "Windows", "Recycle Bin", "unlimited"})
                    QVERIFY2(!PageAt(chapter, page, u"Zyx"_s).text.contains(QLatin1String(foreign)), foreign);
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
        // The product name is put in at run time; the copy-on-write and flash caveats are told.
        QVERIFY(ChapterTitle(5, u"Zyx"_s).contains(u"Zyx"_s));
        for (const auto& [chapter, page] : {std::pair{0, 0}, {0, 1}, {0, 2}, {1, 0}, {5, 0}, {7, 0}})
            QVERIFY(PageAt(chapter, page, u"Zyx"_s).text.contains(u"Zyx"_s));
        for (const char* caveat : {"btrfs", "zfs", "snapshots", "SSD"})
            QVERIFY2(PageAt(2, 0, u"Zyx"_s).text.contains(QLatin1String(caveat)), caveat);
        QVERIFY(PageAt(3, 1, u"Zyx"_s).text.isEmpty() && PageAt(8, 0, u"Zyx"_s).text.isEmpty());
        // The text beside no picture, a narrow one and one just narrower than wide; below a wide one.
        QList<QRect> places;
        for (QSize picture : {QSize(), QSize(2100, 1800), QSize(3499, 1800), QSize(3500, 1950)})
            places << TextPlace(QPoint(600, 1080), picture);
        QCOMPARE(places, QList<QRect>({{720, 1080, 5535, 2775},
                                       {2800, 1080, 3335, 2775},
                                       {4199, 1080, 1936, 2775},
                                       {600, 3130, 5535, 725}}));
    }

    // About, Tutorial, Options, Tutorial, close: each window alone on top (*), then only the main one.
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
        QCOMPARE(std::ranges::count_if(QApplication::topLevelWidgets(),
                                       [](QWidget* w) { return w->objectName().startsWith("frm"_L1); }),
                 1);
        SetTutorialOpener(nullptr);
    }
};

VANISTO_TEST_GUI_MAIN(TestFrmTutorial)
#include "tst_frmtutorial.moc"
