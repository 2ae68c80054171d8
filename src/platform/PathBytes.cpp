#include "PathBytes.h"

namespace {
constexpr char16_t EscapeBase = 0xDC00;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence that starts at bytes[at], 0 when there is none.
// Overlong forms, surrogates and code points above U+10FFFF are not valid, so that an
// escaped byte can never be confused with a decoded one.
int sequenceLength(const QByteArray& bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes.at(i)); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(byte(at + i)))
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

// U+DC80..U+DCFF is an escaped byte unless it is the second half of a surrogate pair
// (U+10000 and up, which decode() writes as pairs).
bool isEscapeAt(const QString& path, qsizetype i)
{
    const char16_t c = path.at(i).unicode();
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF && !(i > 0 && path.at(i - 1).isHighSurrogate());
}
} // namespace

QString PathBytes::decode(const QByteArray& bytes)
{
    QString path;
    path.reserve(bytes.size());
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int length = sequenceLength(bytes, at);
        if (length == 0) {
            path.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes.at(at)))));
            ++at;
            continue;
        }
        path.append(QString::fromUtf8(bytes.constData() + at, length));
        at += length;
    }
    return path;
}

QByteArray PathBytes::encode(const QString& path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype from = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        // A lone high surrogate followed by an escape is not a pair; QString::toUtf8 would
        // turn the escape into "?", so text runs end at every escape.
        if (i < path.size() && !isEscapeAt(path, i))
            continue;
        bytes += QStringView(path).mid(from, i - from).toUtf8();
        if (i < path.size())
            bytes += char(path.at(i).unicode() - EscapeBase);
        from = i + 1;
    }
    return bytes;
}

QString PathBytes::readable(const QString& path)
{
    QString text = path;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isEscapeAt(path, i))
            text[i] = QChar::ReplacementCharacter;
    return text;
}
