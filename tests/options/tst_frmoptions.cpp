#include "TestEnvironment.h"
#include "UserActions.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "options/frmOptions.h"
#include "platform/AppFolder.h"
#include "skin/ctlSlider.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QListWidget>

using namespace UserActions;

class TestFrmOptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init()
    {
        SaveStringSetting(Setting::NumOverwrite, u"3"_s);
        SaveStringSetting(Setting::FastShred, u"1"_s);
        SaveBooleanSetting(Setting::ShredNow, false);
        SaveStringSetting(Setting::PromptSafeFiles, u"1"_s);
        SaveStringSetting(Setting::SafeFiles, QString());
        Shared() = SharedState();
        Shared().NumOverwrite = 3;
        QFile::remove(AppFolder::file(u"errlog.dat"_s));
    }

    void cleanup() { m_window.reset(); }
    // What is shown, what the engine uses and what is stored never disagree.
    void methodAndWipes()
    {
        Open();
        // More method: NORMAL with 3 wipes becomes ENHANCED with 8, and says so; 8 is enough for ULTRA.
        Click("btnFastShred");
        QCOMPARE(Text("txtFastShred"), u"Shred Method is: ENHANCED"_s);
        QVERIFY(Text("LblReset").startsWith(u"The ENHANCED shred method requires a minimum of 8"_s));
        QVERIFY(Control("LblReset")->isVisible());
        QCOMPARE(Box()->text() + Stored(Setting::NumOverwrite) + Stored(Setting::FastShred), u"882"_s);
        Click("btnFastShred");
        QVERIFY(Control("LblReset")->isHidden());
        QCOMPARE(Stored(Setting::FastShred), u"3"_s);

        // Fewer wipes: 7 under ULTRA sets NORMAL back.
        Type(u"7"_s);
        Click("btnWipes");
        QCOMPARE(Text("txtNumOverLong") + Text("txtFastShred"),
                 u"Number of wipes: 7Shred Method is: NORMAL"_s);
        QVERIFY(Text("LblReset").startsWith(u"The ENHANCED and ULTRA shred methods"_s));
        QCOMPARE(Stored(Setting::NumOverwrite) + Stored(Setting::FastShred), u"71"_s);
        QCOMPARE(QList<int>({Shared().NumOverwrite, Shared().FastShred}), QList<int>({7, 1}));
        for (int i = 0; i < 3; ++i) // round to NORMAL, which says nothing
            Click("btnFastShred");
        QVERIFY(Control("LblReset")->isHidden());
        // Digits only, at least 1; an empty box, or a number past 32 bits, is logged and changes nothing.
        Type(u"0"_s);
        QCOMPARE(Box()->text(), u"1"_s);
        Type(u"1x/2:-.y3"_s);
        QTest::keyClick(Box(), Qt::Key_Backspace);
        QCOMPARE(Box()->text(), u"12"_s);
        QApplication::clipboard()->setText(u"4 wipes"_s);
        Box()->selectAll();
        Box()->paste();
        QCOMPARE(Box()->text(), u"12"_s);
        QTest::keyClick(Box(), Qt::Key_Return);
        QVERIFY(Control("LblReset")->isHidden());
        Box()->clear();
        QTest::keyClick(Box(), Qt::Key_Enter);
        Type(u"99999999999"_s);
        QCOMPARE(Box()->text(), u"9999999999"_s);
        QTest::keyClick(Box(), Qt::Key_Enter);
        QCOMPARE(Stored(Setting::NumOverwrite) + QString::number(Shared().NumOverwrite) +
                     Text("txtNumOverLong"),
                 u"1212Number of wipes: 12"_s);
        QCOMPARE(ErrorLog().count(u"frmOptions:SetWipes Err Number = "_s), 2);
        QVERIFY(ErrorLog().contains(u"frmOptions:SetWipes Err Number = 6"_s));
        // Enter applies too, and 5 under NORMAL still gives the notice.
        Type(u"5"_s);
        QTest::keyClick(Box(), Qt::Key_Return);
        QCOMPARE(Stored(Setting::NumOverwrite), u"5"_s);
        QVERIFY(Control("LblReset")->isVisible());
    }

    // ENHANCED and ULTRA need 8 wipes and an unknown method becomes NORMAL with 8, shown and stored.
    void storedMethodIsCorrectedAtOpening_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("wipes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored"); // wipes and method
        QTest::newRow("unknown") << 7 << 12 << u"NORMAL"_s << u"81"_s;
        QTest::newRow("ULTRA, 7 wipes") << 3 << 7 << u"ULTRA"_s << u"83"_s;
        QTest::newRow("ENHANCED, 8 wipes") << 2 << 8 << u"ENHANCED"_s << u"82"_s;
    }

    void storedMethodIsCorrectedAtOpening()
    {
        QFETCH(int, method);
        QFETCH(int, wipes);
        QFETCH(QString, shown);
        SaveNumberSetting(Setting::FastShred, method);
        SaveNumberSetting(Setting::NumOverwrite, method == 2 ? 8 : 3);
        SaveStringSetting(Setting::PromptSafeFiles, u"0"_s);
        Shared().NumOverwrite = wipes;
        Open();
        QCOMPARE(Text("txtFastShred") + Text("txtNumOverLong"),
                 u"Shred Method is: "_s + shown + u"Number of wipes: 8"_s);
        QTEST(Stored(Setting::NumOverwrite) + Stored(Setting::FastShred), "stored");
        QCOMPARE(Shared().NumOverwrite, 8);
        // A stored 0 leaves the box clear and the flag in memory as it was.
        QVERIFY(!Child<QCheckBox>(m_window.get(), "chkPrompt")->isChecked());
        QCOMPARE(Shared().PromptSafeFiles, qint16(1));
    }

    void foldersAreAddedAndClearedInTheirOrders()
    {
        QStringList folders;
        for (const char* name : {"A", "B", "C", "a"}) {
            folders << m_dir.filePath(QLatin1String(name));
            QVERIFY(QDir().mkpath(folders.last()));
        }
        const auto stored = [](const QStringList& list) { return list.join(u';') + QLatin1Char(';'); };
        Open();
        {
            // The same folder twice, and a Cancel, add nothing; another letter case is another folder.
            FolderChooser user({folders[0], folders[1], folders[2], folders[0], QString(), folders[3]});
            for (int i = 0; i < 6; ++i)
                Click("btnSafeShred");
            QCOMPARE(user.titles.size(), 6);
            QCOMPARE(user.titles.first(), u"Do Not Shred This Folder..."_s);
        }
        QCOMPARE(ListedFolders(), folders);
        QCOMPARE(Stored(Setting::SafeFiles), stored(folders));
        QCOMPARE(Shared().SafeFolders, folders);

        List()->item(1)->setCheckState(Qt::Checked);
        {
            DialogAnswerer user({u"cmdNo"_s, u"btnYes"_s});
            Click("Selection2_2");
            QCOMPARE(ListedFolders().size(), 4);
            Click("Selection2_2");
            QCOMPARE(user.asked.size(), 2);
            QVERIFY(user.asked[1].startsWith(u"Clear the 'Do Not Shred' List?|Are you sure"_s));
        }
        // The folders kept come back in the reverse of their order.
        const QStringList kept = {folders[3], folders[2], folders[0]};
        QCOMPARE(ListedFolders(), kept);
        QCOMPARE(Stored(Setting::SafeFiles), stored(kept));
        QCOMPARE(Shared().SafeFolders, kept);

        Click("Selection2_0");
        List()->item(0)->setCheckState(Qt::Unchecked);
        Click("Selection2_1");
        QCOMPARE(List()->item(0)->checkState(), Qt::Checked);
        QCOMPARE(List()->item(2)->checkState(), Qt::Unchecked);
        {
            DialogAnswerer user({u"btnYes"_s});
            Click("Selection2_3");
            QVERIFY(user.asked.value(0).contains(u"permit shredding of items in ALL folders"_s));
        }
        QVERIFY(ListedFolders().isEmpty());
        QCOMPARE(Stored(Setting::SafeFiles), QString());
        QVERIFY(Shared().SafeFolders.isEmpty());
    }

    void hundredFoldersAtMost()
    {
        SaveStringSetting(Setting::SafeFiles, StoredFolders(101, u"/srv/keep"_s));
        Open();
        QCOMPARE(ListedFolders(), StoredFolders(100, u"/srv/keep"_s).split(u';', Qt::SkipEmptyParts));
        QVERIFY(ErrorLog().contains(u"SmartSplit"_s));
        // More scroll the list by whole rows, 0 showing the last ones; part of a step is a whole row.
        QCOMPARE(Scrolling(), QList<int>({100 * Row(), 0, 9600, -96 * Row(), -95 * Row()}));
        // A 101st is refused with a message, so that nothing added is dropped at the next reading.
        const QString kept = Stored(Setting::SafeFiles);
        FolderChooser chooser({m_dir.path()});
        DialogAnswerer user({u"cmdOK"_s});
        Click("btnSafeShred");
        QCOMPARE(user.asked.size(), 1);
        QVERIFY(user.asked[0].contains(u"was not added to the 'Do Not Shred' list"_s));
        QCOMPARE(Stored(Setting::SafeFiles), kept);
        QCOMPARE(Shared().SafeFolders.size(), 100);
    }

    void everyControlCanBeReachedByAScreenReader()
    {
        SaveStringSetting(Setting::SafeFiles, StoredFolders(5, u"/srv/f"_s));
        Open();
        // Five folders fit: the scroller's one step moves nothing.
        QCOMPARE(Scrolling(), QList<int>({5 * Row(), 0, 100, 0, 0}));
        for (const char* name :
             {"btnWipes", "btnInstant", "btnFastShred", "btnSafeShred", "cmdTutorial", "btnClose"}) {
            QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Control(name));
            QVERIFY2(button->role() == QAccessible::Button && !button->text(QAccessible::Name).isEmpty() &&
                         button->actionInterface()->actionNames().contains(
                             QAccessibleActionInterface::pressAction()),
                     name);
        }
        // Pressed through accessibility, Instant Shred switches and is stored at once, as the prompt is.
        QAccessible::queryAccessibleInterface(Control("btnInstant"))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(Shared().ShredNow && Control("lblWarning")->isVisible());
        QCOMPARE(Stored(Setting::ShredNow), u"True"_s);
        Click("chkPrompt");
        QCOMPARE(Stored(Setting::PromptSafeFiles) + QString::number(Shared().PromptSafeFiles), u"00"_s);
        QCOMPARE(QAccessible::queryAccessibleInterface(Control("txtNumOver"))->text(QAccessible::Name),
                 u"Number of wipes"_s);
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(Control("Selection2_0"));
        QCOMPARE(link->text(QAccessible::Name), u"Select All"_s);
        QVERIFY(link->role() == QAccessible::Link && !link->actionInterface()->actionNames().isEmpty());
        // A folder is a checkable list item named by its path; pressing it ticks its box.
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(List());
        QAccessibleInterface* item = list->child(1);
        QCOMPARE(QVariantList({list->childCount(), int(item->role()), item->text(QAccessible::Name),
                               bool(item->state().checkable), bool(item->state().checked)}),
                 QVariantList({5, int(QAccessible::ListItem), u"/srv/f1"_s, true, false}));
        item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(List()->item(1)->checkState() == Qt::Checked && item->state().checked);
        QCOMPARE(list->indexOfChild(item), 1);
        Open();
        QCOMPARE(Text("txtInstantShred"), u"Instant Shred is: ON"_s);
    }

