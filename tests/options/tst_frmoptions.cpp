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
#include <QDir>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

using namespace UserActions;

namespace {
// A key as the settings file on disk holds it, read through a copy so that no settings object
// of this process answers from memory.
QString Stored(const QString& key)
{
    QTemporaryDir copy;
    const QString file = copy.filePath(QStringLiteral("copy.conf"));
    QFile::copy(TestEnvironment::configHome() + QStringLiteral("/Vanisto/Vanisto.conf"), file);
    const QSettings settings(file, QSettings::IniFormat);
    for (const QString& name : settings.allKeys())
        if (name.endsWith(QLatin1Char('/') + key))
            return settings.value(name).toString();
    return QStringLiteral("<missing>");
}

QString ErrorLog()
{
    QFile log(AppFolder::file(QStringLiteral("errlog.dat")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

const QString ClearTitle = QStringLiteral("Clear the 'Do Not Shred' List?");
} // namespace

class TestFrmOptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
    void init();
    void cleanup() { m_window.reset(); }
    void eightWipesAreKeptFromBothSides();
    void unknownStoredMethodIsCorrectedAtOpening();
    void wipesBoxTakesOnlyANumberThatFits();
    void instantShredAndPromptAreStoredAtOnce();
    void foldersAreAddedAndClearedInTheirOrders();
    void hundredFoldersAtMost();
    void scrollerMovesTheListByWholeRows();
    void everyControlCanBeReachedByAScreenReader();

private:
    void Open();
    template <typename T = QWidget> T* Control(const QString& name) const
    {
        T* control = m_window->findChild<T*>(name);
        Q_ASSERT(control);
        return control;
    }
    QString Text(const QString& label) const { return Control<QLabel>(label)->text(); }
    void Type(const QString& keys);
    QStringList ListedFolders() const;

    QTemporaryDir m_dir;
    std::unique_ptr<frmOptions> m_window;
};

void TestFrmOptions::init()
{
    SaveStringSetting(Setting::NumOverwrite, QStringLiteral("3"));
    SaveStringSetting(Setting::FastShred, QStringLiteral("1"));
    SaveBooleanSetting(Setting::ShredNow, false);
    SaveStringSetting(Setting::PromptSafeFiles, QStringLiteral("1"));
    SaveStringSetting(Setting::SafeFiles, QString());
    Shared() = SharedState();
    Shared().NumOverwrite = 3;
    QFile::remove(AppFolder::file(QStringLiteral("errlog.dat")));
}

void TestFrmOptions::Open()
{
    m_window = std::make_unique<frmOptions>(nullptr);
    m_window->Form_Load();
    m_window->show();
}

void TestFrmOptions::Type(const QString& keys)
{
    auto* box = Control<QLineEdit>(QStringLiteral("txtNumOver"));
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, keys);
}

QStringList TestFrmOptions::ListedFolders() const
{
    QStringList folders;
    const auto* list = Control<QListWidget>(QStringLiteral("LstSafeFiles"));
    for (int i = 0; i < list->count(); ++i)
        folders << list->item(i)->text();
    return folders;
}

void TestFrmOptions::eightWipesAreKeptFromBothSides()
{
    Open();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Vanisto 1.0 Options"));
    QCOMPARE(Text(QStringLiteral("txtNumOverLong")), QStringLiteral("Number of wipes: 3"));
    // More method: NORMAL with 3 wipes becomes ENHANCED with 8, and says so.
    Click(Control(QStringLiteral("btnFastShred")));
    QCOMPARE(Text(QStringLiteral("txtFastShred")), QStringLiteral("Shred Method is: ENHANCED"));
    QCOMPARE(
        Text(QStringLiteral("LblReset")),
        QStringLiteral("The ENHANCED shred method requires a minimum of 8 wipes. The number of wipes has "
                       "been reset to 8."));
    QVERIFY(Control(QStringLiteral("LblReset"))->isVisible());
    QCOMPARE(Control<QLineEdit>(QStringLiteral("txtNumOver"))->text(), QStringLiteral("8"));
    QCOMPARE(Stored(Setting::NumOverwrite), QStringLiteral("8"));
    QCOMPARE(Stored(Setting::FastShred), QStringLiteral("2"));
    // 8 is enough for ULTRA: no notice.
    Click(Control(QStringLiteral("btnFastShred")));
    QVERIFY(Control(QStringLiteral("LblReset"))->isHidden());
    QCOMPARE(Stored(Setting::FastShred), QStringLiteral("3"));
    QCOMPARE(Shared().FastShred, qint16(3));

    // Fewer wipes: 7 under ULTRA sets NORMAL back, in memory, on screen and on disk.
    Type(QStringLiteral("7"));
    Click(Control(QStringLiteral("btnWipes")));
    QCOMPARE(Text(QStringLiteral("txtNumOverLong")), QStringLiteral("Number of wipes: 7"));
    QCOMPARE(Text(QStringLiteral("txtFastShred")), QStringLiteral("Shred Method is: NORMAL"));
    QVERIFY(
        Text(QStringLiteral("LblReset")).startsWith(QStringLiteral("The ENHANCED and ULTRA shred methods")));
    QCOMPARE(Stored(Setting::NumOverwrite), QStringLiteral("7"));
    QCOMPARE(Stored(Setting::FastShred), QStringLiteral("1"));
    QCOMPARE(Shared().NumOverwrite, 7);
    QCOMPARE(Shared().FastShred, qint16(1));
    // Enter applies too, and 5 under NORMAL still gives the notice.
    Click(Control(QStringLiteral("btnFastShred")));
    Click(Control(QStringLiteral("btnFastShred")));
    Click(Control(QStringLiteral("btnFastShred")));
    QVERIFY(Control(QStringLiteral("LblReset"))->isHidden());
    Type(QStringLiteral("5"));
    QTest::keyClick(Control(QStringLiteral("txtNumOver")), Qt::Key_Return);
    QCOMPARE(Stored(Setting::NumOverwrite), QStringLiteral("5"));
    QVERIFY(Control(QStringLiteral("LblReset"))->isVisible());
}

void TestFrmOptions::unknownStoredMethodIsCorrectedAtOpening()
{
    SaveStringSetting(Setting::FastShred, QStringLiteral("7"));
    SaveStringSetting(Setting::PromptSafeFiles, QStringLiteral("0"));
    Open();
    QCOMPARE(Text(QStringLiteral("txtFastShred")), QStringLiteral("Shred Method is: NORMAL"));
    QCOMPARE(Text(QStringLiteral("txtNumOverLong")), QStringLiteral("Number of wipes: 8"));
    QCOMPARE(Stored(Setting::FastShred), QStringLiteral("1"));
    QCOMPARE(Stored(Setting::NumOverwrite), QStringLiteral("8"));
    QCOMPARE(Shared().NumOverwrite, 8);
    // A stored 0 leaves the box clear and the flag in memory as it was.
    QVERIFY(!Control<QCheckBox>(QStringLiteral("chkPrompt"))->isChecked());
    QCOMPARE(Shared().PromptSafeFiles, qint16(1));
}

void TestFrmOptions::wipesBoxTakesOnlyANumberThatFits()
{
    Open();
    auto* box = Control<QLineEdit>(QStringLiteral("txtNumOver"));
    Type(QStringLiteral("0"));
    QCOMPARE(box->text(), QStringLiteral("1"));
    Type(QStringLiteral("1x2-y"));
    QCOMPARE(box->text(), QStringLiteral("12"));
    QApplication::clipboard()->setText(QStringLiteral("4 wipes"));
    box->selectAll();
    box->paste();
    QCOMPARE(box->text(), QStringLiteral("12"));

    // Ten digits fit the box but not 32 bits: logged, nothing changes.
    Type(QStringLiteral("99999999999"));
    QCOMPARE(box->text(), QStringLiteral("9999999999"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(Shared().NumOverwrite, 3);
    QCOMPARE(Stored(Setting::NumOverwrite), QStringLiteral("3"));
    QCOMPARE(Text(QStringLiteral("txtNumOverLong")), QStringLiteral("Number of wipes: 3"));
    QVERIFY(ErrorLog().contains(QStringLiteral("frmOptions:SetWipes Err Number = 6")));
}

void TestFrmOptions::instantShredAndPromptAreStoredAtOnce()
{
    Open();
    QCOMPARE(Stored(Setting::PromptSafeFiles), QStringLiteral("1"));
    Click(Control(QStringLiteral("btnInstant")));
    QCOMPARE(Text(QStringLiteral("txtInstantShred")), QStringLiteral("Instant Shred is: ON"));
    QVERIFY(Control(QStringLiteral("lblWarning"))->isVisible());
    QCOMPARE(Stored(Setting::ShredNow), QStringLiteral("True"));
    QVERIFY(Shared().ShredNow);
    Click(Control(QStringLiteral("chkPrompt")));
    QCOMPARE(Stored(Setting::PromptSafeFiles), QStringLiteral("0"));
    QCOMPARE(Shared().PromptSafeFiles, qint16(0));
    m_window.reset();
    Open();
    QCOMPARE(Text(QStringLiteral("txtInstantShred")), QStringLiteral("Instant Shred is: ON"));
    QVERIFY(!Control<QCheckBox>(QStringLiteral("chkPrompt"))->isChecked());
}

void TestFrmOptions::foldersAreAddedAndClearedInTheirOrders()
{
    const QString a = m_dir.filePath(QStringLiteral("A")), b = m_dir.filePath(QStringLiteral("B")),
                  c = m_dir.filePath(QStringLiteral("C")), lowerA = m_dir.filePath(QStringLiteral("a"));
    for (const QString& folder : {a, b, c, lowerA})
        QVERIFY(QDir().mkpath(folder));
    Open();
    {
        // The same folder twice, and a Cancel, add nothing; another letter case is another folder.
        FolderChooser user({a, b, c, a, QString(), lowerA});
        for (int i = 0; i < 6; ++i)
            Click(Control(QStringLiteral("btnSafeShred")));
        QCOMPARE(user.titles.size(), 6);
        QCOMPARE(user.titles.first(), QStringLiteral("Do Not Shred This Folder..."));
    }
    QCOMPARE(ListedFolders(), (QStringList{a, b, c, lowerA}));
    QCOMPARE(Stored(Setting::SafeFiles), a + u';' + b + u';' + c + u';' + lowerA + u';');
    QCOMPARE(Shared().SafeFolders, (QStringList{a, b, c, lowerA}));
    QCOMPARE(Control<QListWidget>(QStringLiteral("LstSafeFiles"))->item(1)->toolTip(), b);

    Control<QListWidget>(QStringLiteral("LstSafeFiles"))->item(1)->setCheckState(Qt::Checked);
    {
        DialogAnswerer user({QStringLiteral("cmdNo"), QStringLiteral("btnYes")});
        Click(Control(QStringLiteral("Selection2_2")));
        QCOMPARE(ListedFolders().size(), 4);
        Click(Control(QStringLiteral("Selection2_2")));
        QCOMPARE(user.asked.size(), 2);
        QVERIFY(user.asked[1].startsWith(ClearTitle +
                                         QStringLiteral("|Are you sure you want to clear the selected")));
    }
    // The folders kept come back in the reverse of their order.
    QCOMPARE(ListedFolders(), (QStringList{lowerA, c, a}));
    QCOMPARE(Stored(Setting::SafeFiles), lowerA + u';' + c + u';' + a + u';');
    QCOMPARE(Shared().SafeFolders, (QStringList{lowerA, c, a}));

    Click(Control(QStringLiteral("Selection2_0")));
    Click(Control(QStringLiteral("Selection2_1")));
    Control<QListWidget>(QStringLiteral("LstSafeFiles"))->item(0)->setCheckState(Qt::Checked);
    Click(Control(QStringLiteral("Selection2_1")));
    QCOMPARE(Control<QListWidget>(QStringLiteral("LstSafeFiles"))->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(Control<QListWidget>(QStringLiteral("LstSafeFiles"))->item(2)->checkState(), Qt::Checked);
    {
        DialogAnswerer user({QStringLiteral("btnYes")});
        Click(Control(QStringLiteral("Selection2_3")));
        QVERIFY(user.asked.value(0).contains(QStringLiteral("permit shredding of items in ALL folders")));
    }
    QVERIFY(ListedFolders().isEmpty());
    QCOMPARE(Stored(Setting::SafeFiles), QString());
    QVERIFY(Shared().SafeFolders.isEmpty());
}

void TestFrmOptions::hundredFoldersAtMost()
{
    QString stored;
    for (int i = 0; i < 101; ++i)
        stored += QStringLiteral("/srv/keep%1;").arg(i);
    SaveStringSetting(Setting::SafeFiles, stored);
    Open();
    QCOMPARE(ListedFolders().size(), 100);
    QCOMPARE(ListedFolders().last(), QStringLiteral("/srv/keep99"));
    QVERIFY(ErrorLog().contains(QStringLiteral("SmartSplit")));

    // A 101st is refused with a message, so that nothing added is dropped at the next reading.
    const QString kept = Stored(Setting::SafeFiles);
    FolderChooser chooser({m_dir.path()});
    DialogAnswerer user({QStringLiteral("cmdOK")});
    Click(Control(QStringLiteral("btnSafeShred")));
    QCOMPARE(user.asked.size(), 1);
    QVERIFY(user.asked[0].contains(QStringLiteral("was not added to the 'Do Not Shred' list")));
    QCOMPARE(Stored(Setting::SafeFiles), kept);
    QCOMPARE(Shared().SafeFolders.size(), 100);
}

void TestFrmOptions::scrollerMovesTheListByWholeRows()
{
    for (const int count : {5, 6}) {
        QString stored;
        for (int i = 0; i < count; ++i)
            stored += QStringLiteral("/srv/f%1;").arg(i);
        SaveStringSetting(Setting::SafeFiles, stored);
        Open();
        auto* scroller = Control<ctlSlider>(QStringLiteral("myscroller2"));
        auto* list = Control<QListWidget>(QStringLiteral("LstSafeFiles"));
        const int row = list->visualItemRect(list->item(0)).height();
        QCOMPARE(list->height(), row * count);
        QCOMPARE(scroller->Max(), count == 5 ? 100 : 200);
        QCOMPARE(list->y(), 0);
        (void)scroller->SetValue(0);
        QCOMPARE(list->y(), count == 5 ? 0 : -2 * row);
        (void)scroller->SetValue(150);
        QCOMPARE(list->y(), count == 5 ? 0 : -row);
    }
}

void TestFrmOptions::everyControlCanBeReachedByAScreenReader()
{
    SaveStringSetting(Setting::SafeFiles, QStringLiteral("/srv/one;/srv/two;"));
    Open();
    for (const char* name :
         {"btnWipes", "btnInstant", "btnFastShred", "btnSafeShred", "cmdTutorial", "btnClose"}) {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Control(QLatin1String(name)));
        QCOMPARE(button->role(), QAccessible::Button);
        QVERIFY2(!button->text(QAccessible::Name).isEmpty(), name);
        QVERIFY(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    // Pressing the Instant Shred row through accessibility switches it like a click.
    QAccessible::queryAccessibleInterface(Control(QStringLiteral("btnInstant")))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(Shared().ShredNow);

    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Control(QStringLiteral("txtNumOver")));
    QCOMPARE(box->role(), QAccessible::EditableText);
    QCOMPARE(box->text(QAccessible::Name), QStringLiteral("Number of wipes"));
    QAccessibleInterface* link =
        QAccessible::queryAccessibleInterface(Control(QStringLiteral("Selection2_0")));
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), QStringLiteral("Select All"));

    // A folder is a checkable list item named by its path; pressing it ticks its box.
    QAccessibleInterface* list =
        QAccessible::queryAccessibleInterface(Control(QStringLiteral("LstSafeFiles")));
    QCOMPARE(list->childCount(), 2);
    QAccessibleInterface* item = list->child(1);
    QCOMPARE(item->role(), QAccessible::ListItem);
    QCOMPARE(item->text(QAccessible::Name), QStringLiteral("/srv/two"));
    QVERIFY(item->state().checkable && !item->state().checked);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(Control<QListWidget>(QStringLiteral("LstSafeFiles"))->item(1)->checkState(), Qt::Checked);
    QVERIFY(item->state().checked);
    QCOMPARE(list->indexOfChild(item), 1);
}

VANISTO_TEST_GUI_MAIN(TestFrmOptions)
#include "tst_frmoptions.moc"
