#include "ShredPasses.h"

QList<Pattern> ShredPasses::patterns(qint16 method)
{
    switch (method) {
    case ShredMethod::Enhanced:
        return {Pattern::Ones, Pattern::Zeros, Pattern::RandomLetters};
    case ShredMethod::Ultra:
        return {Pattern::Ones, Pattern::Zeros, Pattern::OneZero, Pattern::ZeroOne, Pattern::RandomLetters};
    default:
        return {Pattern::OneRandomLetter};
    }
}

qint32 ShredPasses::effectiveWipes(qint16 method, qint32 wipes)
{
    if ((method == ShredMethod::Enhanced || method == ShredMethod::Ultra) && wipes < EnhancedMinimumWipes)
        return EnhancedMinimumWipes;
    // A count below one would call a file destroyed without a byte written.
    return qMax(wipes, 1);
}

qint64 ShredPasses::roundHalfEven(qint64 numerator, qint64 denominator)
{
    const qint64 quotient = numerator / denominator;
    const qint64 twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

BlockLayout ShredPasses::blockLayout(qint64 length)
{
    if (length <= FullBlockSize)
        return {static_cast<qint32>(length), 0};
    return {FullBlockSize, roundHalfEven(length, FullBlockSize)};
}

qint64 ShredPasses::patternLength(Pattern pattern, qint32 blockSize)
{
    if (pattern == Pattern::OneZero || pattern == Pattern::ZeroOne)
        return roundHalfEven(blockSize, 8) * 8;
    return blockSize;
}

QByteArray ShredPasses::fixedPattern(Pattern pattern, qint32 blockSize)
{
    const qint64 length = patternLength(pattern, blockSize);
    switch (pattern) {
    case Pattern::Ones:
        return QByteArray(length, '1');
    case Pattern::Zeros:
        return QByteArray(length, '0');
    case Pattern::OneZero:
        return QByteArrayLiteral("10101010").repeated(length / 8);
    case Pattern::ZeroOne:
        return QByteArrayLiteral("01010101").repeated(length / 8);
    default:
        return {};
    }
}

qint64 ShredPasses::progressMax(const BlockLayout& layout, qint32 wipes, int patternsPerPass)
{
    return layout.blockCount() * qMax(wipes, 0) * patternsPerPass;
}

QString ShredPasses::nameShown(const QString& fileName)
{
    if (fileName.length() <= NameShownLength)
        return fileName;
    return fileName.left(NameShownLength) + QStringLiteral("...");
}

QString ShredPasses::shreddingPrompt(const QString& fileName)
{
    return QStringLiteral("Press Cancel to stop shredding\r\nSHREDDING: ") + nameShown(fileName);
}
