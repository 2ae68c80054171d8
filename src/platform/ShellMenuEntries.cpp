#include "ShellMenuEntries.h"

#include "platform/XdgFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QXmlStreamReader>

using ShellMenuEntries::Caption;
using ShellMenuEntries::IconName;

namespace {
const QString ThunarId = QStringLiteral("vanisto-delete-with");

// A program path as a desktop entry's Exec key takes it: quoted, with the characters the
// quoting reserves escaped.
QString DesktopQuoted(const QString& path)
{
    QString escaped;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    // The key's own escape level doubles every backslash once more.
    escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return u'"' + escaped + u'"';
}

// A path as a shell word: single quotes, a single quote inside closed and reopened.
QString ShellQuoted(const QString& path)
{
    QString quoted = path;
    quoted.replace(QStringLiteral("'"), QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString XmlEscaped(const QString& text)
{
    return text.toHtmlEscaped();
}

struct Entry
{
    QString fileManager; // the program that shows it, looked for on PATH
    QString file;
    QString text;
    bool executable;
};

QList<Entry> Entries(const QString& helper)
{
    const QString data = XdgFolders::dataHome();
    const QString config = XdgFolders::configHome();
    const QString exec = DesktopQuoted(helper);
    const QString script =
        QStringLiteral("#!/bin/sh\n"
                       "# Delete with Vanisto: the selection, one name per argument, to Vanisto.\n"
                       "exec %1 -- \"$@\"\n")
            .arg(ShellQuoted(helper));
    return {
        {QStringLiteral("dolphin"), data + QStringLiteral("/kio/servicemenus/vanisto.desktop"),
         QStringLiteral("[Desktop Entry]\n"
                        "Type=Service\n"
                        "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                        "MimeType=all/all;\n"
                        "Actions=deleteWithVanisto;\n"
                        "X-KDE-Priority=TopLevel\n"
                        "\n"
                        "[Desktop Action deleteWithVanisto]\n"
                        "Name=%1\n"
                        "Icon=%2\n"
                        "Exec=%3 %F\n")
             .arg(Caption, IconName, exec),
         true},
        {QStringLiteral("nautilus"), data + QStringLiteral("/nautilus/scripts/") + Caption, script, true},
        {QStringLiteral("caja"), config + QStringLiteral("/caja/scripts/") + Caption, script, true},
        {QStringLiteral("nemo"), data + QStringLiteral("/nemo/actions/vanisto.nemo_action"),
         QStringLiteral("[Nemo Action]\n"
                        "Name=%1\n"
                        "Comment=Shred the selected items so that they cannot be recovered\n"
                        "Icon-Name=%2\n"
                        "Exec=%3 %F\n"
                        "Selection=notnone\n"
                        "Extensions=any;\n"
                        "Conditions=exec %3 --before-popup %F;\n")
             .arg(Caption, IconName, exec),
         false},
        {QStringLiteral("pcmanfm-qt"), data + QStringLiteral("/file-manager/actions/vanisto.desktop"),
         QStringLiteral("[Desktop Entry]\n"
                        "Type=Action\n"
                        "Name=%1\n"
                        "Icon=%2\n"
                        "Profiles=vanisto;\n"
                        "\n"
                        "[X-Action-Profile vanisto]\n"
                        "MimeTypes=all/all;\n"
                        "Exec=%3 %F\n"
                        "ShowIfTrue=%3 --before-popup %F\n")
             .arg(Caption, IconName, exec),
         false},
    };
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` unless the file already holds them; true when it wrote.
bool WriteIfChanged(const QString& path, const QByteArray& bytes, bool executable, QStringList* problems)
{
    QFile file(path);
    const QFile::Permissions run = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const bool runnable = !executable || (file.permissions() & QFile::ExeOwner);
    if (file.exists() && runnable && ReadAll(path) == bytes)
        return false;
    QDir().mkpath(QFileInfo(path).path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        problems->append(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | run);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Thunar: one action among the user's own in uca.xml. The file is edited as text, so that every
// byte of the user's actions stays as it was, and only when it is well-formed XML.

QString UcaPath()
{
    return XdgFolders::configHome() + QStringLiteral("/Thunar/uca.xml");
}

QString ThunarAction(const QString& helper)
{
    return QStringLiteral(
               "<action>\n"
               "\t<icon>%1</icon>\n"
               "\t<name>%2</name>\n"
               "\t<unique-id>%3</unique-id>\n"
               "\t<command>%4 %F</command>\n"
               "\t<description>Shred the selected items so that they cannot be recovered</description>\n"
               "\t<patterns>*</patterns>\n"
               "\t<directories/>\n"
               "\t<audio-files/>\n"
               "\t<image-files/>\n"
               "\t<other-files/>\n"
               "\t<text-files/>\n"
               "\t<video-files/>\n"
               "</action>\n")
        .arg(IconName, Caption, ThunarId, XmlEscaped(ShellQuoted(helper)));
}

bool WellFormed(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

// Where our action stands in the text, with the line end after it; empty when it is not there.
std::pair<qsizetype, qsizetype> ThunarActionSpan(const QString& text)
{
    const qsizetype id =
        text.indexOf(QStringLiteral("<unique-id>") + ThunarId + QStringLiteral("</unique-id>"));
    if (id < 0)
        return {-1, -1};
    const qsizetype start = text.lastIndexOf(QStringLiteral("<action>"), id);
    qsizetype end = text.indexOf(QStringLiteral("</action>"), id);
    if (start < 0 || end < 0)
        return {-1, -1};
    end += 9;
    if (end < text.size() && text.at(end) == u'\n')
        ++end;
    return {start, end};
}

// The system's uca.xml, the first one the configuration folders hold.
QByteArray SystemUca()
{
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts))
        if (QFileInfo::exists(dir + QStringLiteral("/Thunar/uca.xml")))
            return ReadAll(dir + QStringLiteral("/Thunar/uca.xml"));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";
}

bool InstallThunar(const QString& helper, QStringList* problems)
{
    // Thunar reads only the first uca.xml it finds: a user who has none starts from the system's.
    const QByteArray original = QFileInfo::exists(UcaPath()) ? ReadAll(UcaPath()) : SystemUca();
    if (!WellFormed(original)) {
        problems->append(UcaPath() + QStringLiteral(" is not well-formed XML and was left as it is"));
        return false;
    }
    QString text = QString::fromUtf8(original);
    const QString action = ThunarAction(helper);
    if (const auto [start, end] = ThunarActionSpan(text); start >= 0)
        text.remove(start, end - start);
    const qsizetype close = text.lastIndexOf(QStringLiteral("</actions>"));
    if (close < 0) {
        problems->append(UcaPath() + QStringLiteral(" holds no actions element and was left as it is"));
        return false;
    }
    text.insert(close, action);
    return WriteIfChanged(UcaPath(), text.toUtf8(), false, problems);
}

void RemoveThunar()
{
    const QByteArray original = ReadAll(UcaPath());
    QString text = QString::fromUtf8(original);
    const auto [start, end] = ThunarActionSpan(text);
    if (start < 0)
        return;
    text.remove(start, end - start);
    QStringList ignored;
    WriteIfChanged(UcaPath(), text.toUtf8(), false, &ignored);
}
} // namespace

QStringList ShellMenuEntries::Install(const QString& helper, QStringList* problems)
{
    QStringList written;
    for (const Entry& entry : Entries(helper))
        if (!QStandardPaths::findExecutable(entry.fileManager).isEmpty() &&
            WriteIfChanged(entry.file, entry.text.toUtf8(), entry.executable, problems))
            written << entry.file;
    if (!QStandardPaths::findExecutable(QStringLiteral("thunar")).isEmpty() &&
        InstallThunar(helper, problems))
        written << UcaPath();
    return written;
}

void ShellMenuEntries::Remove()
{
    // Only what runs the helper is ours: a user's own file of the same name stays.
    for (const Entry& entry : Entries(QString()))
        if (ReadAll(entry.file).contains("vanisto-shellmenu"))
            QFile::remove(entry.file);
    RemoveThunar();
}
