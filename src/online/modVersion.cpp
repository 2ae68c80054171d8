#include "modVersion.h"

#include "common/LogError.h"
#include "common/Settings.h"
#include "modGetConnect.h"
#include "platform/AppFolder.h"

#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {
const QString Module = QStringLiteral("modVersion");
constexpr int DownloadTimeLimitMs = 20000;
constexpr int QueryTimeLimitMs = 5000;
// The upgrade message is shown whole in the message dialog, so it has to fit on a screen.
constexpr int MaxMessageLines = 20;
constexpr int MaxMessageLength = 2000;

void Log(const QString& procedure, long number, const QString& description)
{
    LogError(Module, procedure, number, description);
}

QStringList Lines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // the line break that ends the last line
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

// Steps 4 to 8 of the check, on the downloaded file, which is deleted afterwards.
bool EvaluateVersionFile(OnlineState& state, const QString& local)
{
    QFile file(local);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(VersionFileCap + 1);
    file.close();
    QFile::remove(local);
    QString why;
    const std::optional<VersionFile> version = ReadVersionFile(bytes, &why);
    if (!version) {
        Log(QStringLiteral("NewerVersionAvailable"), ErrorNumber::TypeMismatch,
            QStringLiteral("version.txt ") + why);
        return false;
    }
    state.publishedVersion = version->publishedVersion;
    state.announcementsDate = version->announcementsDate;
    state.newAnnouncements = state.announcementsDate != ReadStringSetting(Setting::NewAnnouncementsDate);
    state.upgradeMessage = version->upgradeMessage;
    if (state.publishedVersion == ReadStringSetting(Setting::ShowUpgrade))
        return false;
    SaveStringSetting(Setting::ShowUpgrade, state.publishedVersion);
    return true;
}

// The Exec line of a desktop entry's main group, with its field codes taken out.
QString ExecWithoutFieldCodes(const QString& entryPath)
{
    QFile entry(entryPath);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool mainGroup = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            mainGroup = line == QLatin1String("[Desktop Entry]");
        else if (mainGroup && line.section(QLatin1Char('='), 0, 0).trimmed() == QLatin1String("Exec")) {
            static const QRegularExpression fieldCode(QStringLiteral("(^|\\s)%[fFuUdDnNickvm](?=\\s|$)"));
            QString command = line.section(QLatin1Char('='), 1);
            command.replace(fieldCode, QString());
            return command.replace(QLatin1String("%%"), QLatin1String("%")).trimmed();
        }
    }
    return {};
}
} // namespace

std::optional<VersionFile> ReadVersionFile(const QByteArray& raw, QString* why)
{
    const auto refuse = [why](const QString& reason) -> std::optional<VersionFile> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    QByteArray bytes = raw;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.contains('\0'))
        return refuse(QStringLiteral("holds NUL bytes"));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return refuse(QStringLiteral("is not UTF-8 text"));
    const QStringList lines = Lines(text);
    if (lines.size() < 2)
        return refuse(QStringLiteral("has no announcements date"));
    static const QRegularExpression version(QStringLiteral("^[0-9]{1,5}\\.[0-9]{1,5}$"));
    static const QRegularExpression date(QStringLiteral("^[0-9]{1,2}/[0-9]{1,2}/[0-9]{4}$"));
    if (!version.match(lines[0]).hasMatch())
        return refuse(QStringLiteral("does not start with a version"));
    if (!date.match(lines[1]).hasMatch())
        return refuse(QStringLiteral("has no date on its second line"));
    VersionFile file{lines[0], lines[1], {}};
    for (const QString& line : lines.mid(2))
        file.upgradeMessage += line + QStringLiteral("\r\n");
    if (lines.size() - 2 > MaxMessageLines || file.upgradeMessage.size() > MaxMessageLength)
        return refuse(QStringLiteral("has an upgrade message too long to show"));
    return file;
}

void ActiveConnection(QObject* context, std::function<void(bool)> done)
{
    modGetConnect::Reach(QUrl(modGetConnect::SiteAddress()), ConnectionTimeLimitMs, context, std::move(done));
}

void DownloadFile(const QString& address, const QString& localPath, qint64 maxBytes, QObject* context,
                  std::function<void(bool)> done)
{
    modGetConnect::Fetch(QUrl(address), maxBytes, DownloadTimeLimitMs, context,
                         [localPath, done = std::move(done)](const modGetConnect::Answer& answer) {
                             if (!answer.ok) {
                                 Log(QStringLiteral("DownloadFile"), ErrorNumber::PathFileAccessError,
                                     answer.failure);
                                 return done(false);
                             }
                             QSaveFile file(localPath);
                             if (!file.open(QIODevice::WriteOnly) ||
                                 file.write(answer.body) != answer.body.size() || !file.commit()) {
                                 Log(QStringLiteral("DownloadFile"), ErrorNumber::PathFileAccessError,
                                     localPath + QStringLiteral(": ") + file.errorString());
                                 return done(false);
                             }
                             done(QFile::exists(localPath));
                         });
}

void NewerVersionAvailable(OnlineState& state, QObject* context, std::function<void(bool)> done)
{
    state.newAnnouncements = false;
    const QString local = AppFolder::file(QStringLiteral("version.txt"));
    if (QFile::exists(local) && !QFile::remove(local))
        Log(QStringLiteral("NewerVersionAvailable"), ErrorNumber::PermissionDenied, local);
    DownloadFile(modGetConnect::SiteAddress() + QStringLiteral("/version.txt"), local, VersionFileCap,
                 context, [&state, local, done = std::move(done)](bool downloaded) {
                     done(downloaded && EvaluateVersionFile(state, local));
                 });
}

QString ExePfad(const QString& filePath)
{
    const QString type = QMimeDatabase().mimeTypeForFile(filePath, QMimeDatabase::MatchExtension).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(QueryTimeLimitMs)) {
        query.kill();
        Log(QStringLiteral("ExePfad"), ErrorNumber::FileNotFound,
            QStringLiteral("xdg-mime: ") + query.errorString());
        return {};
    }
    const QString id =
        QString::fromUtf8(query.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (id.isEmpty())
        return {};
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    if (entry.isEmpty()) {
        Log(QStringLiteral("ExePfad"), ErrorNumber::FileNotFound, QStringLiteral("no desktop entry ") + id);
        return {};
    }
    const QString command = ExecWithoutFieldCodes(entry);
    // A file that opens itself is no browser.
    return command.compare(filePath, Qt::CaseInsensitive) == 0 ? QString() : command;
}

QString StandardBrowser()
{
    QString probe = AppFolder::path();
    if (!probe.endsWith(QLatin1Char('/')))
        probe += QLatin1Char('/');
    probe += QStringLiteral("xxx.html");
    // A leftover (or a link someone put there) goes first: the probe is always a new, empty file.
    QFile::remove(probe);
    QFile file(probe);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        Log(QStringLiteral("StandardBrowser"), ErrorNumber::PathFileAccessError,
            probe + QStringLiteral(": ") + file.errorString());
        return {};
    }
    file.close();
    const QString browser = ExePfad(probe);
    if (!QFile::remove(probe))
        Log(QStringLiteral("StandardBrowser"), ErrorNumber::PermissionDenied, probe);
    return browser;
}

bool StartBrowser(const QString& browser, const QString& address)
{
    QStringList arguments = QProcess::splitCommand(browser);
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    arguments << address;
    if (QProcess::startDetached(program, arguments, AppFolder::path()))
        return true;
    Log(QStringLiteral("StartBrowser"), ErrorNumber::FileNotFound, program);
    return false;
}
