#pragma once

#include <string>
#include <vector>

// A later launch's side of the relay, in plain C++: vn10 hands over with it before any Qt
// library is loaded, and CommandRelay::handOver uses it once Qt is there.
namespace RelaySender {
enum class Answer
{
    Taken,
    OtherVersion, // the first instance speaks another version of the hand-over
    NoAnswer      // closed, silent past the time, or an answer no version gives
};

// The frame of a hand-over (CommandRelay.h describes it); each argument as its bytes.
std::string frame(const std::vector<std::string>& arguments);

// A connection to the relay socket at `socketPath`, without waiting: the descriptor, or -1
// when nothing listens there now (errno says why; ENAMETOOLONG when the path cannot be a
// socket's).
int connectNow(const std::string& socketPath);

// Sends `frame` on a connection from connectNow and waits up to `timeoutMs` for the answer.
// Closes the connection.
Answer deliver(int connection, const std::string& frame, int timeoutMs);
} // namespace RelaySender
