#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

// The shred methods as the "FastShred" setting stores them.
namespace ShredMethod {
inline constexpr qint16 Normal = 1;
inline constexpr qint16 Enhanced = 2;
inline constexpr qint16 Ultra = 3;
} // namespace ShredMethod

// One pattern of a pass. The patterns are text characters written one byte each, not bit
// patterns: "1" is 0x31, "10101010" is the eight bytes 31 30 31 30 ...
enum class Pattern
{
    OneRandomLetter, // one letter drawn for the pattern, repeated over the block
    Ones,            // "1"
    Zeros,           // "0"
    OneZero,         // "10101010"
    ZeroOne,         // "01010101"
    RandomLetters    // a block of letters, each drawn separately
};

// How a file of a given length is cut into blocks: blocks 0 to lastBlock inclusive, block k at
// offset k * BlockSize. Every block is written whole, so a file longer than one block grows to
// (lastBlock + 1) * 8192 bytes.
struct BlockLayout
{
    qint32 BlockSize = 0;
    qint64 lastBlock = 0;

    qint64 blockCount() const { return lastBlock + 1; }
};

namespace ShredPasses {
inline constexpr qint32 FullBlockSize = 8192;
inline constexpr qint32 EnhancedMinimumWipes = 8;
inline constexpr int NameShownLength = 30;

// The pattern order within each pass; a method the program does not know shreds like NORMAL.
QList<Pattern> patterns(qint16 method);

// ENHANCED and ULTRA need at least 8 wipes; NORMAL takes the count as it is, but at least 1.
qint32 effectiveWipes(qint16 method, qint32 wipes);

// numerator / denominator rounded to the nearest integer, halves to the even neighbour
// (the rounding the block arithmetic has always used). Both must be >= 0, denominator > 0.
qint64 roundHalfEven(qint64 numerator, qint64 denominator);

// A file of at most 8192 bytes is one block of exactly its length; a longer one has
// lastBlock = round(length / 8192).
BlockLayout blockLayout(qint64 length);

// The bytes one pattern writes per block. "10101010" and "01010101" are repeated
// round(BlockSize / 8) times, so a small file may get up to 4 bytes more or fewer.
qint64 patternLength(Pattern pattern, qint32 blockSize);

// The buffer of a pattern that needs no random letters.
QByteArray fixedPattern(Pattern pattern, qint32 blockSize);

// The progress bars' maximum: one step per block written.
qint64 progressMax(const BlockLayout& layout, qint32 wipes, int patternsPerPass);

// The name as the prompt shows it: at most 30 characters, then "...".
QString nameShown(const QString& fileName);

// "Press Cancel to stop shredding" CR LF "SHREDDING: " + the name shown.
QString shreddingPrompt(const QString& fileName);
} // namespace ShredPasses
