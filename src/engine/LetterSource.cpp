#include "LetterSource.h"

#include <QRandomGenerator>

#include <cmath>

char SystemLetterSource::letter()
{
    // 65 + floor(r * 26) with r uniform in [0, 1).
    const double r = QRandomGenerator::system()->generateDouble();
    return static_cast<char>('A' + static_cast<int>(std::floor(r * 26)));
}
