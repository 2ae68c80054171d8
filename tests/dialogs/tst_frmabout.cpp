#include "TestEnvironment.h"
#include "UserActions.h"
#include "dialogs/frmAbout.h"
#include "platform/Identity.h"

#include <QDate>
#include <QTemporaryDir>

#include <memory>

using namespace UserActions;
using namespace Qt::StringLiterals;

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

    void okClosesAndTheYearIsToday()
    {
        // The year the window was opened in, not the year the program was built in.
        QCOMPARE(TextOf(m_window.get(), "lblCopyright"),
                 u"Copyright (C) %1 %2"_s.arg(QDate::currentDate().year())
                     .arg(QLatin1String(Identity::CompanyName)));
        Click(m_window.get(), "cmdOK");
        QVERIFY(!m_window->isVisible());
    }

    // The desktop's system-information tool, alone on PATH: started when it can run, else a notice
    // as when there is none.
    void systemInfo_data()
    {
        QTest::addColumn<QFile::Permissions>("permissions");
        QTest::addColumn<bool>("starts");
        QTest::newRow("runnable") << (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) << true;
        QTest::newRow("without the run bit") << (QFile::ReadOwner | QFile::WriteOwner) << false;
    }
    void systemInfo()
    {
        QFETCH(QFile::Permissions, permissions);
        QFETCH(bool, starts);
        QTemporaryDir tools;
        const QString marker = tools.filePath(u"started"_s);
        QFile script(tools.filePath(u"hardinfo"_s));
        QVERIFY(script.open(QIODevice::WriteOnly) &&
                script.write("#!/bin/sh\necho started > '" + QFile::encodeName(marker) + "'\n") > 0);
        script.close();
        QVERIFY(script.setPermissions(permissions));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(tools.path()));
        qunsetenv("XDG_CURRENT_DESKTOP");
        DialogAnswerer user({u"cmdOK"_s});
        Click(m_window.get(), "cmdSysInfo");
        qputenv("PATH", path);
        QVERIFY(!m_window->isVisible());
        if (starts)
            QTRY_VERIFY(QFile::exists(marker));
        QCOMPARE(user.asked,
                 starts
                     ? QStringList()
                     : QStringList{u"System Information|System Information Is Unavailable At This Time."_s});
        QCOMPARE(QFile::exists(marker), starts);
    }

private:
    std::unique_ptr<frmAbout> m_window;
};

VANISTO_TEST_GUI_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
