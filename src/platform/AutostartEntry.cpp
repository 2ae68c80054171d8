#include "AutostartEntry.h"

#include "platform/Identity.h"
#include "platform/XdgFolders.h"

#include <QFile>
#include <QSaveFile>

namespace {
const QLatin1String ExecKey("Exec");

// The string type's escapes come on top of the quoting rule's, so a backslash in a path
// ends up as four.
QString escapeString(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size() + 8);
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            escaped += QLatin1String("\\\\");
            break;
        case '\n':
            escaped += QLatin1String("\\n");
            break;
        case '\t':
            escaped += QLatin1String("\\t");
            break;
        case '\r':
            escaped += QLatin1String("\\r");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString unescapeString(const QString& value)
{
    QString plain;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != QLatin1Char('\\') || i + 1 == value.size()) {
            plain += value.at(i);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            plain += QLatin1Char(' ');
            break;
        case 'n':
            plain += QLatin1Char('\n');
            break;
        case 't':
            plain += QLatin1Char('\t');
            break;
        case 'r':
            plain += QLatin1Char('\r');
            break;
        default:
            plain += next;
        }
    }
    return plain;
}

// The first argument of an Exec command line whose string escapes are already undone.
QString firstArgument(const QString& command)
{
    QString argument;
    qsizetype i = 0;
    const bool quoted = command.startsWith(QLatin1Char('"'));
    if (quoted)
        ++i;
    for (; i < command.size(); ++i) {
        const QChar c = command.at(i);
        if (quoted && c == QLatin1Char('"'))
            break;
        if (!quoted && c == QLatin1Char(' '))
            break;
        if (quoted && c == QLatin1Char('\\') && i + 1 < command.size())
            argument += command.at(++i);
        else if (c == QLatin1Char('%') && i + 1 < command.size() && command.at(i + 1) == QLatin1Char('%'))
            argument += command.at(++i);
        else
            argument += c;
    }
    return argument;
}
} // namespace

QString AutostartEntry::folder()
{
    return XdgFolders::configHome() + QStringLiteral("/autostart");
}

QString AutostartEntry::filePath()
{
    return folder() + QStringLiteral("/vanisto.desktop");
}

QString AutostartEntry::execArgument(const QString& path)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        else if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return escapeString(quoted);
}

QString AutostartEntry::text(const QString& executable)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.4\n"
                          "Name=%1\n"
                          "Comment=Keeps %1 ready in the background to shred what it is given\n"
                          "Exec=%2\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(QLatin1String(Identity::ProductName), execArgument(executable));
}

QString AutostartEntry::programOf(const QString& entryText)
{
    bool inMainGroup = false;
    for (const QStringView line : QStringView(entryText).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            inMainGroup = line.trimmed() == QLatin1String("[Desktop Entry]");
        else if (const qsizetype equals = line.indexOf(QLatin1Char('='));
                 inMainGroup && equals > 0 && line.left(equals).trimmed() == ExecKey)
            return firstArgument(unescapeString(line.mid(equals + 1).trimmed().toString()));
    }
    return QString();
}

bool AutostartEntry::write(const QString& executable)
{
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text(executable).toUtf8());
    return file.commit();
}

QString AutostartEntry::read()
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return programOf(QString::fromUtf8(file.readAll()));
}
