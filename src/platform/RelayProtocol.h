#pragma once

// The bytes of the hand-over that both ends of the relay agree on (CommandRelay.h describes
// the frame). Plain C++: vn10 sends a frame before any Qt library is loaded.
namespace RelayProtocol {
inline constexpr char FrameMagic[4] = {'V', 'N', 'R', '2'};
// Every version of the hand-over starts with these three bytes.
inline constexpr char FamilyMagic[3] = {'V', 'N', 'R'};
inline constexpr long long HeaderBytes = 8;
inline constexpr char Acknowledgement = 'A';
inline constexpr char OtherVersion = 'V';
// How long the listener rests when the process has no descriptor left for a new connection.
inline constexpr int AcceptPauseMs = 100;
// The sentence a launch without paths hands over instead of a command line. It is never
// shown; the first instance answers it (welcome question or options window).
inline constexpr char SentinelText[] =
    "Quiet rivers carry lanterns past the mill while the old clock keeps its slow counts";
// How long a later launch waits for the first instance to listen and answer: a first
// instance that started at the same moment may still be loading on a busy machine.
inline constexpr int HandOverTimeoutMs = 20000;
// Set in the environment of a vn10 that the file managers' helper starts: with no paths of
// its own it hands nothing over (a plain launch without paths would open the options window).
inline constexpr char StartedForMenuVariable[] = "VANISTO_STARTED_FOR_MENU";
} // namespace RelayProtocol
