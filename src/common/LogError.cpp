#include "LogError.h"

#include "platform/AppFolder.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

QString ErrorLogLine(const QString& module, const QString& procedure, long number, const QString& description,
                     const QString& source)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(now.time(), QLocale::LongFormat) + QStringLiteral(" Err Source = ") + source +
           QLatin1Char(' ') + module + QLatin1Char(':') + procedure + QStringLiteral(" Err Number = ") +
           QString::number(number) + QStringLiteral(" Err Desc = ") + description + QLatin1Char('.');
}

void LogError(const QString& module, const QString& procedure, long number, const QString& description,
              const QString& source)
{
    QFile log(AppFolder::file(QStringLiteral("errlog.dat")));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString line = QLatin1Char('"') + ErrorLogLine(module, procedure, number, description, source) +
                         QStringLiteral("\"\r\n");
    log.write(line.toUtf8());
}
