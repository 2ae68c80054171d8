#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class QObject;

// How the program talks to its web site. Every request runs on the event loop and never
// blocks it; each has a time limit and a size cap; redirects are followed only on the same
// host. Nothing about the user travels beyond the request itself: no cookies are kept or
// sent, no query string is added, and the User-Agent names only the program and its version.
namespace modGetConnect {

// The product web site's base address, without a trailing slash: the build's unless
// SetSiteAddress named another (the tests point it at a server of their own).
QString SiteAddress();
void SetSiteAddress(const QString& address);

// HTTPS anywhere; plain HTTP only to a loopback address.
bool AllowedAddress(const QUrl& url);

struct Answer
{
    bool ok = false; // a 2xx answer whose whole body arrived within the limits
    QByteArray body;
    QString failure; // why not, for the error log
};

// Fetches `url`. `done` runs exactly once, later on the event loop, unless `context` is
// destroyed first (the request is then abandoned).
void Fetch(const QUrl& url, qint64 maxBytes, int timeLimitMs, QObject* context,
           std::function<void(const Answer&)> done);

// Whether `url` answers at all, with any HTTP status, within the time limit. The body is
// never read.
void Reach(const QUrl& url, int timeLimitMs, QObject* context, std::function<void(bool)> done);

} // namespace modGetConnect
