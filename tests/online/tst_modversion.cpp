#include "LocalWebSite.h"
#include "TestEnvironment.h"
#include "online/modGetConnect.h"
#include "online/modVersion.h"

class TestModVersion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_site = std::make_unique<LocalWebSite>();
        modGetConnect::SetSiteAddress(m_site->address());
    }

    // Version, date and message; anything else is refused with a reason.
    void readVersionFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read");
        const QString message = u"|12/01/2026|Faster.\r\nSafer.\r\n"_s;
        QTest::newRow("CR LF") << QByteArray("1.1\r\n12/01/2026\r\nFaster.\r\nSafer.\r\n")
                               << u"1.1"_s + message;
        QTest::newRow("LF, BOM, no last break")
            << QByteArray("\xEF\xBB\xBF") + "1.00\n12/01/2026\nFaster.\nSafer." << u"1.00"_s + message;
        QTest::newRow("two lines") << QByteArray("2.0\r\n1/2/2027\r\n") << u"2.0|1/2/2027|"_s;
        QTest::newRow("one line") << QByteArray("1.1\r\n") << u"refused"_s;
        QTest::newRow("HTML") << QByteArray("<!DOCTYPE html>\n<html><body>Error</body></html>\n")
                              << u"refused"_s;
        QTest::newRow("NUL") << QByteArray("1.1\r\n12/01/2026\r\nA\0B\r\n", 21) << u"refused"_s;
        QTest::newRow("not UTF-8") << QByteArray("1.1\r\n12/01/2026\r\n\xff\xfe\r\n") << u"refused"_s;
        QTest::newRow("10,000 lines")
            << QByteArray("1.1\r\n12/01/2026\r\n") + QByteArray("line\r\n").repeated(10000) << u"refused"_s;
    }
    void readVersionFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        QString why;
        const std::optional<VersionFile> file = ReadVersionFile(bytes, &why);
        QCOMPARE(file ? file->publishedVersion + u'|' + file->announcementsDate + u'|' + file->upgradeMessage
                      : (why.isEmpty() ? u"refused without a reason"_s : u"refused"_s),
                 read);
    }

    // Out: no cookie back, no query; in: capped, 2xx, redirects only on the site's own host.
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

        QVERIFY(!Get(m_site->address() + u"/big"_s).ok);
        QVERIFY(Get(m_site->address() + u"/big"_s, big.size()).ok);
        QVERIFY(!Get(m_site->address() + u"/missing"_s).ok);
        QCOMPARE(Get(m_site->address() + u"/here"_s).body, QByteArray("A"));
        QVERIFY(!Get(m_site->address() + u"/away"_s).ok);
        QCOMPARE(other.requests.size(), 0);
        QVERIFY(!Get(u"http://192.0.2.1/version.txt"_s).ok); // plain HTTP off this machine
        for (const QByteArray& request : std::as_const(m_site->requests))
            QVERIFY2(request.contains("\r\nUser-Agent: Vanisto/1.0") && !request.contains("\r\nCookie:") &&
                         !request.contains('?'),
                     request);
    }

    // A silent site is given up in time, the event loop running; a site down is false; any answer counts.
    void activeConnectionAnswersWithinFiveSeconds()
    {
        m_site->silent = true;
        int ticks = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, [&ticks] { ++ticks; });
        beat.start(50);
        QVERIFY(!Connected(ConnectionTimeLimitMs + 2000));
        QVERIFY2(ticks > 60, QByteArray::number(ticks));

        m_site->silent = false;
        QVERIFY(Connected()); // "/" is a 404 here
        m_site->close();
        QVERIFY(!Connected(2000));
    }

private:
    // The answer of an asynchronous call, waited for as the event loop runs.
    template <typename T>
    static T Await(const std::function<void(QObject*, std::function<void(T)>)>& call, int ms = 10000)
    {
        QObject context;
        std::optional<T> answer;
        call(&context, [&answer](T value) { answer = value; });
        if (!QTest::qWaitFor([&answer] { return answer.has_value(); }, ms))
            QTest::qFail("no answer in time", __FILE__, __LINE__);
        return answer.value_or(T{});
    }
    static modGetConnect::Answer Get(const QString& url, qint64 cap = VersionFileCap)
    {
        return Await<modGetConnect::Answer>(
            [&](QObject* context, auto done) { modGetConnect::Fetch(QUrl(url), cap, 5000, context, done); });
    }
    static bool Connected(int ms = 10000) { return Await<bool>(ActiveConnection, ms); }

    std::unique_ptr<LocalWebSite> m_site;
};

VANISTO_TEST_GUILESS_MAIN(TestModVersion)
#include "tst_modversion.moc"