private:
    // A key as the file on disk holds it, read through a copy so that no settings cache answers.
    static QString Stored(const QString& key)
    {
        QTemporaryDir copy;
        const QString file = copy.filePath(u"copy.conf"_s);
        QFile::copy(TestEnvironment::configHome() + u"/Vanisto/Vanisto.conf"_s, file);
        const QSettings settings(file, QSettings::IniFormat);
        return settings.value(ConfigSection + u'/' + key, u"<missing>"_s).toString();
    }

    static QString ErrorLog()
    {
        QFile log(AppFolder::file(u"errlog.dat"_s));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    static QString StoredFolders(int count, const QString& stem)
    {
        QString stored;
        for (int i = 0; i < count; ++i)
            stored += stem + QString::number(i) + QLatin1Char(';');
        return stored;
    }
    void Open()
    {
        m_window = std::make_unique<frmOptions>(nullptr);
        m_window->Form_Load();
        m_window->show();
    }

    QWidget* Control(const char* name) const { return Child(m_window.get(), name); }
    void Click(const char* name) const { UserActions::Click(Control(name)); }
    QString Text(const char* label) const { return TextOf(m_window.get(), label); }
    QListWidget* List() const { return Child<QListWidget>(m_window.get(), "LstSafeFiles"); }
    QLineEdit* Box() const { return Child<QLineEdit>(m_window.get(), "txtNumOver"); }
    void Type(const QString& keys)
    {
        Box()->setFocus();
        Box()->selectAll();
        QTest::keyClicks(Box(), keys);
    }

    // The list's height and top and the scroller's range, then the list's top with the scroller at 0 and 150.
    QList<int> Scrolling() const
    {
        auto* scroller = Child<ctlSlider>(m_window.get(), "myscroller2");
        QList<int> seen = {List()->height(), List()->y(), scroller->Max()};
        for (int value : {0, 150}) {
            (void)scroller->SetValue(value);
            seen << List()->y();
        }
        return seen;
    }
    int Row() const { return List()->visualItemRect(List()->item(0)).height(); }
    QStringList ListedFolders() const
    {
        QStringList folders;
        for (int i = 0; i < List()->count(); ++i)
            folders << List()->item(i)->text();
        return folders;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<frmOptions> m_window;
};

VANISTO_TEST_GUI_MAIN(TestFrmOptions)
#include "tst_frmoptions.moc"
