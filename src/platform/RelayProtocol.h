#pragma once

#include <QLoggingCategory>

// The bytes of the hand-over that both ends of the relay agree on (CommandRelay.h describes
// the frame).
namespace RelayProtocol {
inline constexpr char FrameMagic[4] = {'V', 'N', 'R', '2'};
// Every version of the hand-over starts with these three bytes.
inline constexpr char FamilyMagic[3] = {'V', 'N', 'R'};
inline constexpr qint64 HeaderBytes = 8;
inline constexpr char Acknowledgement = 'A';
inline constexpr char OtherVersion = 'V';
// How long the listener rests when the process has no descriptor left for a new connection.
inline constexpr int AcceptPauseMs = 100;
} // namespace RelayProtocol

Q_DECLARE_LOGGING_CATEGORY(lcRelay)
