#pragma once

#include <QString>

#include <functional>
#include <optional>

class QByteArray;
class QObject;

// The once-per-run look at the product web site: is it reachable, which version and which
// announcements does it publish, and the browser that takes the user there.

// What "version.txt" says: line 1 the latest released version ("1.0"), line 2 the date of
// the latest announcements ("mm/dd/yyyy"), the rest the upgrade message, each of its lines
// followed by CR LF.
struct VersionFile
{
    QString publishedVersion;
    QString announcementsDate;
    QString upgradeMessage;
};

// What the check learned in this process.
struct OnlineState
{
    bool onlineCheckDone = false;
    bool newAnnouncements = false;
    QString publishedVersion;
    QString announcementsDate;
    QString upgradeMessage;
};

// The limits of what the site may send.
inline constexpr qint64 VersionFileCap = 64 * 1024;
inline constexpr qint64 AnnouncementsPageCap = 2 * 1024 * 1024;
inline constexpr int ConnectionTimeLimitMs = 5000;

// Reads version.txt's bytes. Anything that is not a version file (an HTML error page, NUL
// bytes, text that is not UTF-8, a first line that is no version, a message too long to
// show) gives nothing, with `why` set for the error log.
std::optional<VersionFile> ReadVersionFile(const QByteArray& bytes, QString* why);

// Whether the product web site answers within five seconds. `done` runs later on the event
// loop, unless `context` is gone by then.
void ActiveConnection(QObject* context, std::function<void(bool)> done);

// Copies `address` to `localPath`; true when the whole file arrived and is there.
void DownloadFile(const QString& address, const QString& localPath, qint64 maxBytes, QObject* context,
                  std::function<void(bool)> done);

// Fetches and reads version.txt into `state`; true when the upgrade question is to be asked.
// Each published version asks once: the answer true stores it as "ShowUpgrade". `state`
// must live as long as `context`.
void NewerVersionAvailable(OnlineState& state, QObject* context, std::function<void(bool)> done);

// The command line of the program that opens `filePath` (its desktop entry's Exec without
// field codes), or the empty string.
QString ExePfad(const QString& filePath);

// The default web browser's command line, found by asking what opens an empty .html file in
// the application folder; the empty string when there is none.
QString StandardBrowser();

// Starts `browser` with `address` as one more argument, working in the application folder.
bool StartBrowser(const QString& browser, const QString& address);
