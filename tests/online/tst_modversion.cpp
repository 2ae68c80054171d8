#include "FakeBrowser.h"
#include "LocalWebSite.h"
#include "TestEnvironment.h"
#include "online/modGetConnect.h"
#include "online/modVersion.h"
#include "platform/AppFolder.h"

#include <QDate>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
// The last answer of an asynchronous call, waited for as the event loop runs.
template <typename T> T Await(std::function<void(QObject*, std::function<void(T)>)> call, int ms = 10000)
{
    QObject context;
    std::optional<T> answer;
    call(&context, [&answer](T value) { answer = value; });
    if (!QTest::qWaitFor([&answer] { return answer.has_value(); }, ms)) {
        QTest::qFail("no answer in time", __FILE__, __LINE__);
        return T{};
    }
    return *answer;
}

modGetConnect::Answer Get(const QString& url, qint64 cap = VersionFileCap)
{
    return Await<modGetConnect::Answer>([&](QObject* context, auto done) {
        modGetConnect::Fetch(QUrl(url), cap, 5000, context,
                             [done](const modGetConnect::Answer& a) { done(a); });
    });
}

bool Connected(int ms = 10000)
{
    return Await<bool>([](QObject* context, auto done) { ActiveConnection(context, done); }, ms);
}

bool Newer(OnlineState& state)
{
    return Await<bool>(
        [&state](QObject* context, auto done) { NewerVersionAvailable(state, context, done); });
}

QString Today()
{
    return QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
}
} // namespace

