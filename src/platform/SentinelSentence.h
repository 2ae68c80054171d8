#pragma once

#include <QString>

// The sentence a launch without paths hands over instead of a command line. It is never
// shown; the first instance answers it (welcome question or options window).
inline const QString SentinelSentence =
    QStringLiteral("Quiet rivers carry lanterns past the mill while the old clock keeps its slow counts");
