#include "TestEnvironment.h"
#include "UserActions.h"
#include "dialogs/frmAbout.h"
#include "platform/Identity.h"

#include <QDate>
#include <QLabel>
#include <QTemporaryDir>

#include <memory>

using namespace UserActions;

namespace {
// A tool named like the desktop's system-information tool, in a folder that is all of PATH.
class FakeTool
{
public:
    explicit FakeTool(bool runnable) : m_saved(qgetenv("PATH"))
    {
        QFile script(m_dir.filePath(QStringLiteral("hardinfo")));
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho started > '" + QFile::encodeName(marker()) + "'\n");
        script.close();
        script.setPermissions(runnable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                       : QFile::ReadOwner | QFile::WriteOwner);
        qputenv("PATH", QFile::encodeName(m_dir.path()));
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    ~FakeTool() { qputenv("PATH", m_saved); }
    QString marker() const { return m_dir.filePath(QStringLiteral("started")); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};
} // namespace

class TestFrmAbout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_window = std::make_unique<frmAbout>(nullptr);
        m_window->Form_Load();
        m_window->show();
    }
    void cleanup() { m_window.reset(); }

    void textsComeFromTheIdentity()
    {
        const QString product = QLatin1String(Identity::ProductName);
        const QString company = QLatin1String(Identity::CompanyName);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("About ") + product);
        QCOMPARE(Text("lblTitle"), product + QStringLiteral(" by ") + company);
        QCOMPARE(Text("lblVersion"),
                 QStringLiteral("Version %1.%2").arg(Identity::VersionMajor).arg(Identity::VersionMinor));
        QCOMPARE(Text("lblDescription"), QLatin1String(Identity::Description));
        // The year the window was opened in, not the year the program was built in.
        QCOMPARE(Text("lblCopyright"),
                 QStringLiteral("Copyright (C) %1 ").arg(QDate::currentDate().year()) + company);
    }

    void okCloses()
    {
        Click(m_window->findChild<QWidget*>(QStringLiteral("cmdOK")));
        QVERIFY(!m_window->isVisible());
    }

    void systemInfoStartsTheToolAndCloses()
    {
        FakeTool tool(true);
        DialogAnswerer user({QStringLiteral("cmdOK")});
        Click(m_window->findChild<QWidget*>(QStringLiteral("cmdSysInfo")));
        QTRY_VERIFY(QFile::exists(tool.marker()));
        QVERIFY(!m_window->isVisible());
        QVERIFY(user.asked.isEmpty());
    }

    // A tool that is there but cannot run is as unavailable as none.
    void toolThatCannotStartGivesTheNotice_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("without the run bit") << true;
        QTest::newRow("none") << false;
    }
    void toolThatCannotStartGivesTheNotice()
    {
        QFETCH(bool, present);
        QTemporaryDir empty;
        std::unique_ptr<FakeTool> tool = present ? std::make_unique<FakeTool>(false) : nullptr;
        const QByteArray saved = qgetenv("PATH");
        if (!present)
            qputenv("PATH", QFile::encodeName(empty.path()));
        DialogAnswerer user({QStringLiteral("cmdOK")});
        Click(m_window->findChild<QWidget*>(QStringLiteral("cmdSysInfo")));
        if (!present)
            qputenv("PATH", saved);
        QCOMPARE(user.asked.size(), 1);
        QVERIFY(user.asked[0].endsWith(QStringLiteral("|System Information Is Unavailable At This Time.")));
        QVERIFY(!m_window->isVisible());
        QVERIFY(!tool || !QFile::exists(tool->marker()));
    }

private:
    QString Text(const char* label) const
    {
        return m_window->findChild<QLabel*>(QLatin1String(label))->text();
    }
    std::unique_ptr<frmAbout> m_window;
};

VANISTO_TEST_GUI_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
