#pragma once

#include "RelayProtocol.h"

#include <QString>

// The sentinel sentence (RelayProtocol::SentinelText) as the windows compare it.
inline const QString SentinelSentence = QLatin1String(RelayProtocol::SentinelText);
