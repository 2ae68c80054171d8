#pragma once

#include <QString>
#include <QStringList>

// Quote-aware tokenizer for command lines (delimiter " ") and the stored 'Do Not Shred'
// list (delimiter ";"). Only the delimiter's first character counts; an empty delimiter
// means " ". Double quotes group text that holds delimiters and are removed from the
// tokens. Runs of delimiters give no empty tokens, nor does a trailing delimiter.
// At most SmartSplitMaxTokens tokens are returned; the overflow is logged. An empty text
// gives one empty token. Only the first SmartSplitMaxChars characters are read.
QStringList SmartSplit(const QString& text, const QString& delimiter = QStringLiteral(" "));

inline constexpr int SmartSplitMaxTokens = 100;
inline constexpr int SmartSplitMaxChars = 32767;

// Splits at every ";", keeping empty pieces (a trailing ";" gives a final empty piece).
// An empty text gives no pieces.
QStringList SplitString(const QString& text);
