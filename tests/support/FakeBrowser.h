#pragma once

#include "TestEnvironment.h"

// The user's browser for HTML: a program that records its arguments, chosen in the test's own
// XDG folders (the system's MIME types stay known); without `associated`, none is chosen.
class FakeBrowser
{
public:
    explicit FakeBrowser(bool associated = true)
    {
        const QString root = TestEnvironment::root();
        const QString system = root + QStringLiteral("/system");
        QDir().mkpath(system);
        QFile::link(QStringLiteral("/usr/share/mime"), system + QStringLiteral("/mime"));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(system));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system));
        for (const char* desktop : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "DISPLAY"})
            qunsetenv(desktop);

        // xdg-mime takes no space or quote in the program's path.
        const QString program = root + QStringLiteral("/fakebrowser");
        Write(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(m_record) + "'\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(TestEnvironment::dataHome() + QStringLiteral("/applications"));
        Write(TestEnvironment::dataHome() + QStringLiteral("/applications/fake-browser.desktop"),
              "[Desktop Entry]\nType=Application\nName=Fake\nExec=" + QFile::encodeName(program) +
                  " --new-window %U\n[Desktop Action private]\nExec=wrong\n");
        Write(m_choice, associated ? "[Default Applications]\ntext/html=fake-browser.desktop\n" : "");
        QFile::remove(m_record);
    }
    ~FakeBrowser() { QFile::remove(m_choice); }

    // The arguments of the last start, one a line.
    QString arguments() const
    {
        QFile file(m_record);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    const QString m_record = TestEnvironment::root() + QStringLiteral("/browser arguments");
    const QString m_choice = TestEnvironment::configHome() + QStringLiteral("/mimeapps.list");
};
