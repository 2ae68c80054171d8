#pragma once

#include <QByteArray>
#include <QString>

// A Linux file name is a string of bytes; only "/" and NUL are special, and nothing makes it
// valid UTF-8. The program carries paths as QString, so these two functions convert without
// loss: valid UTF-8 is decoded as text, and every byte that is not part of valid UTF-8 becomes
// the lone surrogate U+DC00 + byte (as Python's "surrogateescape" does), which turns back into
// the same byte. QFile::encodeName and decodeName replace such bytes and must not be used for
// paths: "caf\xE9.txt" would come back as another name.
namespace PathBytes {
QString decode(const QByteArray& bytes);
QByteArray encode(const QString& path);
// The path as a person can read it: every byte that was not text shows as U+FFFD.
QString readable(const QString& path);
} // namespace PathBytes
