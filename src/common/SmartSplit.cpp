#include "SmartSplit.h"

#include "LogError.h"

QStringList SmartSplit(const QString& text, const QString& delimiter)
{
    const QChar quote = QLatin1Char('"');
    const QChar separator = delimiter.isEmpty() ? QLatin1Char(' ') : delimiter.front();
    QStringList entries{QString()};
    bool insideQuotes = false;
    bool tableFull = false;

    for (const QChar c : QStringView(text).left(SmartSplitMaxChars)) {
        if (tableFull) {
            // Only a token that really follows the hundredth one is an overflow.
            if (c == separator || c.isSpace())
                continue;
            LogError(QStringLiteral("modGeneral"), QStringLiteral("SmartSplit"),
                     ErrorNumber::SubscriptOutOfRange,
                     QStringLiteral("Subscript out of range: more than 100 tokens"));
            break;
        }
        if (insideQuotes) {
            if (c == quote)
                insideQuotes = false;
            entries.back() += c;
            continue;
        }
        if (c == quote)
            insideQuotes = true;
        if (c != separator) {
            entries.back() += c;
        } else if (!entries.back().trimmed().isEmpty()) {
            if (entries.size() == SmartSplitMaxTokens)
                tableFull = true;
            else
                entries.append(QString());
        }
    }

    for (QString& entry : entries)
        entry.remove(quote);
    if (entries.size() > 1 && entries.back().isEmpty())
        entries.removeLast();
    return entries;
}

QStringList SplitString(const QString& text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char(';'));
}
