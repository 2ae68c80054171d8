#include "RelaySender.h"

#include "FileDescriptor.h"
#include "RelayProtocol.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace {
using Clock = std::chrono::steady_clock;

void appendNumber(std::string& bytes, std::uint32_t number)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(char((number >> shift) & 0xff));
}

// Waits until `fd` is ready for `events` (or failed, or closed) before the deadline.
bool waitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, int(std::max<long long>(0, left.count())));
        if (ready >= 0 || errno != EINTR)
            return ready > 0;
    }
}

bool sendAll(int fd, const std::string& bytes, Clock::time_point deadline)
{
    for (size_t sent = 0; sent < bytes.size();) {
        // MSG_NOSIGNAL: a first instance that closes early must not kill this process.
        const ssize_t written = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (written > 0)
            sent += size_t(written);
        else if (written < 0 && (errno == EINTR || (errno == EAGAIN && waitFor(fd, POLLOUT, deadline))))
            continue;
        else
            return false;
    }
    return true;
}
} // namespace

std::string RelaySender::frame(const std::vector<std::string>& arguments)
{
    std::string payload;
    for (const std::string& argument : arguments) {
        appendNumber(payload, std::uint32_t(argument.size()));
        payload += argument;
    }
    std::string bytes(RelayProtocol::FrameMagic, sizeof RelayProtocol::FrameMagic);
    appendNumber(bytes, std::uint32_t(payload.size()));
    return bytes + payload;
}

int RelaySender::connectNow(const std::string& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    // Without blocking, a connect never waits for a full backlog.
    FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket.isValid() ||
        ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return -1;
    return socket.release();
}

RelaySender::Answer RelaySender::deliver(int connection, const std::string& frame, int timeoutMs)
{
    const FileDescriptor socket(connection);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // A frame sent only in part may still be refused: the answer is read either way.
    sendAll(socket.get(), frame, deadline);
    char answer = 0;
    for (;;) {
        const ssize_t read = ::recv(socket.get(), &answer, 1, 0);
        if (read == 1)
            break;
        if (read < 0 && (errno == EINTR || (errno == EAGAIN && waitFor(socket.get(), POLLIN, deadline))))
            continue;
        return Answer::NoAnswer;
    }
    if (answer == RelayProtocol::Acknowledgement)
        return Answer::Taken;
    return answer == RelayProtocol::OtherVersion ? Answer::OtherVersion : Answer::NoAnswer;
}