class TestModVersion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_site = std::make_unique<LocalWebSite>();
        modGetConnect::SetSiteAddress(m_site->address());
        QSettings(QStringLiteral("vn10"), QStringLiteral("vn10")).clear();
    }

    void readVersionFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("read"); // version, date, message; empty when refused
        const QString message = QStringLiteral("Faster.\r\nSafer.\r\n");
        QTest::newRow("CR LF") << QByteArray("1.1\r\n12/01/2026\r\nFaster.\r\nSafer.\r\n")
                               << QStringList{QStringLiteral("1.1"), QStringLiteral("12/01/2026"), message};
        QTest::newRow("LF, BOM, no last break")
            << QByteArray("\xEF\xBB\xBF"
                          "1.00\n12/01/2026\nFaster.\nSafer.")
            << QStringList{QStringLiteral("1.00"), QStringLiteral("12/01/2026"), message};
        QTest::newRow("two lines") << QByteArray("2.0\r\n1/2/2027\r\n")
                                   << QStringList{QStringLiteral("2.0"), QStringLiteral("1/2/2027"),
                                                  QString()};
        QTest::newRow("one line") << QByteArray("1.1\r\n") << QStringList{};
        QTest::newRow("HTML error page")
            << QByteArray("<!DOCTYPE html>\n<html><body>Error</body></html>\n") << QStringList{};
        QTest::newRow("NUL") << QByteArray("1.1\r\n12/01/2026\r\nA\0B\r\n", 21) << QStringList{};
        QTest::newRow("not UTF-8") << QByteArray("1.1\r\n12/01/2026\r\n\xff\xfe\r\n") << QStringList{};
        QTest::newRow("10,000 lines")
            << QByteArray("1.1\r\n12/01/2026\r\n") + QByteArray("line\r\n").repeated(10000) << QStringList{};
    }
    void readVersionFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, read);
        QString why;
        const std::optional<VersionFile> file = ReadVersionFile(bytes, &why);
        QCOMPARE(file.has_value(), !read.isEmpty());
        if (file)
            QCOMPARE((QStringList{file->publishedVersion, file->announcementsDate, file->upgradeMessage}),
                     read);
        else
            QVERIFY(!why.isEmpty());
    }

    // Each published version asks once, across runs; the comparison is textual; with no stored
    // date any date but today's is news; the downloaded file does not stay behind.
    void newerVersionAsksOncePerPublishedVersion()
    {
        m_site->serve("/version.txt", "1.0\r\n" + Today().toLatin1() + "\r\n");
        OnlineState run;
        QVERIFY(!Newer(run));
        QVERIFY(!run.newAnnouncements);

        m_site->serve("/version.txt", "1.1\r\n01/02/2030\r\nNew in 1.1\r\n");
        OnlineState first, second, third;
        QVERIFY(Newer(first));
        QCOMPARE(first.upgradeMessage, QStringLiteral("New in 1.1\r\n"));
        QVERIFY(first.newAnnouncements);
        QVERIFY(!QFile::exists(AppFolder::file(QStringLiteral("version.txt"))));
        QVERIFY(!Newer(second));
        QVERIFY(second.newAnnouncements); // seen only once the announcements window shows them

        m_site->serve("/version.txt", "1.10\r\n01/02/2030\r\n");
        QVERIFY(Newer(third));
        QCOMPARE(m_site->count("/version.txt"), 4);
    }

    // What goes out: the request alone, no cookie back, no query; what comes in: capped, 2xx,
    // redirects only on the site's own host.
    void requestsKeepToTheirLimits()
    {
        const QByteArray big(VersionFileCap + 1, 'x');
        m_site->serve("/big", big);
        m_site->serve("/a", LocalWebSite::Page{200, "A", "Set-Cookie: id=1; Max-Age=9999\r\n"});
        LocalWebSite other;
        other.serve("/b", "B");
        m_site->serve("/here", LocalWebSite::Page{302, {}, "Location: /a\r\n"});
        m_site->serve("/away",
                      LocalWebSite::Page{302, {}, "Location: " + other.address().toLatin1() + "/b\r\n"});

        QVERIFY(!Get(m_site->address() + QStringLiteral("/big")).ok);
        QVERIFY(Get(m_site->address() + QStringLiteral("/big"), big.size()).ok);
        QVERIFY(!Get(m_site->address() + QStringLiteral("/missing")).ok);
        QCOMPARE(Get(m_site->address() + QStringLiteral("/here")).body, QByteArray("A"));
        QVERIFY(!Get(m_site->address() + QStringLiteral("/away")).ok);
        QCOMPARE(other.requests.size(), 0);
        QVERIFY(!Get(QStringLiteral("http://192.0.2.1/version.txt")).ok); // plain HTTP off this machine
        for (const LocalWebSite::Request& request : std::as_const(m_site->requests)) {
            QVERIFY2(request.head.contains("\r\nUser-Agent: Vanisto/1.0"), request.head);
            QVERIFY2(!request.head.contains("\r\nCookie:"), request.head);
            QVERIFY(!request.target.contains('?'));
        }
    }

    // A site that takes the connection and never answers: given up within the limit, with the
    // event loop running all along; a site that is down: false at once; any answer counts.
    void activeConnectionAnswersWithinFiveSeconds()
    {
        m_site->setSilent(true);
        int ticks = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, [&ticks] { ++ticks; });
        beat.start(50);
        QVERIFY(!Connected(ConnectionTimeLimitMs + 2000));
        QVERIFY2(ticks > 60, QByteArray::number(ticks));

        m_site->setSilent(false);
        QVERIFY(Connected()); // "/" is a 404 here
        m_site->close();
        QVERIFY(!Connected(2000));
    }

    // The default browser is what the user's desktop entry for HTML says, started with the
    // address as one argument; the probe file never stays behind.
    void standardBrowserFollowsTheUsersAssociation()
    {
        const QString probe = AppFolder::file(QStringLiteral("xxx.html"));
        {
            FakeBrowser none(false);
            QCOMPARE(StandardBrowser(), QString());
            QVERIFY(!QFile::exists(probe));
        }
        FakeBrowser browser;
        const QString command = StandardBrowser();
        QVERIFY(!QFile::exists(probe));
        const QString address = QStringLiteral("https://example.org/a b?c=1&d='2'");
        QVERIFY(StartBrowser(command, address));
        QTRY_COMPARE(browser.arguments(), QStringLiteral("--new-window\n") + address + QLatin1Char('\n'));
    }

private:
    std::unique_ptr<LocalWebSite> m_site;
};

VANISTO_TEST_GUILESS_MAIN(TestModVersion)
#include "tst_modversion.moc"
