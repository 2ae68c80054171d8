#include "modGetConnect.h"

#include "platform/Identity.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>

namespace modGetConnect {
namespace {
constexpr int MaxRedirects = 5;

QString& SiteOverride()
{
    static QString address;
    return address;
}

// A jar that keeps nothing and gives nothing: the site cannot follow the user from run to run.
class NoCookies : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl&) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&) override { return false; }
};

QNetworkAccessManager& Manager()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager) {
        manager = new QNetworkAccessManager(QCoreApplication::instance());
        manager->setCookieJar(new NoCookies(manager));
        manager->setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
    }
    return *manager;
}

QNetworkRequest Request(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("%1/%2.%3")
                                                            .arg(QLatin1String(Identity::ProductName))
                                                            .arg(Identity::VersionMajor)
                                                            .arg(Identity::VersionMinor));
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    return request;
}

// The same host and port; http may become https on the same host.
bool SameSite(const QUrl& to, const QUrl& from)
{
    const bool upgrade = from.scheme() == QLatin1String("http") && to.scheme() == QLatin1String("https") &&
                         from.port() == -1 && to.port() == -1;
    return to.host().compare(from.host(), Qt::CaseInsensitive) == 0 && (to.port() == from.port() || upgrade);
}

// One request with its limits. It belongs to the caller's context object, so a caller that
// goes away takes its requests with it; otherwise it deletes itself when it ends.
class Transfer : public QObject
{
public:
    enum class Want
    {
        Body,   // the whole answer, which must be a 2xx
        Answers // only whether the server answered
    };

    Transfer(const QUrl& url, Want want, qint64 maxBytes, int timeLimitMs, QObject* context,
             std::function<void(const Answer&)> done)
        : QObject(context), m_url(url), m_want(want), m_maxBytes(maxBytes), m_done(std::move(done))
    {
        if (!AllowedAddress(url)) {
            // Still later on the event loop, as every other ending.
            QTimer::singleShot(0, this,
                               [this] { Fail(QStringLiteral("refused address ") + m_url.toString()); });
            return;
        }
        m_reply = Manager().get(Request(url));
        connect(m_reply, &QNetworkReply::redirected, this, &Transfer::Redirected);
        connect(m_reply, &QNetworkReply::metaDataChanged, this, &Transfer::MetaData);
        connect(m_reply, &QNetworkReply::readyRead, this, &Transfer::Read);
        connect(m_reply, &QNetworkReply::finished, this, &Transfer::Finished);
        m_limit.setSingleShot(true);
        connect(&m_limit, &QTimer::timeout, this,
                [this, timeLimitMs] { Fail(QStringLiteral("no answer within %1 ms").arg(timeLimitMs)); });
        m_limit.start(timeLimitMs);
    }

    ~Transfer() override { Drop(); }

private:
    bool Answered() const { return m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid(); }

    void Redirected(const QUrl& to)
    {
        if (m_want == Want::Answers)
            return End({true, {}, {}});
        if (!SameSite(to, m_url) || !AllowedAddress(to))
            return Fail(QStringLiteral("redirected away to ") + to.toString());
        Q_EMIT m_reply->redirectAllowed();
    }

    void MetaData()
    {
        if (m_want == Want::Answers) {
            if (Answered())
                End({true, {}, {}});
            return;
        }
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_maxBytes)
            Fail(QStringLiteral("announced %1 bytes, more than %2").arg(length.toLongLong()).arg(m_maxBytes));
    }

    void Read()
    {
        if (!m_reply)
            return;
        m_body += m_reply->readAll();
        if (m_body.size() > m_maxBytes)
            Fail(QStringLiteral("more than %1 bytes").arg(m_maxBytes));
    }

    void Finished()
    {
        if (!m_reply)
            return;
        if (m_want == Want::Answers)
            return End({Answered(), {}, m_reply->errorString()});
        Read();
        if (!m_reply)
            return;
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (m_reply->error() != QNetworkReply::NoError)
            return Fail(m_reply->errorString());
        if (status < 200 || status > 299)
            return Fail(QStringLiteral("HTTP status %1").arg(status));
        End({true, m_body, {}});
    }

    void Fail(const QString& why) { End({false, {}, m_url.toString() + QStringLiteral(": ") + why}); }

    void End(const Answer& answer)
    {
        Drop();
        if (m_done) {
            auto done = std::exchange(m_done, nullptr);
            done(answer);
        }
        deleteLater();
    }

    // Stops the request; nothing it does later reaches this transfer.
    void Drop()
    {
        m_limit.stop();
        if (QNetworkReply* reply = std::exchange(m_reply, nullptr)) {
            reply->disconnect(this);
            // Not from inside one of the reply's own signals, which Qt does not expect.
            QTimer::singleShot(0, reply, [reply] {
                reply->abort();
                reply->deleteLater();
            });
        }
    }

    QUrl m_url;
    Want m_want;
    qint64 m_maxBytes;
    std::function<void(const Answer&)> m_done;
    QNetworkReply* m_reply = nullptr;
    QByteArray m_body;
    QTimer m_limit;
};
} // namespace

QString SiteAddress()
{
    QString address = SiteOverride().isEmpty() ? QLatin1String(Identity::Comments) : SiteOverride();
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address;
}

void SetSiteAddress(const QString& address)
{
    SiteOverride() = address;
}

bool AllowedAddress(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    return scheme == QLatin1String("http") && QHostAddress(url.host()).isLoopback();
}

void Fetch(const QUrl& url, qint64 maxBytes, int timeLimitMs, QObject* context,
           std::function<void(const Answer&)> done)
{
    new Transfer(url, Transfer::Want::Body, maxBytes, timeLimitMs, context, std::move(done));
}

void Reach(const QUrl& url, int timeLimitMs, QObject* context, std::function<void(bool)> done)
{
    new Transfer(url, Transfer::Want::Answers, 0, timeLimitMs, context,
                 [done = std::move(done)](const Answer& answer) { done(answer.ok); });
}

} // namespace modGetConnect
